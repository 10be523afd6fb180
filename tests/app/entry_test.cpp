#include "windows/main_window.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/entry.h"
#include "app/forms.h"
#include "core/table_file.h"
#include "platform/table_storage_win.h"
#include "resources/main_window_layout.h"
#include "resources/resource_ids.h"
#include "support/win_test_support.h"
#include "windows/modal_probe.h"

namespace quenda {
namespace {

using testing::PumpMessages;
using testing::ScopedPrompts;
using testing::ScopedTempDir;

std::wstring CurrentDir() {
  wchar_t buffer[MAX_PATH * 4];
  return std::wstring(buffer, GetCurrentDirectoryW(MAX_PATH * 4, buffer));
}

// The system's storage, counting writes and failing them on request.
class CountingStorage : public Win32TableStorage {
 public:
  MaybeError WriteReplace(const PathText& path,
                          std::span<const std::uint8_t> bytes) override {
    ++writes;
    if (fail) return Error::WithPath(msg::kCannotCreate, path);
    return Win32TableStorage::WriteReplace(path, bytes);
  }
  int writes = 0;
  bool fail = false;
};

class StartAndCloseTest : public ::testing::Test {
 protected:
  ~StartAndCloseTest() override {
    PumpMessages();  // drop the WM_QUIT a destroyed main window posts
  }
  bool Start(Forms& forms) { return forms.Create(CurrentDir(), storage, "TEST"); }
  std::uintmax_t TableSize() { return std::filesystem::file_size(dir.path() / L"Quenda.Tbl"); }

  ScopedTempDir dir;
  ScopedPrompts prompts;
  CountingStorage storage;
};

TEST_F(StartAndCloseTest, FirstStartReportsTheMissingFileThenCloseWritesAFullTable) {
  Forms forms;
  ASSERT_TRUE(Start(forms));
  ASSERT_EQ(prompts.prompts.shown.size(), 1u);
  const auto& box = prompts.prompts.shown[0];
  EXPECT_EQ(box.text, L"ファイル " + CurrentDir() + L"\\Quenda.Tbl は開けません.");
  EXPECT_EQ(box.caption, ApplicationTitle());  // "Quenda" for Quenda.exe
  EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONERROR));
  EXPECT_FALSE(forms.main.LoadedCleanly());
  EXPECT_EQ(std::filesystem::path(forms.file->Folder()), std::filesystem::path(CurrentDir()));

  SendMessageW(forms.main.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(forms.main.hwnd(), nullptr);
  EXPECT_EQ(TableSize(), kTableFileBytes);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / L"Quenda.Tbl.tmp"));
}

TEST_F(StartAndCloseTest, AStoredTableLoadsWithoutAnyMessage) {
  SlotTable stored;
  SetSlotField(stored, Title, 9, 4, "\x83\x65\x83\x58\x83\x67");  // テスト
  testing::WriteTable(dir.path(), stored, storage);

  Forms forms;
  ASSERT_TRUE(Start(forms));
  EXPECT_TRUE(prompts.prompts.shown.empty());
  EXPECT_TRUE(forms.main.LoadedCleanly());
  EXPECT_EQ(GetSlotField(forms.table, Title, 9, 4), "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(forms.main.Selection().page, 0);
  EXPECT_EQ(forms.main.Selection().slot, 0);
}

TEST_F(StartAndCloseTest, WindowsAreCreatedOnceWithTheMainWindowsFrameAndMenu) {
  Forms forms;
  ASSERT_TRUE(Start(forms));
  const HWND main = forms.main.hwnd();
  wchar_t name[64];
  GetClassNameW(main, name, 64);
  EXPECT_STREQ(name, L"TMainForm");
  EXPECT_EQ(win::GetText(main), L"Quenda");
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, kMainWindowSize.width);
  EXPECT_EQ(client.bottom, kMainWindowSize.height);
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  HMENU menu = GetMenu(main);
  ASSERT_NE(menu, nullptr);
  auto item = [](HMENU m, UINT pos) {
    wchar_t text[64] = {};
    GetMenuStringW(m, pos, text, 64, MF_BYPOSITION);
    return std::wstring(text);
  };
  EXPECT_EQ(item(menu, 0), L"ファイル");
  EXPECT_EQ(item(menu, 1), L"ヘルプ");
  EXPECT_EQ(item(GetSubMenu(menu, 0), 0), L"バックアップから戻す…");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 0), UINT(IDM_RESTORE_BACKUP));
  EXPECT_EQ(item(GetSubMenu(menu, 0), 2), L"終了");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 2), UINT(IDM_EXIT));
  EXPECT_EQ(item(GetSubMenu(menu, 1), 0), L"操作方法");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 1), 0), UINT(IDM_HELP));

  // The dialogs are made when first needed: the help dialog as the menu opens it, then the rest.
  for (const win::Window* w :
       std::initializer_list<const win::Window*>{&forms.program_editor, &forms.icon_picker,
                                                 &forms.folder, &forms.url_editor, &forms.help,
                                                 &forms.backups}) {
    EXPECT_EQ(w->hwnd(), nullptr);
  }
  testing::ModalProbe probe;
  bool shown = false;
  probe.Post([&] {
    shown = IsWindowVisible(forms.help.hwnd());
    forms.help.Dismiss();
  });
  SendMessageW(main, WM_COMMAND, IDM_HELP, 0);
  EXPECT_TRUE(shown);
  ASSERT_TRUE(forms.CreateDialogsNow());
  const std::pair<HWND, const wchar_t*> dialogs[] = {
      {forms.program_editor.hwnd(), L"TPrgForm"},     {forms.icon_picker.hwnd(), L"TPrgIconGetBox"},
      {forms.folder.hwnd(), L"TGetFolder"}, {forms.url_editor.hwnd(), L"TKeyIn_URL"},
      {forms.help.hwnd(), L"TOpHelp"}, {forms.backups.hwnd(), L"TBackupForm"}};
  for (auto [hwnd, cls] : dialogs) {
    ASSERT_NE(hwnd, nullptr) << cls;
    GetClassNameW(hwnd, name, 64);
    EXPECT_STREQ(name, cls);
    EXPECT_FALSE(IsWindowVisible(hwnd)) << cls;
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), main) << cls;
  }
}

