#pragma once
// Daily copies of the table file, kept on this PC in a folder of their own per table location
// (so that a synced table folder is never filled with them), and restoring one as an undoable
// change.
#include <string>
#include <vector>

#include "core/now_text.h"
#include "core/slot_moves.h"
#include "core/table_file.h"

namespace quenda {

inline constexpr std::size_t kKeptBackups = 14;

// A day as one number, yyyymmdd, as a backup's name carries it.
int DateNumber(int year, int month, int day);

namespace step_name {
// バックアップから戻す
inline constexpr char kRestore[] =
    "\x83\x6f\x83\x62\x83\x4e\x83\x41\x83\x62\x83\x76\x82\xa9\x82\xe7\x96\xdf\x82\xb7";
}  // namespace step_name

// The folder, below the backups' root, for the table in `table_folder`: its last folder name and
// a hash of its whole path, so that two tables never share one and a name stays the same.
PathText BackupFolderName(const PathText& table_folder);

// A backup as the folder holds it: the day it was made and its file.
struct TableBackup {
  int year = 0, month = 0, day = 0;
  PathText path;
  bool operator==(const TableBackup&) const = default;
};

// The backups in `folder`, newest first; files not named as a backup are left out.
std::vector<TableBackup> ListBackups(TableStorage& storage, const PathText& folder);

// Before the first save of `today`: the table file at `table_path` copied whole into `folder`,
// named by the date, and all but the newest kKeptBackups deleted. Nothing is done when today's
// copy is there or there is no table file yet.
MaybeError KeepDailyBackup(TableStorage& storage, const PathText& table_path,
                           const PathText& folder, const LocalDateTime& today);

// Slots whose Title or Target holds something.
int FilledSlots(const SlotTable& table);

// The backup's date in the user's short format (CP932).
std::string BackupDate(const TableBackup& backup);
// The backup as the list shows it (CP932): its date in the user's format and its filled slots.
std::string BackupLine(const TableBackup& backup, int filled);

// Replaces every record of `table` by the backup's; the step takes it back.
TableStep RestoreTable(SlotTable& table, const SlotTable& backup);

}  // namespace quenda
