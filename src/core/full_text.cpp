#include "core/full_text.h"

#include <cstring>
#include <map>
#include <utility>

#include "core/table_file.h"

namespace quenda {

namespace {

constexpr std::string_view kFirstLine = "Quenda.Tbl whole texts 1";
// The longest Windows path, 32,767 UTF-16 units, at three UTF-8 bytes each at most.
constexpr std::size_t kMaxTextBytes = 3 * 32767;

struct Entry {
  std::string cut;   // the field's CP932 value the text was cut to
  std::string utf8;  // the whole text
};

// Keyed by record index and field number.
std::map<std::pair<int, int>, Entry>& Entries() {
  static std::map<std::pair<int, int>, Entry> entries;
  return entries;
}

int RecordIndex(PageIndex page, SlotIndex slot) { return page * kSlotsPerPage + slot; }

bool InTable(PageIndex page, SlotIndex slot) {
  return page >= 0 && page < kPageCount && slot >= 0 && slot < kSlotsPerPage;
}

std::string_view FieldName(int field) { return field == Target ? "Target" : "WorkFolder"; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendHex(std::string_view bytes, std::string& out) {
  constexpr char kHex[] = "0123456789abcdef";
  std::size_t at = out.size();
  out.resize(at + 2 * bytes.size());
  for (const char c : bytes) {
    out[at++] = kHex[static_cast<unsigned char>(c) >> 4];
    out[at++] = kHex[static_cast<unsigned char>(c) & 0xF];
  }
}

std::optional<std::string> FromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += char(high * 16 + low);
  }
  return out;
}

// Backslash, tab and line ends escaped, so an entry is one line of tab-separated parts.
void AppendEscaped(std::string_view text, std::string& out) {
  for (;;) {
    std::size_t special = 0;
    while (special < text.size() && text[special] != '\\' && text[special] != '\t' &&
           text[special] != '\n' && text[special] != '\r') {
      ++special;
    }
    out += text.substr(0, special);
    if (special == text.size()) return;
    switch (text[special]) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      default: out += "\\r"; break;
    }
    text.remove_prefix(special + 1);
  }
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::optional<int> Number(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

// "record<TAB>field<TAB>cut as hex<TAB>escaped text"; nothing when any part is not as written.
bool TakeLine(std::string_view line) {
  std::string_view parts[4];
  for (int k = 0; k < 3; ++k) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return false;
    parts[k] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  if (line.find('\t') != std::string_view::npos) return false;
  parts[3] = line;
  const std::optional<int> record = Number(parts[0]);
  const int field = parts[1] == "Target" ? Target : parts[1] == "WorkFolder" ? WorkFolder : -1;
  if (!record || *record >= kSlotCount || field < 0) return false;
  if (parts[2].empty() || parts[2].size() > 2 * sizeof(SlotFields::Target)) return false;
  std::optional<std::string> cut = FromHex(parts[2]);
  std::optional<std::string> text = Unescaped(parts[3]);
  if (!cut || cut->find('\0') != std::string::npos || !text || text->empty() ||
      text->size() > kMaxTextBytes || !IsUtf8(*text)) {
    return false;
  }
  Entries()[{*record, field}] = Entry{std::move(*cut), std::move(*text)};
  return true;
}

}  // namespace

bool HasFullText(int field) { return field == Target || field == WorkFolder; }

void SetFullText(PageIndex page, SlotIndex slot, int field, std::string_view cut,
                 std::string_view utf8) {
  if (!HasFullText(field) || !InTable(page, slot) || cut.empty()) return;
  Entries()[{RecordIndex(page, slot), field}] = Entry{std::string(cut), std::string(utf8)};
}

std::optional<std::string> FullText(PageIndex page, SlotIndex slot, int field) {
  if (!HasFullText(field) || !InTable(page, slot)) return std::nullopt;
  const auto it = Entries().find({RecordIndex(page, slot), field});
  if (it == Entries().end() || GetSlotField(field, page, slot) != it->second.cut) {
    return std::nullopt;
  }
  return it->second.utf8;
}

void ForgetFullText(PageIndex page, SlotIndex slot, int field) {
  if (InTable(page, slot)) Entries().erase({RecordIndex(page, slot), field});
}

void ForgetFullTexts() { Entries().clear(); }

std::vector<FullTextEntry> FullTextEntries() {
  std::vector<FullTextEntry> out;
  for (const auto& [key, entry] : Entries()) out.push_back({key.first, key.second, entry.cut, entry.utf8});
  return out;
}

PathText FullTextFilePath() {
  return PathWithSuffix(TableFilePath(), ".utf8");
}

std::vector<std::uint8_t> SerializeFullTexts(const SlotTable& table) {
  std::size_t size = kFirstLine.size() + 1;
  for (const auto& [key, entry] : Entries()) size += 20 + 2 * entry.cut.size() + entry.utf8.size();
  std::string out;
  out.reserve(size + size / 8);
  out += kFirstLine;
  out += '\n';
  for (const auto& [key, entry] : Entries()) {
    const auto [record, field] = key;
    // Only entries that still apply: a stale one is never written back.
    if (FieldText(FieldBytes(table.records[record].fields, field)) != entry.cut) continue;
    out += std::to_string(record);
    out += '\t';
    out += FieldName(field);
    out += '\t';
    AppendHex(entry.cut, out);
    out += '\t';
    AppendEscaped(entry.utf8, out);
    out += '\n';
  }
  std::vector<std::uint8_t> bytes(out.size());
  if (!out.empty()) std::memcpy(bytes.data(), out.data(), out.size());
  return bytes;
}

std::size_t ParseFullTexts(std::span<const std::uint8_t> bytes) {
  ForgetFullTexts();
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t end = text.find('\n');
  if (end == std::string_view::npos || text.substr(0, end) != kFirstLine) return 0;
  std::size_t taken = 0;
  // Only lines ended by a line feed: a file cut short loses its last entry, not its sense.
  for (std::size_t start = end + 1; (end = text.find('\n', start)) != std::string_view::npos;
       start = end + 1) {
    if (TakeLine(text.substr(start, end - start))) ++taken;
  }
  return taken;
}

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    int more;
    char32_t value;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      more = 1, value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2, value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3, value = c & 0x07;
    } else {
      return false;
    }
    if (text.size() - i <= std::size_t(more)) return false;
    for (int k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      value = value << 6 | (next & 0x3F);
    }
    const char32_t least = more == 1 ? 0x80 : more == 2 ? 0x800 : 0x10000;
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += std::size_t(more) + 1;
  }
  return true;
}

}  // namespace quenda
