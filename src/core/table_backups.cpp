#include "core/table_backups.h"

#include <algorithm>

namespace quenda {

namespace {

constexpr std::string_view kBackupPrefix = "Quenda.Tbl.";
// A long folder name is cut: the hash keeps it apart from others.
constexpr std::size_t kNamePartMost = 32;

using PathChar = PathText::value_type;

PathText BackupName(int date) {
  return PathWithSuffix(PathWithSuffix({}, kBackupPrefix), std::to_string(date));
}

// The date of a backup's file name ("Quenda.Tbl.20261208"), or nothing.
std::optional<int> DateOfName(const PathText& name) {
  if (name.size() != kBackupPrefix.size() + 8) return std::nullopt;
  int date = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = name[i];
    if (i < kBackupPrefix.size()) {
      if (c != PathChar(kBackupPrefix[i])) return std::nullopt;
    } else if (c >= '0' && c <= '9') {
      date = date * 10 + int(c - '0');
    } else {
      return std::nullopt;
    }
  }
  return date;
}

PathText Join(const PathText& folder, const PathText& name) {
  PathText path = folder;
  if (!path.empty() && path.back() != kPathSeparator) path += kPathSeparator;
  return path + name;
}

}  // namespace

int DateNumber(int year, int month, int day) { return (year * 100 + month) * 100 + day; }

PathText BackupFolderName(const PathText& table_folder) {
  PathText folder = table_folder;
  while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  // Windows spells one folder in any case: the hash does not tell them apart.
  PathText lower = folder;
  for (auto& c : lower) {
    if (c >= 'A' && c <= 'Z') c = PathChar(c - 'A' + 'a');
  }
  const std::uint64_t hash = Checksum(std::span(reinterpret_cast<const std::uint8_t*>(lower.data()),
                                                lower.size() * sizeof lower[0]));
  const PathChar separators[] = {'\\', '/', ':', 0};
  const std::size_t at = folder.find_last_of(separators);
  PathText name = at == PathText::npos ? folder : folder.substr(at + 1);
  if (name.size() > kNamePartMost) name.resize(kNamePartMost);
  if (name.empty()) name = PathWithSuffix({}, "Quenda");
  static const char kHex[] = "0123456789abcdef";
  std::string suffix = "-";
  for (int shift = 28; shift >= 0; shift -= 4) suffix += kHex[(hash >> shift) & 15];
  return PathWithSuffix(name, suffix);
}

std::vector<TableBackup> ListBackups(TableStorage& storage, const PathText& folder) {
  std::vector<TableBackup> backups;
  if (folder.empty()) return backups;  // no backup folder: none kept
  for (const PathText& name : storage.FileNames(folder)) {
    if (const std::optional<int> date = DateOfName(name)) {
      backups.push_back({*date / 10000, *date / 100 % 100, *date % 100, Join(folder, name)});
    }
  }
  std::sort(backups.begin(), backups.end(), [](const TableBackup& a, const TableBackup& b) {
    return DateNumber(a.year, a.month, a.day) > DateNumber(b.year, b.month, b.day);
  });
  return backups;
}

MaybeError KeepDailyBackup(TableStorage& storage, const PathText& table_path,
                           const PathText& folder, const LocalDateTime& today) {
  const PathText copy = Join(folder, BackupName(DateNumber(today.year, today.month, today.day)));
  if (storage.Exists(copy) || !storage.Exists(table_path)) return std::nullopt;
  if (!storage.MakeFolders(folder)) return Error::WithPath(msg::kCannotCreate, copy);
  if (MaybeError error = storage.KeepCopy(table_path, copy)) return error;
  const std::vector<TableBackup> backups = ListBackups(storage, folder);
  for (std::size_t i = kKeptBackups; i < backups.size(); ++i) storage.Remove(backups[i].path);
  return std::nullopt;
}

int FilledSlots(const SlotTable& table) {
  int filled = 0;
  for (PageIndex page = 0; page < kPageCount; ++page) {
    for (SlotIndex slot = 0; slot < kSlotsPerPage; ++slot) filled += !SlotIsEmpty(table, page, slot);
  }
  return filled;
}

std::string BackupDate(const TableBackup& backup) {
  LocalDateTime day;
  day.year = backup.year;
  day.month = backup.month;
  day.day = backup.day;
  return CurrentClock().ShortDate(day);
}

std::string BackupLine(const TableBackup& backup, int filled) {
  // "  使用中 n 件"
  return BackupDate(backup) + "  \x8e\x67\x97\x70\x92\x86 " + std::to_string(filled) +
         " \x8c\x8f";
}

TableStep RestoreTable(SlotTable& table, const SlotTable& backup) {
  std::vector<int> records(kSlotCount);
  for (int i = 0; i < kSlotCount; ++i) records[i] = i;
  TableStep step = BeginStep(table, step_name::kRestore, std::move(records));
  for (int i = 0; i < kSlotCount; ++i) {
    const bool changed = !SameEntry(table.records[i], backup.records[i]);
    table.records[i] = backup.records[i];
    // An entry brought back is this PC's change now: a merge must not take it for an old copy.
    if (changed) StampEdit(table, table.records[i]);
  }
  ++table.changes;
  FinishStep(table, step);
  return step;
}

}  // namespace quenda