TEST_F(StartAndCloseTest, EveryCloseRequestSavesAndAFailedSaveKeepsTheWindowOpen) {
  Forms forms;
  ASSERT_TRUE(Start(forms));
  const HWND main = forms.main.hwnd();
  prompts.prompts.shown.clear();

  storage.fail = true;
  prompts.prompts.answers = {IDOK, IDNO};
  SendMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(main));
  ASSERT_EQ(prompts.prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.prompts.shown[0].text,
            L"ファイル " + CurrentDir() + L"\\Quenda.Tbl を作成できません.");
  EXPECT_EQ(prompts.prompts.shown[0].type, UINT(MB_OK | MB_ICONERROR));
  EXPECT_EQ(prompts.prompts.shown[1].text, L"保存せずに終了しますか？");
  EXPECT_EQ(prompts.prompts.shown[1].caption, L"確認");
  EXPECT_EQ(prompts.prompts.shown[1].type, UINT(MB_YESNO | MB_DEFBUTTON2));

  prompts.prompts.answers = {IDOK, IDNO};
  SendMessageW(main, WM_COMMAND, IDM_EXIT, 0);  // "終了" tries again
  EXPECT_TRUE(IsWindow(main));
  EXPECT_EQ(storage.writes, 2);

  storage.fail = false;
  SendMessageW(main, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(storage.writes, 3);
  EXPECT_EQ(TableSize(), kTableFileBytes);
}

TEST_F(StartAndCloseTest, YesClosesWithoutSavingAndLeavesTheFolderAsItWas) {
  Forms forms;
  ASSERT_TRUE(Start(forms));
  // A folder where the table should be: the save cannot replace it.
  std::filesystem::create_directory(dir.path() / L"Quenda.Tbl");
  prompts.prompts.answers = {IDOK, IDYES};
  SendMessageW(forms.main.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(forms.main.hwnd(), nullptr);
  EXPECT_EQ(storage.writes, 1);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / L"Quenda.Tbl"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(StartAndCloseTest, LogOffSavesExactlyOnceEvenWhenAskedAgain) {
  Forms forms;
  ASSERT_TRUE(Start(forms));
  const HWND main = forms.main.hwnd();

  EXPECT_TRUE(SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  EXPECT_TRUE(SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  EXPECT_EQ(storage.writes, 1);

  // Another program refused: the session goes on, and the next log-off saves anew.
  SendMessageW(main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(IsWindow(main));
  EXPECT_TRUE(SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  EXPECT_EQ(storage.writes, 2);

  SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(storage.writes, 2);
  EXPECT_FALSE(IsWindow(main));
}

TEST_F(StartAndCloseTest, ShutDownTriesTheSaveOnceAndIsNeverHeld) {
  for (const bool asked_first : {true, false}) {
    SCOPED_TRACE(asked_first ? "queried, then ended" : "ended without a query");
    Forms forms;
    ASSERT_TRUE(Start(forms));
    prompts.prompts.shown.clear();
    storage.writes = 0;
    storage.fail = true;
    if (asked_first) {
      EXPECT_TRUE(SendMessageW(forms.main.hwnd(), WM_QUERYENDSESSION, 0, 0));
    }
    SendMessageW(forms.main.hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(forms.main.hwnd(), nullptr);
    EXPECT_EQ(storage.writes, 1);
    EXPECT_TRUE(prompts.prompts.shown.empty());
    PumpMessages();
  }
}

TEST(SingleInstance, TheSecondClaimOfTheMutexSeesTheFirst) {
  EXPECT_FALSE(AnotherInstanceRuns());
  EXPECT_TRUE(AnotherInstanceRuns());
  EXPECT_TRUE(AnotherInstanceRuns());
}

}  // namespace
}  // namespace quenda
