#include "core/table_backups.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/std_table_storage.h"
#include "support/fixed_clock.h"

namespace quenda {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Saves on the given days of December, each by a Quenda started anew: which backups are kept,
// each the table file whole as it was before its day's first save, and the save done regardless.
TEST(TableBackupsTest, TheFirstSaveOfADayKeepsTheFileAsItWas) {
  struct FailingCopy : StdTableStorage {
    MaybeError KeepCopy(const PathText&, const PathText& to) override {
      return Error::WithPath(msg::kCannotCreate, to);
    }
  } failing;
  StdTableStorage portable;
  struct Row {
    const char* name;
    std::vector<int> days;
    std::vector<int> kept;  // newest first
    bool table_there = true;
    TableStorage* storage = nullptr;
  } rows[] = {
      {"first save of a day", {8}, {8}},
      {"second save the same day", {8, 8, 9}, {9, 8}},
      {"the 15th day prunes the oldest",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
       {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}},
      {"a failing copy still saves", {8}, {}, true, &failing},
      {"no table file yet", {8}, {}, false},
  };
  testing::FixedClock clock;
  SetClock(&clock);
  const fs::path dir = fs::temp_directory_path() /
                       ("quenda_backups_" +
                        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(dir);
    const fs::path folder = dir / "Tables", backups = dir / "backups" / BackupFolderName(folder);
    fs::create_directories(backups);
    fs::create_directories(folder);
    std::ofstream(backups / "Quenda.Tbl.2026120x") << "not a backup";
    TableStorage& storage = row.storage ? *row.storage : portable;
    SlotTable table;
    SetSlotWholeText(table, Memo, 0, 0, "block");  // Quenda's block behind the records
    if (row.table_there) {
      ASSERT_FALSE(TableFile(folder.native(), portable).Save(table));
    }
    std::map<int, std::string> before;  // by day, the file before that day's first save
    for (const int day : row.days) {
      clock.now.day = day;
      before.emplace(day, ReadFile(folder / "Quenda.Tbl"));
      TableFile file(folder.native(), storage);
      file.SetBackupFolder(backups.native());
      ASSERT_FALSE(file.Load(table) && row.table_there);
      SetSlotField(table, Title, 0, 0, std::to_string(day));
      ASSERT_FALSE(file.Save(table)) << day;
    }
    std::vector<int> kept;
    for (const TableBackup& b : ListBackups(portable, backups.native())) {
      kept.push_back(b.day);
      EXPECT_EQ(ReadFile(b.path), before[b.day]) << b.day;
    }
    EXPECT_EQ(kept, row.kept);
    EXPECT_TRUE(fs::exists(backups / "Quenda.Tbl.2026120x"));
    SlotTable saved;
    ASSERT_FALSE(TableFile(folder.native(), portable).Load(saved));
    EXPECT_EQ(GetSlotField(saved, Title, 0, 0), std::to_string(row.days.back()));
  }
  fs::remove_all(dir);
  SetClock(nullptr);
  // One table folder, however its path ends, and never another's.
  EXPECT_EQ(BackupFolderName(PathWithSuffix(dir.native(), "/")), BackupFolderName(dir.native()));
  EXPECT_NE(BackupFolderName((dir / "a" / "Tables").native()), BackupFolderName(dir / "Tables"));
  EXPECT_EQ(fs::path(BackupFolderName(dir / "Tables")).string().rfind("Tables-", 0), 0u);
}

}  // namespace
}  // namespace quenda
