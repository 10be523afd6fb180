#include "core/table_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "core/access_stats.h"
#include "core/bmp.h"
#include "core/full_text.h"
#include "core/now_text.h"
#include "core/table_backups.h"

namespace quenda {

namespace {

// Far more than 350 records of any sane image and their whole texts; a larger file is read
// only this far.
constexpr std::size_t kReadLimit = 64u << 20;
// An earlier version's whole-text file: 700 texts of the longest path fit in this.
constexpr std::size_t kLegacyReadLimit = 80u << 20;

// Quenda's block behind the records: this mark, the records' checksum, the size of the
// entries, the entries, and their checksum.
constexpr char kBlockMark[16] = {'Q', 'u', 'e', 'n', 'd', 'a', ' ', 'b',
                                 'l', 'o', 'c', 'k', ' ', '1', '\r', '\x1a'};
constexpr std::size_t kBlockHead = sizeof kBlockMark + 8 + 4;
enum EntryKind : std::uint8_t { kWholeText = 1, kEditStamp = 2 };
constexpr std::size_t kMaxMachineBytes = 255;

void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

std::uint64_t Get(const std::uint8_t* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// A little-endian 64-bit word, read in one load.
std::uint64_t Word(const std::uint8_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  if constexpr (std::endian::native == std::endian::big) w = Get(p, 8);
  return w;
}

void PutEntry(std::vector<std::uint8_t>& out, int record, EntryKind kind, int field,
              std::string_view bytes) {
  Put(out, std::uint64_t(record), 2);
  out.push_back(kind);
  out.push_back(std::uint8_t(field));
  Put(out, bytes.size(), 4);
  out.insert(out.end(), bytes.begin(), bytes.end());
}

struct BlockEntry {
  int record;
  std::uint8_t kind, field;
  std::string_view bytes;
};

// The entries as written, or nothing when any is not.
std::optional<std::vector<BlockEntry>> ReadEntries(std::span<const std::uint8_t> entries) {
  std::vector<BlockEntry> out;
  std::size_t at = 0;
  while (at < entries.size()) {
    if (entries.size() - at < 8) return std::nullopt;
    const auto record = int(Get(&entries[at], 2));
    const std::uint8_t kind = entries[at + 2], field = entries[at + 3];
    const std::uint64_t n = Get(&entries[at + 4], 4);
    at += 8;
    if (record >= kSlotCount || field >= kFieldCount || n > entries.size() - at) return std::nullopt;
    const std::string_view bytes(reinterpret_cast<const char*>(&entries[at]), std::size_t(n));
    at += std::size_t(n);
    if (kind == kWholeText) {
      if (bytes.empty() || bytes.size() > kMaxWholeTextBytes || !IsUtf8(bytes)) return std::nullopt;
    } else if (kind == kEditStamp) {
      if (bytes.size() < 8 || bytes.size() > 8 + kMaxMachineBytes) return std::nullopt;
    } else {
      return std::nullopt;
    }
    out.push_back({record, kind, field, bytes});
  }
  return out;
}

// The tail behind the records: Quenda's block for these records, someone else's bytes, or a
// block written for other records (a program rewrote the records and kept the tail), which
// no longer says anything.
enum class Tail { None, Block, Stale, Foreign };
Tail ReadTail(std::span<const std::uint8_t> bytes, std::size_t used, SlotTable& table) {
  if (used == bytes.size()) return Tail::None;
  const std::span<const std::uint8_t> tail = bytes.subspan(used);
  if (tail.size() < kBlockHead + 8 || std::memcmp(tail.data(), kBlockMark, sizeof kBlockMark) != 0) {
    return Tail::Foreign;
  }
  const std::uint64_t records_sum = Get(&tail[sizeof kBlockMark], 8);
  const std::uint64_t size = Get(&tail[sizeof kBlockMark + 8], 4);
  if (size != tail.size() - kBlockHead - 8) return Tail::Foreign;
  const std::span<const std::uint8_t> entries = tail.subspan(kBlockHead, std::size_t(size));
  if (Get(&tail[kBlockHead + size], 8) != Checksum(entries)) return Tail::Foreign;
  if (records_sum != Checksum(bytes.first(used))) return Tail::Stale;
  // All entries are read before any is taken, so a bad one leaves the table as the records
  // alone made it.
  const std::optional<std::vector<BlockEntry>> read = ReadEntries(entries);
  if (!read) return Tail::Foreign;
  for (const BlockEntry& e : *read) {
    SlotRecord& r = table.records[e.record];
    if (e.kind == kWholeText) {
      r.whole[e.field] = std::string(e.bytes);
    } else {
      r.stamp = {std::string(e.bytes.substr(8)),
                 std::int64_t(Get(reinterpret_cast<const std::uint8_t*>(e.bytes.data()), 8))};
    }
  }
  return Tail::Block;
}

bool SameTable(const SlotTable& a, const SlotTable& b) {
  for (int i = 0; i < kSlotCount; ++i) {
    if (!SameRecord(a.records[i], b.records[i])) return false;
  }
  return true;
}

// A last access as numbers, to tell which is later; a text that is no date is earliest.
std::int64_t AccessTime(const SlotRecord& r) {
  const std::string text = FieldText(FieldBytes(r.fields, LastAccess));
  int parts[6] = {};
  int n = 0;
  for (std::size_t i = 0; i < text.size() && n < 6;) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      value = std::min(value * 10 + (text[i] - '0'), 99999);
    }
    parts[n++] = value;
  }
  if (n < 3) return 0;
  return StampTime(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}

std::int64_t CountOf(const SlotRecord& r) {
  return ParseCount(FieldText(FieldBytes(r.fields, AccessCount))).value_or(0);
}

bool SameTarget(const SlotRecord& a, const SlotRecord& b) {
  return FieldText(FieldBytes(a.fields, Target)) == FieldText(FieldBytes(b.fields, Target)) &&
         a.whole[Target] == b.whole[Target];
}

// The counts and last access of `into` (the entry kept) with the other side's: openings there
// of the same target since the base add up, and the later access wins.
void MergeStatistics(SlotRecord& into, const SlotRecord& other, const SlotRecord& base) {
  if (!SameTarget(into, other)) return;
  const std::int64_t more = CountOf(other) - CountOf(base);
  if (more > 0) {
    const std::int64_t sum = std::min<std::int64_t>(CountOf(into) + more, 2147483647);
    SetFieldText(FieldBytes(into.fields, AccessCount), std::to_string(sum));
  }
  if (AccessTime(other) > AccessTime(into)) {
    const std::span<const char> from = FieldBytes(other.fields, LastAccess);
    std::copy(from.begin(), from.end(), FieldBytes(into.fields, LastAccess).begin());
  }
}

std::string SafeFileNamePart(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_';
    out += plain ? c : '_';
  }
  return out.empty() ? "PC" : out;
}

std::string TwoDigits(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

}  // namespace

std::uint64_t Checksum(std::span<const std::uint8_t> bytes) {
  // Four lanes of 64-bit words, so the multiplications do not wait on each other: a byte at a
  // time cost more than reading the file.
  constexpr std::uint64_t kPrime = 0x100000001b3ull;
  std::uint64_t lane[4] = {0xcbf29ce484222325ull, 0x84222325cbf29ce4ull, 0x9e3779b97f4a7c15ull,
                           0xc2b2ae3d27d4eb4full};
  std::size_t at = 0;
  for (; at + 32 <= bytes.size(); at += 32) {
    for (int k = 0; k < 4; ++k) lane[k] = (lane[k] ^ Word(&bytes[at + 8 * k])) * kPrime;
  }
  std::uint64_t h = lane[0] ^ (lane[1] << 1 | lane[1] >> 63) ^ (lane[2] << 2 | lane[2] >> 62) ^
                    (lane[3] << 3 | lane[3] >> 61) ^ bytes.size();
  for (; at < bytes.size(); ++at) h = (h ^ bytes[at]) * kPrime;
  return h;
}

bool ReadGrowing(std::optional<std::uint64_t> size_hint, std::size_t limit, FileBytes& bytes,
                 const std::function<std::optional<std::size_t>(std::uint8_t*, std::size_t)>& read) {
  std::size_t got = 0;
  bytes.resize(std::size_t(std::min<std::uint64_t>(size_hint ? *size_hint + 1 : 1 << 16, limit)));
  while (got < limit) {
    if (got == bytes.size()) bytes.resize(std::min(limit, std::max<std::size_t>(2 * got, 1 << 16)));
    const std::optional<std::size_t> n = read(bytes.data() + got, bytes.size() - got);
    if (!n) return false;
    if (*n == 0) break;
    got += *n;
  }
  bytes.resize(got);
  return true;
}

PathText PathWithSuffix(const PathText& path, std::string_view ascii) {
  PathText name = path;
  name.append(ascii.begin(), ascii.end());
  return name;
}

ParsedTable ParseTable(std::span<const std::uint8_t> bytes, SlotTable& table) {
  ParsedTable parsed;
  std::size_t pos = 0;
  // Records at the layout's fixed size can be found past a damaged one.
  const bool fixed_size = bytes.size() >= kTableFileBytes;
  for (int i = 0; i < kSlotCount; ++i) {
    SlotRecord& record = table.records[i];
    // A field cut short by the end keeps what was read; the rest keeps its contents.
    const std::size_t n = std::min(kFieldBytes, bytes.size() - pos);
    if (n != 0) std::memcpy(&record.fields, bytes.data() + pos, n);  // an empty file has no data()
    const std::size_t start = pos;
    pos += n;
    MaybeError error = ReadIconBmp(bytes, pos, record.icon);
    if (!error) continue;
    if (!fixed_size || start != std::size_t(i) * kRecordBytes) {
      parsed.error = std::move(error);
      parsed.used = pos;
      return parsed;
    }
    record.icon = BlankIcon();
    parsed.damaged.push_back(i);
    pos = start + kRecordBytes;
  }
  parsed.used = pos;
  const Tail tail = ReadTail(bytes, pos, table);
  parsed.has_block = tail == Tail::Block;
  parsed.foreign_tail = tail == Tail::Foreign;
  return parsed;
}

std::vector<std::uint8_t> SerializeRecords(const SlotTable& table) {
  std::vector<std::uint8_t> out;
  out.reserve(kTableFileBytes);
  for (const SlotRecord& record : table.records) {
    const auto* fields = reinterpret_cast<const std::uint8_t*>(&record.fields);
    out.insert(out.end(), fields, fields + kFieldBytes);
    AppendIconBmp(record.icon, out);
  }
  return out;
}

std::vector<std::uint8_t> SerializeTable(const SlotTable& table) {
  std::vector<std::uint8_t> out = SerializeRecords(table);
  std::vector<std::uint8_t> entries;
  for (int i = 0; i < kSlotCount; ++i) {
    const SlotRecord& r = table.records[i];
    for (int field = 0; field < kFieldCount; ++field) {
      if (!r.whole[field].empty()) PutEntry(entries, i, kWholeText, field, r.whole[field]);
    }
    if (r.stamp.time != 0 || !r.stamp.machine.empty()) {
      std::vector<std::uint8_t> stamp;
      Put(stamp, std::uint64_t(r.stamp.time), 8);
      stamp.insert(stamp.end(), r.stamp.machine.begin(),
                   r.stamp.machine.begin() +
                       std::ptrdiff_t(std::min(r.stamp.machine.size(), kMaxMachineBytes)));
      PutEntry(entries, i, kEditStamp, 0,
               std::string_view(reinterpret_cast<const char*>(stamp.data()), stamp.size()));
    }
  }
  // A table with nothing of Quenda's own is the records alone, as any reader writes them.
  if (entries.empty()) return out;
  const std::uint64_t records_sum = Checksum(out);
  out.insert(out.end(), std::begin(kBlockMark), std::end(kBlockMark));
  Put(out, records_sum, 8);
  Put(out, entries.size(), 4);
  out.insert(out.end(), entries.begin(), entries.end());
  Put(out, Checksum(entries), 8);
  return out;
}

MergeResult MergeTables(const SlotTable& base, SlotTable& mine, const SlotTable& theirs) {
  MergeResult result;
  for (int i = 0; i < kSlotCount; ++i) {
    const SlotRecord& b = base.records[i];
    const SlotRecord& t = theirs.records[i];
    SlotRecord& m = mine.records[i];
    const bool mine_edited = !SameEntry(m, b), theirs_edited = !SameEntry(t, b);
    // Their entry in an edit older than the one both started from: a copy written back by a
    // PC that never saw this one's edit.
    const bool theirs_older = t.stamp.time < b.stamp.time;
    if (theirs_edited && !mine_edited && !theirs_older) {
      SlotRecord kept = t;
      MergeStatistics(kept, m, b);
      m = std::move(kept);
      continue;
    }
    if (theirs_edited && !SameEntry(m, t)) {
      result.conflicts.push_back(i);
      if (result.their_machine.empty()) result.their_machine = t.stamp.machine;
    }
    MergeStatistics(m, t, b);
  }
  return result;
}

TableFile::TableFile(PathText folder, TableStorage& storage, std::string machine)
    : folder_(std::move(folder)), storage_(&storage), machine_(std::move(machine)) {
  const std::vector<std::uint8_t> empty = SerializeTable(SlotTable{});
  base_.assign(empty.begin(), empty.end());
}

PathText TableFile::Path() const {
  PathText name = folder_;
  name += kPathSeparator;
  return PathWithSuffix(name, "Quenda.Tbl");
}

SlotTable TableFile::Base() const {
  SlotTable base;
  (void)ParseTable(base_, base);
  return base;
}

bool TableFile::Unwritten(const SlotTable& table) const { return !SameTable(table, Base()); }

MaybeError TableFile::Load(SlotTable& table) {
  const PathText path = Path();
  table.machine = machine_;
  FileBytes bytes;
  const TableStorage::ReadStatus status = storage_->ReadAll(path, kReadLimit, bytes);
  changes_at_load_ = table.changes;
  // A file that is there but cannot be read is kept aside before a save replaces it.
  unread_ = damaged_ = status == TableStorage::ReadStatus::Failed;
  version_ = storage_->Version(path);
  if (status != TableStorage::ReadStatus::Ok) {
    Remember(SerializeTable(table));
    return Error::WithPath(msg::kCannotOpen, path);
  }
  ParsedTable parsed = ParseTable(bytes, table);
  // The whole texts an earlier version kept beside the table apply where their cut still
  // stands; the file goes once a table carrying them is written.
  const PathText legacy = LegacyWholeTextPath(path);
  legacy_texts_ = storage_->Exists(legacy);
  bool carried = false;
  if (legacy_texts_ && !parsed.has_block) {
    FileBytes texts;
    if (storage_->ReadAll(legacy, kLegacyReadLimit, texts) == TableStorage::ReadStatus::Ok) {
      carried = ApplyLegacyWholeTexts(table, ParseLegacyWholeTexts(texts)) != 0;
    }
  }
  // Bytes that are not Quenda's behind the last record would be lost to the next save.
  damaged_ = parsed.error.has_value() || !parsed.damaged.empty() || parsed.foreign_tail;
  // What both sides start from: the file's bytes, unless the table holds more than they say.
  if (carried || parsed.error) {
    Remember(SerializeTable(table));
  } else {
    base_ = std::move(bytes);
  }
  if (parsed.error) return parsed.error;
  if (!parsed.damaged.empty()) {
    std::string names;
    for (const int record : parsed.damaged) {
      if (!names.empty()) names += ", ";
      names += SlotName(record);
    }
    return Error::WithText(msg::kDamagedSlots, names);
  }
  return std::nullopt;
}

TableFile::SyncResult TableFile::Sync(SlotTable& table) {
  SyncResult result;
  const PathText path = Path();
  const std::optional<FileVersion> version = storage_->Version(path);
  if (version == version_) return result;
  if (!version) {
    version_.reset();  // gone: the next save writes it anew
    return result;
  }
  FileBytes bytes;
  // Held for a moment or half written by someone: looked at again next time.
  if (storage_->ReadAll(path, kReadLimit, bytes) != TableStorage::ReadStatus::Ok) return result;
  version_ = version;
  // Written again as it was (a sync tool's copy, say): nothing to take in.
  if (!unread_ && std::equal(bytes.begin(), bytes.end(), base_.begin(), base_.end())) return result;
  SlotTable theirs;
  ParsedTable parsed = ParseTable(bytes, theirs);
  if (parsed.error) {
    // Not a table that can be merged: it goes aside before the next save.
    damaged_ = true;
    result.error = std::move(parsed.error);
    return result;
  }
  damaged_ = !parsed.damaged.empty() || parsed.foreign_tail;
  unread_ = false;
  theirs.machine = table.machine;
  theirs.changes = table.changes;
  const SlotTable base = Base();
  if (SameTable(table, base)) {
    table.records = theirs.records;
  } else {
    const MergeResult merged = MergeTables(base, table, theirs);
    if (!merged.conflicts.empty()) {
      const LocalDateTime now = CurrentClock().Now();
      const std::string name =
          ".conflict-" + SafeFileNamePart(merged.their_machine.empty() ? machine_ : merged.their_machine) +
          "-" + std::to_string(now.year) + TwoDigits(now.month) + TwoDigits(now.day) + "-" +
          TwoDigits(now.hour) + TwoDigits(now.minute) + TwoDigits(now.second);
      PathText copy = PathWithSuffix(path, name);
      for (int n = 2; storage_->Exists(copy); ++n) copy = PathWithSuffix(path, name + "-" + std::to_string(n));
      if (MaybeError error = storage_->WriteReplace(copy, bytes)) {
        result.error = std::move(error);
      } else {
        result.conflict_copy = copy;
      }
    }
  }
  base_ = std::move(bytes);
  result.changed = true;
  return result;
}

MaybeError TableFile::ReadBackup(const PathText& path, SlotTable& table) {
  FileBytes bytes;
  if (storage_->ReadAll(path, kReadLimit, bytes) != TableStorage::ReadStatus::Ok) {
    return Error::WithPath(msg::kCannotOpen, path);
  }
  return ParseTable(bytes, table).error;
}

void TableFile::Remember(std::span<const std::uint8_t> bytes) {
  base_.assign(bytes.begin(), bytes.end());
}

MaybeError TableFile::Save(SlotTable& table, SyncResult* sync) {
  const PathText path = Path();
  SyncResult synced = Sync(table);
  if (sync) *sync = synced;
  if (unread_ && table.changes == changes_at_load_ && storage_->Exists(path)) return std::nullopt;
  PathText aside;
  if (damaged_ && storage_->Exists(path)) {
    aside = PathWithSuffix(path, ".damaged");
    for (int n = 2; storage_->Exists(aside); ++n) {
      aside = PathWithSuffix(path, ".damaged" + std::to_string(n));
    }
    if (MaybeError error = storage_->KeepCopy(path, aside)) return error;
  }
  if (!backup_folder_.empty()) {
    const LocalDateTime now = CurrentClock().Now();
    const int today = DateNumber(now.year, now.month, now.day);
    if (today != backup_tried_on_) {
      backup_tried_on_ = today;
      (void)KeepDailyBackup(*storage_, path, backup_folder_, now);
    }
  }
  const std::vector<std::uint8_t> bytes = SerializeTable(table);
  if (MaybeError error = storage_->WriteReplace(path, bytes)) {
    // A failed save leaves the folder as it found it; the next one copies again.
    if (!aside.empty()) storage_->Remove(aside);
    return error;
  }
  damaged_ = unread_ = false;
  version_ = storage_->Version(path);
  Remember(bytes);
  if (legacy_texts_) {
    storage_->Remove(LegacyWholeTextPath(path));
    legacy_texts_ = false;
  }
  return std::nullopt;
}

}  // namespace quenda
