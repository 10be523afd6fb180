#include "core/full_text.h"

#include <cstring>
#include <utility>

#include "core/table_file.h"

namespace quenda {

namespace {

constexpr std::string_view kFirstLine = "Quenda.Tbl whole texts 1";

int LowerHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> FromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = LowerHexValue(hex[i]), low = LowerHexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += char(high * 16 + low);
  }
  return out;
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
std::optional<LegacyWholeText> TakeLine(std::string_view line) {
  std::string_view parts[4];
  for (int k = 0; k < 3; ++k) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    parts[k] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  if (line.find('\t') != std::string_view::npos) return std::nullopt;
  parts[3] = line;
  const std::optional<int> record = Number(parts[0]);
  const int field = parts[1] == "Target" ? Target : parts[1] == "WorkFolder" ? WorkFolder : -1;
  if (!record || *record >= kSlotCount || field < 0) return std::nullopt;
  if (parts[2].empty() || parts[2].size() > 2 * sizeof(SlotFields::Target)) return std::nullopt;
  std::optional<std::string> cut = FromHex(parts[2]);
  std::optional<std::string> text = Unescaped(parts[3]);
  if (!cut || cut->find('\0') != std::string::npos || !text || text->empty() ||
      text->size() > kMaxWholeTextBytes || !IsUtf8(*text)) {
    return std::nullopt;
  }
  return LegacyWholeText{*record, field, std::move(*cut), std::move(*text)};
}

}  // namespace

PathText LegacyWholeTextPath(const PathText& table_path) {
  return PathWithSuffix(table_path, ".utf8");
}

std::vector<LegacyWholeText> ParseLegacyWholeTexts(std::span<const std::uint8_t> bytes) {
  std::vector<LegacyWholeText> entries;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t end = text.find('\n');
  if (end == std::string_view::npos || text.substr(0, end) != kFirstLine) return entries;
  // Only lines ended by a line feed: a file cut short loses its last entry, not its sense.
  for (std::size_t start = end + 1; (end = text.find('\n', start)) != std::string_view::npos;
       start = end + 1) {
    if (auto entry = TakeLine(text.substr(start, end - start))) entries.push_back(std::move(*entry));
  }
  return entries;
}

std::size_t ApplyLegacyWholeTexts(SlotTable& table, const std::vector<LegacyWholeText>& entries) {
  std::size_t applied = 0;
  for (const LegacyWholeText& e : entries) {
    SlotRecord& record = table.records[e.record];
    // Only where the field still holds the cut the text was written with.
    if (FieldText(FieldBytes(record.fields, e.field)) != e.cut) continue;
    record.whole[e.field] = e.utf8;
    ++applied;
  }
  return applied;
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
