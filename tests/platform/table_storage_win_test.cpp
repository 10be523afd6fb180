#include "platform/table_storage_win.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/win_test_support.h"

namespace quenda {
namespace {

FileBytes Bytes(std::size_t n, std::uint8_t v) { return FileBytes(n, v); }

TEST(Win32TableStorage, ReplacesWholeAndLeavesNoTemporary) {
  testing::ScopedTempDir dir;
  Win32TableStorage storage;
  const auto file = dir.path() / L"Quenda.Tbl";
  FileBytes read;
  EXPECT_EQ(storage.ReadAll(file, 1 << 20, read), TableStorage::ReadStatus::Missing);

  ASSERT_FALSE(storage.WriteReplace(file, Bytes(5000, 7)));
  ASSERT_FALSE(storage.WriteReplace(file, Bytes(100, 9)));
  EXPECT_EQ(storage.ReadAll(file, 1 << 20, read), TableStorage::ReadStatus::Ok);
  EXPECT_EQ(read, Bytes(100, 9));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / L"Quenda.Tbl.tmp"));
  EXPECT_EQ(storage.ReadAll(file, 10, read), TableStorage::ReadStatus::Ok);
  EXPECT_EQ(read.size(), 10u);
}

TEST(Win32TableStorage, AFailedReplaceKeepsTheOldFileAndRemovesTheTemporary) {
  testing::ScopedTempDir dir;
  Win32TableStorage storage;
  // A folder where the file should be cannot be replaced by a rename.
  const auto blocked = dir.path() / L"Quenda.Tbl";
  std::filesystem::create_directory(blocked);
  MaybeError error = storage.WriteReplace(blocked, Bytes(10, 1));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->message, msg::kCannotCreate);
  EXPECT_EQ(error->path, blocked);
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / L"Quenda.Tbl.tmp"));

  // A folder that does not exist cannot hold the temporary.
  error = storage.WriteReplace(dir.path() / L"missing" / L"Quenda.Tbl", Bytes(10, 1));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->message, msg::kCannotCreate);
}

TEST(Win32TableStorage, KeepsCopiesWithoutOverwritingAndWorksPastMaxPath) {
  testing::ScopedTempDir dir;
  Win32TableStorage storage;
  std::filesystem::path deep = dir.path();
  for (int i = 0; i < 6; ++i) deep /= std::wstring(50, L'a' + i);
  ASSERT_GT(deep.native().size(), size_t(MAX_PATH));
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + dir.path().native()).c_str(), nullptr) ||
              GetLastError() == ERROR_ALREADY_EXISTS);
  std::filesystem::path step = dir.path();
  for (int i = 0; i < 6; ++i) {
    step /= std::wstring(50, L'a' + i);
    ASSERT_TRUE(CreateDirectoryW(ApiPath(step).c_str(), nullptr));
  }
  const auto file = deep / L"Quenda.Tbl";
  ASSERT_FALSE(storage.WriteReplace(file, Bytes(300, 3)));
  EXPECT_TRUE(storage.Exists(file));
  FileBytes read;
  ASSERT_EQ(storage.ReadAll(file, 1 << 20, read), TableStorage::ReadStatus::Ok);
  EXPECT_EQ(read, Bytes(300, 3));

  const auto aside = deep / L"Quenda.Tbl.damaged";
  ASSERT_FALSE(storage.KeepCopy(file, aside));
  ASSERT_FALSE(storage.WriteReplace(file, Bytes(20, 4)));
  MaybeError again = storage.KeepCopy(file, aside);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->message, msg::kCannotCreate);
  EXPECT_EQ(again->path, aside);
  again = storage.KeepCopy(deep, deep / L"x.damaged");  // a folder that cannot be read is named
  ASSERT_TRUE(again);
  EXPECT_EQ(again->message, msg::kCannotOpen);
  EXPECT_EQ(again->path, deep);
  ASSERT_EQ(storage.ReadAll(aside, 1 << 20, read), TableStorage::ReadStatus::Ok);
  EXPECT_EQ(read, Bytes(300, 3));
}

TEST(Win32TableStorage, WaitsAboutTwoSecondsForAFileAnotherHolderKeepsToItself) {
  testing::ScopedTempDir dir;
  Win32TableStorage storage;
  const auto file = dir.path() / L"Quenda.Tbl";
  ASSERT_FALSE(storage.WriteReplace(file, Bytes(300, 5)));
  struct Case {
    DWORD held_ms;
    TableStorage::ReadStatus status;
  };
  for (const Case& c : {Case{300, TableStorage::ReadStatus::Ok},
                        Case{3000, TableStorage::ReadStatus::Failed}}) {
    SCOPED_TRACE(c.held_ms);
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread holder([&] {
      Sleep(c.held_ms);
      CloseHandle(held);
    });
    const ULONGLONG start = GetTickCount64();
    FileBytes read;
    EXPECT_EQ(storage.ReadAll(file, 1 << 20, read), c.status);
    const ULONGLONG took = GetTickCount64() - start;
    holder.join();
    if (c.status == TableStorage::ReadStatus::Ok) {
      EXPECT_EQ(read, Bytes(300, 5));
      EXPECT_GE(took, 250u);
    } else {
      EXPECT_GE(took, 1500u);
      EXPECT_LT(took, 2900u);
    }
  }
}

}  // namespace
}  // namespace quenda
