// The main window driven by real window messages: page bank, slot display, hover, opening a
// slot and dropping files.
#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <vector>

#include "app/forms.h"
#include "core/now_text.h"
#include "core/table_file.h"
#include "platform/announcer.h"
#include "platform/cp932.h"
#include "platform/full_text_win.h"
#include "platform/shell.h"
#include "platform/table_storage_win.h"
#include "resources/backup_chooser_layout.h"
#include "resources/main_window_layout.h"
#include "resources/program_editor_layout.h"
#include "resources/resource_ids.h"
#include "resources/url_editor_layout.h"
#include "support/win_test_support.h"
#include "ui/speed_button.h"
#include "windows/modal_probe.h"

namespace quenda {
namespace {

using testing::Click;
using testing::FixedClock;
using testing::MakeDrop;
using testing::PostClick;
using testing::PumpMessages;
using testing::RecordingShell;

// "テスト" and friends in CP932.
const std::string kTest = "\x83\x65\x83\x58\x83\x67";

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    SetClock(&clock);
    SetShell(&shell);
  }
  ~MainWindowTest() override {
    SetShell(nullptr);
    SetClock(nullptr);
    PumpMessages();
  }

  // Saves the prepared table, then starts the windows on it. Showing a window costs Wine about
  // two seconds, so only tests that need it on screen show it; the others run ShowFirstPage.
  void Start(bool show = false) {
    testing::WriteTable(dir.path(), prepared, storage);
    started = true;
    ASSERT_TRUE(forms.Create(dir.path().wstring(), storage, "TEST"));
    ASSERT_TRUE(forms.CreateDialogsNow());
    if (show) {
      ShowWindow(main(), SW_SHOWNOACTIVATE);
    } else {
      forms.main.ShowFirstPage();
    }
    PumpMessages();
    prompts.prompts.shown.clear();
  }

  // The table a test prepares, then the one the windows work on.
  SlotTable& Table() { return started ? forms.table : prepared; }
  // The table as a new start would read it from the file.
  SlotTable Reloaded() {
    SlotTable table;
    TableFile file(dir.path().wstring(), storage);
    EXPECT_FALSE(file.Load(table));
    return table;
  }
  HWND main() { return forms.main.hwnd(); }
  HWND control(int id) { return forms.main.Control(id); }
  std::wstring text(int id) { return win::GetText(control(id)); }

  void ClickPage(int tag) { Click(forms.main.PageButtonByTag(tag)); }
  void Hover(HWND hwnd, int x = 5, int y = 5) {
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  }
  // Client point of the main window at the middle of a slot button.
  POINT SlotPoint(int slot) {
    RECT r;
    GetWindowRect(forms.main.SlotButton(slot), &r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(main(), &p);
    return p;
  }
  // A key press on the main window with these keys held (the thread's key state).
  void Key(UINT key, std::initializer_list<int> held = {}, UINT message = WM_KEYDOWN) {
    BYTE state[256] = {};
    for (int k : held) state[k] = 0x80;
    SetKeyboardState(state);
    SendMessageW(main(), message, key, 0);
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  bool Marked(HWND button) { return win::SpeedButton::From(button)->FocusMark(); }
  void Drop(POINT at, const std::vector<std::wstring>& files) {
    SendMessageW(main(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(at, files)), 0);
  }

  testing::ScopedTempDir dir;
  testing::ScopedPrompts prompts;
  // The system's storage, which can be told to write nothing.
  struct Storage : Win32TableStorage {
    MaybeError WriteReplace(const PathText& path, std::span<const std::uint8_t> bytes) override {
      return discard ? std::nullopt : Win32TableStorage::WriteReplace(path, bytes);
    }
    bool discard = false;
  } storage;
  bool started = false;
  SlotTable prepared;
  FixedClock clock;
  RecordingShell shell;
  Forms forms;
};

TEST_F(MainWindowTest, ControlsLieWhereTheLayoutPutsThem) {
  Start(/*show=*/true);
  for (const LayoutRow& c : MainWindowLayout()) {
    const HWND hwnd = control(c.id);
    ASSERT_NE(hwnd, nullptr) << c.name;
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, c.x) << c.name;
    EXPECT_EQ(r.top, c.y) << c.name;
    if (c.kind != ControlKind::Label) {
      EXPECT_EQ(r.right - r.left, c.width) << c.name;
      EXPECT_EQ(r.bottom - r.top, c.height) << c.name;
    }
    EXPECT_EQ(GetDlgCtrlID(hwnd), c.id) << c.name;
  }
  // Slot i at 9 + 69 (i mod 5), 35 + 39 (i div 5); the page bank's second row is clipped.
  RECT r;
  GetWindowRect(forms.main.SlotButton(24), &r);
  MapWindowPoints(nullptr, control(main_ids::SlotGrid), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 9 + 69 * 4);
  EXPECT_EQ(r.top, 35 + 39 * 4);
  RECT bank;
  GetClientRect(control(main_ids::PageBank), &bank);
  for (int tag : {100, 107, 202, 203}) {
    GetWindowRect(forms.main.PageButtonByTag(tag), &r);
    MapWindowPoints(nullptr, control(main_ids::PageBank), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_GE(r.top, bank.bottom) << tag;
  }
  EXPECT_EQ(text(main_ids::LabelId(1)), L"D1");
  EXPECT_EQ(text(main_ids::LabelId(22)), L"P2");
  EXPECT_EQ(text(main_ids::AccessCountLabel), L"ｱｸｾｽ回数");
  EXPECT_EQ(text(main_ids::LastAccessLabel), L"最終ｱｸｾｽ日");
  EXPECT_FALSE(IsWindowVisible(control(main_ids::BlankIconImage)));
  EXPECT_TRUE(win::SpeedButton::From(forms.main.PageButtonByTag(0))->Down());
}

TEST_F(MainWindowTest, SlotButtonsShowTheIconOrTheFirstTwelveBytesOfTheTitle) {
  const std::pair<std::string, std::string> slots[] = {
      {"1", "abcdefghijklmnopqrst"},                    // 20 single-byte: the first 12
      {"1", "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab"},  // 7 double-byte: 6
      {"00", "ABCDEFGHIJK" "\x82\xa0"},                  // 11 and the lead byte of the 12th
      {"0", "shown as icon"},
      {"", "empty flag shows the title"},
  };
  for (int i = 0; i < 5; ++i) {
    SetSlotField(Table(), Flag1, 0, i, slots[i].first);
    SetSlotField(Table(), Title, 0, i, slots[i].second);
  }
  Start();
  EXPECT_EQ(win::GetText(forms.main.SlotButton(0)), L"abcdefghijkl");
  EXPECT_EQ(win::GetText(forms.main.SlotButton(1)), L"あいうえおか");
  EXPECT_EQ(win::GetText(forms.main.SlotButton(2)), L"ABCDEFGHIJK");  // never half a character
  EXPECT_EQ(win::GetText(forms.main.SlotButton(3)), L"");
  EXPECT_EQ(win::GetText(forms.main.SlotButton(4)), L"empty flag s");
  EXPECT_EQ(win::GetText(forms.main.SlotButton(5)), L"");
}

TEST_F(MainWindowTest, PageButtonsSwitchPagesPopupItemsAndDropAcceptance) {
  SetSlotField(Table(), Title, 1, 0, "page D2");
  SetSlotField(Table(), Title, 8, 0, "page P1");
  SetSlotField(Table(), Title, 9, 0, "page P2");
  Start();
  EXPECT_FALSE(forms.main.AcceptsDrops());
  EXPECT_EQ(GetMenuItemCount(forms.main.BuildPopupMenu().get()), 4);

  ClickPage(200);
  EXPECT_EQ(forms.main.Selection().tag, 200);
  EXPECT_EQ(forms.main.Selection().page, 8);
  EXPECT_EQ(win::GetText(forms.main.SlotButton(0)), L"page P1");
  EXPECT_TRUE(forms.main.AcceptsDrops());
  EXPECT_TRUE(win::SpeedButton::From(forms.main.PageButtonByTag(200))->Down());
  EXPECT_FALSE(win::SpeedButton::From(forms.main.PageButtonByTag(0))->Down());
  win::UniqueMenu popup = forms.main.BuildPopupMenu();
  ASSERT_EQ(GetMenuItemCount(popup.get()), 4);
  EXPECT_EQ(GetMenuItemID(popup.get(), 1), UINT(IDM_EDIT));
  EXPECT_EQ(GetMenuItemID(popup.get(), 2), UINT(IDM_UNDO));
  EXPECT_EQ(GetMenuItemID(popup.get(), 3), UINT(IDM_RUN_AS_ADMIN));

  ClickPage(201);
  EXPECT_EQ(forms.main.Selection().page, 9);
  EXPECT_EQ(win::GetText(forms.main.SlotButton(0)), L"page P2");
  ClickPage(201);  // the button that is down selects its page again
  EXPECT_EQ(forms.main.Selection().page, 9);
  EXPECT_TRUE(forms.main.AcceptsDrops());

  ClickPage(1);
  EXPECT_EQ(forms.main.Selection().page, 1);
  EXPECT_FALSE(forms.main.AcceptsDrops());
  EXPECT_EQ(win::GetText(forms.main.SlotButton(0)), L"page D2");
  popup = forms.main.BuildPopupMenu();
  ASSERT_EQ(GetMenuItemCount(popup.get()), 4);
  wchar_t item[32];
  GetMenuStringW(popup.get(), 0, item, 32, MF_BYPOSITION);
  EXPECT_STREQ(item, L"URL取得");
  GetMenuStringW(popup.get(), 2, item, 32, MF_BYPOSITION);
  EXPECT_STREQ(item, L"元に戻す");
  GetMenuStringW(popup.get(), 3, item, 32, MF_BYPOSITION);
  EXPECT_STREQ(item, L"内容の編集");
}

TEST_F(MainWindowTest, HoverShowsTheSlotAndTheGridBackgroundClearsIt) {
  SetSlotField(Table(), DisplayName, 0, 7, kTest);
  SetSlotField(Table(), AccessCount, 0, 7, "12");
  SetSlotField(Table(), LastAccess, 0, 7, "2026/12/01 9:00:00");
  SetSlotField(Table(), Memo, 0, 7, "memo");
  Start();
  Hover(forms.main.SlotButton(7));
  EXPECT_EQ(forms.main.Selection().slot, 7);
  EXPECT_EQ(text(main_ids::InfoLine), L"テスト");
  EXPECT_EQ(text(main_ids::AccessCountPanel), L"12");
  EXPECT_EQ(text(main_ids::LastAccessPanel), L"2026/12/01 9:00:00");
  EXPECT_EQ(text(main_ids::MemoBox), L"memo");

  Hover(control(main_ids::PageBank));  // the page bank changes nothing
  Hover(control(main_ids::Details));
  EXPECT_EQ(text(main_ids::InfoLine), L"テスト");

  ClickPage(2);  // a page change keeps the display
  EXPECT_EQ(text(main_ids::AccessCountPanel), L"12");

  Hover(control(main_ids::SlotGrid), 2, 2);
  EXPECT_EQ(forms.main.Selection().slot, 7);
  for (int id : {main_ids::InfoLine, main_ids::AccessCountPanel, main_ids::LastAccessPanel,
                 main_ids::MemoBox}) {
    EXPECT_EQ(text(id), L"") << id;
  }
  Hover(forms.main.SlotButton(7));
  SendMessageW(main(), WM_MOUSEMOVE, 0, MAKELPARAM(365, 100));  // the window's own column
  EXPECT_EQ(text(main_ids::InfoLine), L"");
}

TEST_F(MainWindowTest, AClickOpensTheTargetWithTheVerbOfThePageGroupAndCounts) {
  SetSlotField(Table(), Target, 0, 3, "http://example.invalid/");
  SetSlotField(Table(), AccessCount, 0, 3, "0");
  SetSlotField(Table(), Target, 8, 4, "C:\\Tools\\" + kTest + ".exe");
  SetSlotField(Table(), WorkFolder, 8, 4, "C:\\Tools");
  SetSlotField(Table(), AccessCount, 8, 4, " 7");
  Start();

  Click(forms.main.SlotButton(3));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_TRUE(shell.calls[0].has_verb);
  EXPECT_EQ(shell.calls[0].verb, L"OPEN");
  EXPECT_EQ(shell.calls[0].file, L"http://example.invalid/");
  EXPECT_FALSE(shell.calls[0].has_directory);
  EXPECT_EQ(shell.calls[0].show, SW_SHOW);
  EXPECT_EQ(GetSlotField(Table(), AccessCount, 0, 3), "1");
  EXPECT_EQ(GetSlotField(Table(), LastAccess, 0, 3), "2026/12/8 17:30:5");

  ClickPage(200);
  clock.now = {2026, 12, 9, 0, 0, 0};  // midnight: the date alone
  Click(forms.main.SlotButton(4));
  Click(forms.main.SlotButton(4));
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_FALSE(shell.calls[1].has_verb);
  EXPECT_EQ(shell.calls[1].file, L"C:\\Tools\\テスト.exe");
  EXPECT_EQ(shell.calls[1].directory, L"C:\\Tools");
  EXPECT_EQ(GetSlotField(Table(), AccessCount, 8, 4), "9");
  EXPECT_EQ(GetSlotField(Table(), LastAccess, 8, 4), "2026/12/9");
  EXPECT_EQ(forms.main.Selection().slot, 4);

  // As administrator, from the popup, Ctrl+Shift+Enter and Ctrl+Shift+click; a quoted program
  // takes the arguments after it. A cancelled elevation counts nothing.
  SetSlotField(Table(), Target, 8, 4, "\"C:\\Tools\\" + kTest + ".exe\" -x  \"a b\"");
  testing::ChooseFromSlotPopup(main(), forms.main.SlotButton(4), VK_UP);
  PumpMessages();
  for (int i = 0; i < 4; ++i) Key(VK_RIGHT);  // the focus mark onto slot 4
  Key(VK_RETURN, {VK_CONTROL, VK_SHIFT});
  BYTE held[256] = {};
  held[VK_CONTROL] = held[VK_SHIFT] = 0x80;
  SetKeyboardState(held);
  shell.result = ERROR_CANCELLED;
  Click(forms.main.SlotButton(4));
  BYTE none[256] = {};
  SetKeyboardState(none);
  shell.result = ERROR_SUCCESS;
  ASSERT_EQ(shell.calls.size(), 6u);
  for (std::size_t i = 3; i < 6; ++i) {
    EXPECT_EQ(shell.calls[i].verb, L"runas") << i;
    EXPECT_EQ(shell.calls[i].file, L"C:\\Tools\\テスト.exe") << i;
    EXPECT_EQ(shell.calls[i].parameters, L"-x  \"a b\"") << i;
  }
  EXPECT_EQ(GetSlotField(Table(), AccessCount, 8, 4), "11");
  shell.calls.resize(3);

  Click(forms.main.SlotButton(5));  // empty: nothing at all
  EXPECT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(GetSlotField(Table(), LastAccess, 8, 5), "");
  EXPECT_TRUE(prompts.prompts.shown.empty());
}

// A count some other program garbled does not keep the slot from opening: it counts from 0.
TEST_F(MainWindowTest, ACountThatIsNoNumberOpensAndCountsFromZero) {
  struct Case {
    std::string count, after;
    std::wstring error;  // empty: the target opens
  };
  const Case cases[] = {
      {"", "1", L""},  // an address typed into the URL editor has no count yet
      {"   ", "1", L""},
      {"12x", "1", L""},
      {" -", "1", L""},
      {"2147483647", "2147483647", L""},  // the largest count stays, and the target opens
  };
  for (int i = 0; i < int(std::size(cases)); ++i) {
    SetSlotField(Table(), Target, 0, i, "http://" + std::to_string(i) + ".invalid/");
    SetSlotField(Table(), AccessCount, 0, i, cases[i].count);
  }
  Start();
  for (int i = 0; i < int(std::size(cases)); ++i) {
    const Case& c = cases[i];
    prompts.prompts.shown.clear();
    shell.calls.clear();
    Click(forms.main.SlotButton(i));
    EXPECT_EQ(GetSlotField(Table(), AccessCount, 0, i), c.after) << i;
    EXPECT_EQ(GetSlotField(Table(), LastAccess, 0, i), "2026/12/8 17:30:5") << i;
    EXPECT_EQ(shell.calls.size(), c.error.empty() ? 1u : 0u) << i;
    ASSERT_EQ(prompts.prompts.shown.size(), c.error.empty() ? 0u : 1u) << i;
    if (c.error.empty()) continue;
    EXPECT_EQ(prompts.prompts.shown[0].text, c.error) << i;
    EXPECT_EQ(prompts.prompts.shown[0].type, UINT(MB_OK | MB_ICONERROR)) << i;
  }
}

TEST_F(MainWindowTest, ATargetTheShellCannotOpenIsReportedAndNotCounted) {
  SetSlotField(Table(), Target, 8, 2, "C:\\missing\\" + kTest + ".exe");
  SetSlotField(Table(), AccessCount, 8, 2, "4");
  SetSlotField(Table(), LastAccess, 8, 2, "2026/12/01 9:00:00");
  Start();
  ClickPage(200);
  shell.result = ERROR_FILE_NOT_FOUND;
  Click(forms.main.SlotButton(2));
  ASSERT_EQ(shell.calls.size(), 1u);
  ASSERT_EQ(prompts.prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.prompts.shown[0].text,
            L"C:\\missing\\テスト.exe を開けません。\nファイルが見つかりません。");
  EXPECT_EQ(prompts.prompts.shown[0].caption, ApplicationTitle());
  EXPECT_EQ(prompts.prompts.shown[0].type, UINT(MB_OK | MB_ICONERROR));
  shell.result = ERROR_CANCELLED;  // the user said no to the elevation prompt: no box
  Click(forms.main.SlotButton(2));
  EXPECT_EQ(prompts.prompts.shown.size(), 1u);
  EXPECT_EQ(GetSlotField(Table(), AccessCount, 8, 2), "4");
  EXPECT_EQ(GetSlotField(Table(), LastAccess, 8, 2), "2026/12/01 9:00:00");
}

// The system's shell itself: no box of its own, and the reason comes back.
TEST(SystemShell, SaysWhyItCouldNotOpen) {
  testing::ScopedTempDir dir;
  const auto unknown = dir.path() / L"data.quenda-unknown";
  std::ofstream(unknown) << "x";
  const std::pair<std::wstring, DWORD> cases[] = {
      {(dir.path() / L"missing.htm").wstring(), ERROR_FILE_NOT_FOUND},
      {(dir.path() / L"no folder" / L"a.exe").wstring(), ERROR_PATH_NOT_FOUND},
      {unknown.wstring(), ERROR_NO_ASSOCIATION},
  };
  Shell system;
  for (const auto& [file, error] : cases) {
    EXPECT_EQ(system.Execute(nullptr, nullptr, file, {}, nullptr, SW_SHOW), error) << file;
  }
  EXPECT_EQ(SystemErrorText(ERROR_PATH_NOT_FOUND), L"パスが見つかりません。");
  EXPECT_EQ(OpenFailureText(L"C:\\a.dat", ERROR_BAD_EXE_FORMAT),
            L"C:\\a.dat を開けません。\nC:\\a.dat の EXE フォーマットが不正です。");
}

TEST_F(MainWindowTest, ADropOnASlotAsksThenTakesTheFirstFile) {
  Start();
  ClickPage(200);
  const auto first = dir.path() / L"Editor.ico";
  testing::WriteIconFile(first, 0xFF0000);
  testing::WriteIconFile(dir.path() / L"b.ico", 0x00FF00);
  prompts.prompts.answers = {IDYES};
  Drop(SlotPoint(7), {first.wstring(), (dir.path() / L"b.ico").wstring(), L"C:\\c.txt"});

  ASSERT_EQ(prompts.prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.prompts.shown[0].text, L"内容を置き換えますか？");
  EXPECT_EQ(prompts.prompts.shown[0].caption, L"確認");
  EXPECT_EQ(prompts.prompts.shown[0].type, UINT(MB_YESNO));
  EXPECT_EQ(forms.main.Selection().slot, 7);
  EXPECT_EQ(win::FromCp932(GetSlotField(Table(), Target, 8, 7)), first.wstring());
  EXPECT_EQ(GetSlotField(Table(), Title, 8, 7), "Editor.ico");
  EXPECT_EQ(GetSlotField(Table(), DisplayName, 8, 7), "Editor.ico");
  EXPECT_EQ(GetSlotField(Table(), Flag1, 8, 7), "0");
  EXPECT_EQ(GetSlotField(Table(), AccessCount, 8, 7), "0");
  EXPECT_EQ(GetSlotField(Table(), LastAccess, 8, 7), "2026/12/8 17:30:5");
  EXPECT_EQ(GetSlotField(Table(), Memo, 8, 7), "");
  EXPECT_EQ(GetSlotField(Table(), WorkFolder, 8, 7), "");
  // The icon composed on white: red inside its square, white around it.
  const IconBitmap& icon = Table().At(8, 7).icon;
  EXPECT_EQ(icon.At(16, 16), 9);
  EXPECT_EQ(icon.At(2, 2), kWhite);
  EXPECT_EQ(win::GetText(forms.main.SlotButton(7)), L"");  // shows its icon
  EXPECT_EQ(GetSlotField(Table(), Target, 8, 8), "");

  // Saved at once; a save that fails says so, as after an edit.
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 8, 7), "Editor.ico");
  // Ctrl+Z takes the drop back and Ctrl+Y does it again, each saved.
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 8, 7), "");
  EXPECT_EQ(text(main_ids::InfoLine), L"元に戻しました: ドロップ");
  Key('Y', {VK_CONTROL});
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 8, 7), "Editor.ico");
  EXPECT_EQ(win::GetText(forms.main.SlotButton(7)), L"");
  std::filesystem::create_directory(dir.path() / L"Quenda.Tbl.tmp");
  prompts.prompts.answers = {IDYES};
  Drop(SlotPoint(8), {first.wstring()});
  ASSERT_EQ(prompts.prompts.shown.size(), 3u);
  EXPECT_EQ(prompts.prompts.shown[2].text,
            L"ファイル " + dir.path().wstring() + L"\\Quenda.Tbl を作成できません.");
  EXPECT_EQ(prompts.prompts.shown[2].type, UINT(MB_OK | MB_ICONERROR));
}

TEST_F(MainWindowTest, ADropIsRefusedBesideTheGridAndNoKeepsTheSlot) {
  SetSlotField(Table(), Title, 8, 3, "keep");
  SetSlotField(Table(), Target, 8, 3, "C:\\keep.exe");
  Start();
  ClickPage(200);
  Hover(forms.main.SlotButton(1));
  Drop({5, 20}, {L"C:\\x.exe"});  // the page bank
  Drop({5, 300}, {L"C:\\x.exe"});  // the info display
  POINT margin{3, 44 + 3};         // the slot grid's panel around it
  Drop(margin, {L"C:\\x.exe"});
  ASSERT_EQ(prompts.prompts.shown.size(), 3u);
  for (const auto& box : prompts.prompts.shown) {
    EXPECT_EQ(box.text, L"ここは設定できません");
    EXPECT_EQ(box.caption, L"Ｓｏｒｒｙ");
    EXPECT_EQ(box.type, UINT(MB_OK));
  }
  EXPECT_EQ(forms.main.Selection().slot, 1);

  prompts.prompts.answers = {IDNO};
  Drop(SlotPoint(3), {L"C:\\x.exe"});
  EXPECT_EQ(forms.main.Selection().slot, 3);
  EXPECT_EQ(GetSlotField(Table(), Target, 8, 3), "C:\\keep.exe");
  EXPECT_EQ(win::GetText(forms.main.SlotButton(3)), L"keep");
}

// Files without icons of their own take the icon Windows shows for them; a shortcut its
// target's, whatever the case of its extension.
TEST_F(MainWindowTest, FilesWithoutIconsTakeTheIconWindowsShows) {
  Start();
  ClickPage(200);
  const auto ico = dir.path() / L"target.ico";
  testing::WriteIconFile(ico, 0x0000FF);
  ASSERT_TRUE(testing::WriteShortcut(dir.path() / L"Doc.lnk", ico));
  ASSERT_TRUE(testing::WriteShortcut(dir.path() / L"Caps.LNK", ico));
  std::ofstream(dir.path() / L"notes.txt") << "x";
  std::ofstream(dir.path() / L"run.bat") << "@echo off";
  std::filesystem::create_directory(dir.path() / L"folder");
  const wchar_t* files[] = {L"Doc.lnk", L"Caps.LNK", L"notes.txt", L"run.bat", L"folder"};
  IconBitmap blank;  // what a drop without an icon stored
  blank.Fill(kWhite);
  for (int slot = 0; slot < 5; ++slot) {
    prompts.prompts.answers = {IDYES};
    Drop(SlotPoint(slot), {(dir.path() / files[slot]).wstring()});
    EXPECT_EQ(win::FromCp932(GetSlotField(Table(), Title, 8, slot)), files[slot]);
    EXPECT_FALSE(Table().At(8, slot).icon == blank) << files[slot];
  }
  EXPECT_EQ(Table().At(8, 1).icon.At(16, 16), Table().At(8, 0).icon.At(16, 16));  // the target's
}

// Runs at 96 and at 144 DPI, where the system's icon size is 48.
TEST_F(MainWindowTest, DroppedIconFilesGiveTheir32PixelImage) {
  Start();
  ClickPage(200);
  const wchar_t* names[] = {L"icon_16_48_32.ico", L"icon_256_16_32.ico"};
  prompts.prompts.answers = {IDYES, IDYES};
  for (int slot = 0; slot < 2; ++slot) {
    Drop(SlotPoint(slot), {testing::BesideTests(names[slot]).wstring()});
    EXPECT_TRUE(testing::IsThe32PixelImage(IconPicture(Table().At(8, slot).icon))) << names[slot];
  }
}

TEST_F(MainWindowTest, ANameWhoseDoubleByteCharacterEndsInBackslashIsNotSplit) {
  Start();
  ClickPage(200);
  // 表 is 0x95 0x5C in CP932.
  prompts.prompts.answers = {IDYES};
  Drop(SlotPoint(2), {L"C:\\データ\\表計算.exe"});
  EXPECT_EQ(win::FromCp932(GetSlotField(Table(), Title, 8, 2)), L"表計算.exe");
}

TEST_F(MainWindowTest, ADroppedPathTheFieldCannotHoldOpensWhole) {
  Start();
  ClickPage(200);
  const std::wstring path = L"C:\\" + std::wstring(70, L'\u9577') + L"\\\uD55C\u00E9\U0001F600.txt";
  prompts.prompts.answers = {IDYES};
  Drop(SlotPoint(6), {path});
  // The field keeps its CP932 cut, as ever; the click opens the whole path.
  EXPECT_EQ(GetSlotField(Table(), Target, 8, 6), win::ToCp932(path.substr(0, 3 + 62)));
  EXPECT_EQ(GetSlotField(Table(), Title, 8, 6), win::ToCp932(L"\uD55C\u00E9\U0001F600.txt"));
  SetSlotFieldWide(Table(), WorkFolder, 8, 6, L"C:\\\u00E9");
  Click(forms.main.SlotButton(6));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, path);
  EXPECT_EQ(shell.calls[0].directory, L"C:\\\u00E9");

  // Once the field is set anew, only its bytes are opened.
  SetSlotField(Table(), Target, 8, 6, "C:\\other.txt");
  Click(forms.main.SlotButton(6));
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].file, L"C:\\other.txt");

  // Its icon comes from the whole path too.
  const auto ico = dir.path() / L"\uD55C\u00E9.ico";
  testing::WriteIconFile(ico, 0xFF0000);
  prompts.prompts.answers = {IDYES};
  Drop(SlotPoint(5), {ico.wstring()});
  EXPECT_EQ(Table().At(8, 5).icon.At(16, 16), 9);
}

TEST_F(MainWindowTest, PageSwitchesAndDropsLeaveNoHandleBehind) {
  SetSlotField(Table(), Flag1, 0, 0, "0");
  SetSlotField(Table(), Flag1, 8, 0, "0");
  Start(/*show=*/true);
  ClickPage(200);
  ClickPage(0);
  const long before = win::LiveHandles();
  // The count is exact, so one leaking switch shows; twenty go both ways ten times, painted and
  // then hidden, where only the glyph handling runs.
  for (int i = 0; i < 20; ++i) ClickPage(i % 2 ? 0 : 200);
  EXPECT_EQ(win::LiveHandles(), before);
  ShowWindow(main(), SW_HIDE);
  for (int i = 0; i < 20; ++i) ClickPage(i % 2 ? 0 : 200);
  EXPECT_EQ(win::LiveHandles(), before);

  ClickPage(200);
  const auto ico = dir.path() / L"a.ico";
  testing::WriteIconFile(ico, 0xFF00FF);
  // Every drop saves; the disk is not what this counts.
  storage.discard = true;
  prompts.prompts.answers.assign(75, IDYES);
  // Every slot shows an icon.
  for (int i = 0; i < kSlotsPerPage; ++i) Drop(SlotPoint(i), {ico.wstring()});
  const long before_drops = win::LiveHandles();
  // Twice over every slot, each drop replacing an icon.
  for (int i = 0; i < 50; ++i) Drop(SlotPoint(i % kSlotsPerPage), {ico.wstring()});
  EXPECT_EQ(win::LiveHandles(), before_drops);
  EXPECT_EQ(prompts.prompts.shown.size(), 75u);
}

// What the user typed stays while an editor is open, also when the main window is minimised and
// restored (which hides and shows its owned windows); the next opening loads the slot again.
TEST_F(MainWindowTest, EditorsKeepWhatWasTypedUntilTheyOpenAgain) {
  SetSlotField(Table(), DisplayName, 8, 0, "program");
  SetSlotField(Table(), DisplayName, 0, 0, "address");
  Start();
  struct {
    int page_tag;
    win::LayoutWindow& editor;
    int edit, cancel;
    const wchar_t* stored;
  } rows[] = {{200, forms.program_editor, prg_ids::HeadingEdit, prg_ids::CancelButton, L"program"},
              {0, forms.url_editor, url_ids::HeadingEdit, url_ids::CancelButton, L"address"}};
  for (const auto& row : rows) {
    ClickPage(row.page_tag);  // no popup opened yet: its slot is 0
    const HWND edit = row.editor.Control(row.edit);
    std::wstring kept, reopened;
    testing::ModalProbe probe;
    probe.Post([&] {
      win::SetText(edit, L"typed");
      ShowOwnedPopups(main(), FALSE);
      ShowOwnedPopups(main(), TRUE);
      kept = win::GetText(edit);
      testing::PostClick(row.editor.Control(row.cancel));
    });
    SendMessageW(main(), WM_COMMAND, IDM_EDIT, 0);
    EXPECT_EQ(kept, L"typed") << row.stored;
    probe.Post([&] {
      reopened = win::GetText(edit);
      testing::PostClick(row.editor.Control(row.cancel));
    });
    SendMessageW(main(), WM_COMMAND, IDM_EDIT, 0);
    EXPECT_EQ(reopened, row.stored);
  }
}

// Each dialog keeps its own placement, moved the least needed into the work area: the folder
// chooser centred over a main window at the screen's corner, the others where they were left
// partly off screen.
TEST_F(MainWindowTest, DialogsOpenInsideTheWorkArea) {
  Start();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(main(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  const auto move = [](HWND hwnd, int x, int y) {
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  move(main(), work.right - 60, work.bottom - 60);
  win::Window* dialogs[] = {&forms.program_editor, &forms.icon_picker, &forms.folder,
                            &forms.url_editor, &forms.help};
  for (win::Window* dialog : dialogs) {
    move(dialog->hwnd(), work.right - 40, work.bottom - 40);
    RECT shown{};
    testing::ModalProbe probe;
    probe.Post([&] {
      GetWindowRect(dialog->hwnd(), &shown);
      PostMessageW(dialog->hwnd(), WM_CLOSE, 0, 0);
    });
    dialog->ShowModal(main());
    const std::wstring name = win::GetText(dialog->hwnd());
    EXPECT_GE(shown.left, work.left) << name;
    EXPECT_GE(shown.top, work.top) << name;
    EXPECT_LE(shown.right, work.right) << name;
    EXPECT_LE(shown.bottom, work.bottom) << name;
    if (dialog != &forms.icon_picker) {  // the picker is centred on the desktop
      EXPECT_EQ(shown.right, work.right) << name;
      EXPECT_EQ(shown.bottom, work.bottom) << name;
    }
  }
}

// The keyboard opens the popup on the focused slot, wherever the mouse is or goes.
TEST_F(MainWindowTest, ThePopupEditsTheSlotItWasOpenedFor) {
  SetSlotField(Table(), DisplayName, 0, 4, "four");
  SetSlotField(Table(), DisplayName, 0, 7, "seven");
  Start();
  Hover(forms.main.SlotButton(7));
  testing::ModalProbe probe;
  probe.Post([&] { Hover(forms.main.SlotButton(7)); });  // inside the popup's loop
  testing::ChooseFromSlotPopup(main(), forms.main.SlotButton(4), VK_UP);
  std::wstring edited;
  probe.Post([&] {
    edited = win::GetText(forms.url_editor.Control(url_ids::HeadingEdit));
    PostClick(forms.url_editor.Control(url_ids::CancelButton));
  });
  PumpMessages();
  EXPECT_EQ(edited, L"four");
  EXPECT_EQ(forms.main.Selection().slot, 7);
}

TEST_F(MainWindowTest, EditingFromThePopupSavesTheTable) {
  Start();
  ClickPage(200);
  SetSlotField(Table(), Title, 8, 0, "changed");
  // The editor opens modally; its "ｷｬﾝｾﾙ" ends it.
  const HWND cancel = forms.program_editor.Control(prg_ids::CancelButton);
  PostClick(cancel, 3, 3);
  SendMessageW(main(), WM_COMMAND, IDM_EDIT, 0);
  EXPECT_EQ(win::GetText(forms.main.SlotButton(0)), L"changed");
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 8, 0), "changed");
}

// Slot 0 of D1 pressed, moved over `to` (nudged from its middle) and let go, each message to the
// window holding the mouse; then the editor's クリヤー and Ctrl+Z.
TEST_F(MainWindowTest, ADragMovesTheSlotWhereItIsLetGoAShortOneClicksAndUndoBringsAClearBack) {
  const std::wstring target = L"http://example.invalid/" + std::wstring(150, L'x');
  SetSlotFieldWide(Table(), Target, 0, 0, target);  // longer than the field: travels whole
  SetSlotField(Table(), Title, 0, 0, "one");
  SetSlotField(Table(), DisplayName, 0, 0, "one");
  SetSlotField(Table(), Title, 1, 0, "taken");
  for (int slot = 0; slot < kSlotsPerPage; ++slot) SetSlotField(Table(), Title, 2, slot, "full");
  Start();
  const HWND slot0 = forms.main.SlotButton(0), slot6 = forms.main.SlotButton(6);
  const struct {
    HWND to;
    int nudge;
    bool escape;
    PageIndex page;  // where slot 0's entry is then
    SlotIndex slot;
    const wchar_t* info;  // nullptr: not checked
  } rows[] = {
      {slot0, 1, false, 0, 0, nullptr},  // below the drag distance: a click
      {slot6, 0, false, 0, 6, L"one"},
      {forms.main.PageButtonByTag(1), 0, false, 1, 1, L""},
      {forms.main.PageButtonByTag(2), 0, false, 0, 0, L"ページに空きがありません"},
      {slot6, 0, true, 0, 0, nullptr},
  };
  auto send = [](HWND window, UINT message, POINT at) {
    ScreenToClient(window, &at);
    SendMessageW(window, message, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  };
  for (const auto& row : rows) {
    shell.calls.clear();
    RECT r;
    GetWindowRect(slot0, &r);
    send(slot0, WM_LBUTTONDOWN, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    GetWindowRect(row.to, &r);
    const POINT over{(r.left + r.right) / 2 + row.nudge, (r.top + r.bottom) / 2 + row.nudge};
    send(GetCapture(), WM_MOUSEMOVE, over);
    EXPECT_EQ(GetCapture() == main() && GetCursor() == LoadCursorW(nullptr, IDC_SIZEALL),
              row.nudge == 0);
    if (row.escape) Key(VK_ESCAPE);
    send(GetCapture() ? GetCapture() : row.to, WM_LBUTTONUP, over);
    EXPECT_EQ(shell.calls.size(), row.nudge);
    EXPECT_EQ(SlotFieldWide(Reloaded(), Target, row.page, row.slot), target) << row.slot;
    EXPECT_TRUE(!row.info || text(main_ids::InfoLine) == row.info) << row.slot;
    if (row.page != 0 || row.slot != 0) Key('Z', {VK_CONTROL});
  }
  prompts.prompts.answers = {IDYES};
  PostClick(forms.url_editor.Control(url_ids::ClearButton));
  PostClick(forms.url_editor.Control(url_ids::CancelButton));
  SendMessageW(main(), WM_COMMAND, IDM_EDIT, 0);
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 0, 0), "");
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(text(main_ids::InfoLine), L"元に戻しました: クリヤー");
  EXPECT_EQ(SlotFieldWide(Reloaded(), Target, 0, 0), target);
}

TEST_F(MainWindowTest, ArrowsMoveTheFocusAcrossRowsAndTabGoesToThePageBank) {
  SetSlotField(Table(), DisplayName, 0, 5, "five");
  Start();
  Hover(forms.main.SlotButton(9));
  for (int slot = 0; slot < kSlotsPerPage; ++slot) {
    EXPECT_FALSE(Marked(forms.main.SlotButton(slot)));
  }
  const std::pair<UINT, int> moves[] = {
      {VK_RIGHT, 1}, {VK_LEFT, 0}, {VK_LEFT, 24}, {VK_RIGHT, 0}, {VK_UP, 20}, {VK_DOWN, 0},
      {VK_DOWN, 5},  {VK_LEFT, 4}, {VK_RIGHT, 5},
  };
  for (const auto& [key, slot] : moves) {
    Key(key);
    EXPECT_EQ(forms.main.FocusedSlot(), slot) << key;
    EXPECT_EQ(forms.main.Selection().slot, slot) << key;
  }
  EXPECT_EQ(text(main_ids::InfoLine), L"five");
  EXPECT_TRUE(Marked(forms.main.SlotButton(5)));
  EXPECT_FALSE(Marked(forms.main.SlotButton(4)));

  Key(VK_TAB);
  EXPECT_TRUE(forms.main.FocusInPageBank());
  EXPECT_TRUE(Marked(forms.main.PageButtonByTag(0)));
  EXPECT_FALSE(Marked(forms.main.SlotButton(5)));
  Key(VK_LEFT);  // in the bank the arrows step through the pages
  EXPECT_EQ(forms.main.Selection().tag, 201);
  EXPECT_TRUE(Marked(forms.main.PageButtonByTag(201)));
  Key(VK_TAB);
  EXPECT_FALSE(forms.main.FocusInPageBank());
  EXPECT_TRUE(Marked(forms.main.SlotButton(5)));

  // Ctrl+Shift+arrows carry the slot along with the focus; undo and redo put it back and forth.
  Key('1', {VK_CONTROL});
  const std::tuple<UINT, int, int, const wchar_t*> swaps[] = {
      {VK_RIGHT, 6, 6, L"five"},
      {VK_DOWN, 11, 11, L"five"},
      {'Z', 11, 6, L"元に戻しました: 入れ替え"},
      {'Y', 11, 11, L"やり直しました: 入れ替え"},
  };
  for (const auto& [key, focus, five_at, info] : swaps) {
    Key(key, {VK_CONTROL, key < 'A' ? VK_SHIFT : VK_CONTROL});
    EXPECT_EQ(forms.main.FocusedSlot(), focus) << key;
    EXPECT_EQ(GetSlotField(Reloaded(), DisplayName, 0, five_at), "five") << key;
    EXPECT_EQ(text(main_ids::InfoLine), info) << key;
  }
}

// "バックアップから戻す…" lists the backups with their filled slots; the one chosen replaces the
// whole table, saved, and Ctrl+Z takes it back, saved.
TEST_F(MainWindowTest, ARestoredBackupReplacesTheTableUntilCtrlZ) {
  SetSlotField(Table(), Title, 0, 0, "now");
  Start();
  SlotTable backup;
  SetSlotField(backup, Title, 0, 1, "then");
  const std::filesystem::path backups = dir.path() / L"backups";
  std::filesystem::create_directories(backups);
  testing::WriteTable(backups, backup, storage);
  std::filesystem::rename(backups / L"Quenda.Tbl", backups / L"Quenda.Tbl.20261207");
  forms.file->SetBackupFolder(backups.wstring());
  testing::ModalProbe probe;
  std::wstring listed;
  probe.Post([&] {
    const HWND list = forms.backups.Control(backup_ids::List);
    wchar_t line[64] = {};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
    listed = line;
    PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
  });
  SendMessageW(main(), WM_COMMAND, IDM_RESTORE_BACKUP, 0);
  EXPECT_EQ(listed, L"2026/12/7  使用中 1 件");
  EXPECT_EQ(text(main_ids::InfoLine), L"バックアップから戻しました: 2026/12/7");
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 0, 0), "");
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 0, 1), "then");
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(text(main_ids::InfoLine), L"元に戻しました: バックアップから戻す");
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 0, 0), "now");
  EXPECT_EQ(GetSlotField(Reloaded(), Title, 0, 1), "");
}

TEST_F(MainWindowTest, PageKeysSwitchPagesAsTheirButtonsDo) {
  SetSlotField(Table(), Title, 9, 0, "page P2");
  Start();
  struct Case {
    UINT key;
    std::initializer_list<int> held;
    int tag;
  };
  const Case cases[] = {
      {'6', {VK_CONTROL}, 201},          {VK_TAB, {VK_CONTROL}, 0},
      {VK_TAB, {VK_CONTROL, VK_SHIFT}, 201}, {'5', {VK_CONTROL}, 200},
      {'2', {VK_CONTROL}, 1},            {VK_TAB, {VK_CONTROL}, 2},
      {'7', {VK_CONTROL}, 2},  // no seventh page
  };
  for (const Case& c : cases) {
    Key(c.key, c.held);
    EXPECT_EQ(forms.main.Selection().tag, c.tag) << c.key;
    EXPECT_EQ(forms.main.Selection().page, PageFromTag(c.tag)) << c.key;
    EXPECT_EQ(forms.main.AcceptsDrops(), c.tag >= 200) << c.key;
    EXPECT_TRUE(win::SpeedButton::From(forms.main.PageButtonByTag(c.tag))->Down()) << c.key;
  }
  Key('6', {VK_CONTROL});
  EXPECT_EQ(win::GetText(forms.main.SlotButton(0)), L"page P2");
  EXPECT_FALSE(win::SpeedButton::From(forms.main.PageButtonByTag(2))->Down());
}

TEST_F(MainWindowTest, EnterAndSpaceOpenTheFocusedSlotAsAClickDoes) {
  SetSlotField(Table(), Target, 0, 1, "http://example.invalid/");
  SetSlotField(Table(), AccessCount, 0, 1, "0");
  SetSlotField(Table(), Target, 8, 1, "C:\\Tools\\a.exe");
  SetSlotField(Table(), AccessCount, 8, 1, "4");
  Start();
  Key(VK_RIGHT);
  Key(VK_RETURN);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].verb, L"OPEN");
  EXPECT_EQ(shell.calls[0].file, L"http://example.invalid/");
  EXPECT_EQ(GetSlotField(Table(), AccessCount, 0, 1), "1");
  EXPECT_EQ(GetSlotField(Table(), LastAccess, 0, 1), "2026/12/8 17:30:5");
  Key('5', {VK_CONTROL});
  Key(VK_SPACE);
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_FALSE(shell.calls[1].has_verb);
  EXPECT_EQ(shell.calls[1].file, L"C:\\Tools\\a.exe");
  EXPECT_EQ(GetSlotField(Table(), AccessCount, 8, 1), "5");
}

// The menu key and Shift+F10 open the focused slot's popup, wherever the mouse is.
TEST_F(MainWindowTest, ThePopupFromTheKeyboardEditsTheFocusedSlot) {
  SetSlotField(Table(), DisplayName, 0, 4, "four");
  Start();
  for (int i = 0; i < 4; ++i) Key(VK_RIGHT);
  ASSERT_EQ(forms.main.FocusedSlot(), 4);
  for (const auto& [key, message, held] :
       {std::tuple{VK_APPS, WM_KEYDOWN, 0}, std::tuple{VK_F10, WM_SYSKEYDOWN, VK_SHIFT}}) {
    Hover(forms.main.SlotButton(7));
    PostMessageW(main(), WM_KEYDOWN, VK_UP, 0);
    PostMessageW(main(), WM_KEYDOWN, VK_RETURN, 0);
    Key(UINT(key), {held}, UINT(message));  // the command is queued when the popup closes
    std::wstring edited;
    testing::ModalProbe probe;
    probe.Post([&] {
      edited = win::GetText(forms.url_editor.Control(url_ids::HeadingEdit));
      PostClick(forms.url_editor.Control(url_ids::CancelButton));
    });
    PumpMessages();
    EXPECT_EQ(edited, L"four") << key;
  }
}

TEST_F(MainWindowTest, TypingFindsTheNextSlotOnTheSixPages) {
  SetSlotField(Table(), Title, 0, 2, "Weather");
  SetSlotField(Table(), DisplayName, 0, 2, "forecast");
  SetSlotField(Table(), DisplayName, 1, 6, "web mail");
  SetSlotField(Table(), Title, 9, 3, "\xD2\xB0\xD9");  // half-width katakana
  Start();
  struct Step {
    UINT message;
    wchar_t typed;
    int seconds_later;
    int tag, slot;
    const wchar_t* text;
    const wchar_t* info = nullptr;  // the info line after the step, where it matters
  };
  const Step steps[] = {
      {WM_CHAR, L'w', 0, 0, 2, L"w"},        {WM_CHAR, L'E', 0, 0, 2, L"wE"},
      {WM_CHAR, L'b', 1, 1, 6, L"wEb"},      {WM_CHAR, L'\b', 0, 1, 6, L"wE"},
      {WM_CHAR, L'\x1B', 0, 1, 6, L""},      {WM_IME_CHAR, L'メ', 0, 201, 3, L"メ"},
      {WM_IME_CHAR, L'ー', 1, 201, 3, L"メー"}, {WM_CHAR, L'W', 2, 0, 2, L"W"},  // a pause
      {WM_CHAR, L'q', 0, 0, 2, L"Wq", L"検索: Wq　（見つかりません）"},  // the focus stays
      // Esc after the pause, and the last character erased, end the search in the info line.
      {WM_CHAR, L'\x1B', 2, 0, 2, L"", L"forecast"}, {WM_CHAR, L'W', 0, 0, 2, L"W", L"検索: W"},
      {WM_CHAR, L'\b', 0, 0, 2, L"", L"forecast"},
      {WM_CHAR, L'q', 0, 0, 2, L"q", L"検索: q　（見つかりません）"},
  };
  // A miss is spoken once, as the info line shows it; a find moves the focus and says nothing.
  struct : Announcer {
    void Announce(HWND, const std::wstring& text, const wchar_t*) override { told.push_back(text); }
    std::vector<std::wstring> told;
  } announcer;
  SetAnnouncer(&announcer);
  for (const Step& step : steps) {
    clock.now.second += step.seconds_later;
    announcer.told.clear();
    SendMessageW(main(), step.message, step.typed, 0);
    const bool missed = step.info && std::wstring(step.info).ends_with(L"（見つかりません）");
    EXPECT_EQ(announcer.told,
              missed ? std::vector<std::wstring>{step.info} : std::vector<std::wstring>{})
        << int(step.typed);
    EXPECT_EQ(forms.main.TypedText(), step.text) << int(step.typed);
    EXPECT_EQ(forms.main.Selection().tag, step.tag) << int(step.typed);
    EXPECT_EQ(forms.main.FocusedSlot(), step.slot) << int(step.typed);
    if (step.info) {
      EXPECT_EQ(text(main_ids::InfoLine), step.info) << int(step.typed);
    }
  }
  SetAnnouncer(nullptr);
  SendMessageW(main(), WM_TIMER, 1, 0);
  EXPECT_EQ(forms.main.TypedText(), L"");
  EXPECT_EQ(text(main_ids::InfoLine), L"forecast");  // the focused slot's own display again
}

std::vector<std::pair<DWORD, HWND>> focus_events;  // and name changes
void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                           DWORD) {
  if ((event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_NAMECHANGE) &&
      object == OBJID_CLIENT && child == CHILDID_SELF) {
    focus_events.emplace_back(event, hwnd);
  }
}

// Screen readers read each button as the window shows it, follow the focus mark, and open a
// slot or switch pages by the default action as a click does.
TEST_F(MainWindowTest, ButtonsAreNamedPushButtonsWhoseDefaultActionIsAClick) {
  SetSlotField(Table(), Title, 0, 0, "Weather forecast for the week");
  SetSlotField(Table(), Target, 0, 0, "http://example.invalid/weather");
  SetSlotField(Table(), AccessCount, 0, 0, "3");
  SetSlotField(Table(), Flag1, 0, 1, "0");
  SetSlotField(Table(), Title, 0, 1, "hidden by the icon");
  SetSlotField(Table(), DisplayName, 0, 1, "\x83\x81\x83\x82\x92\xA0");  // メモ帳
  const std::wstring long_target = L"C:\\" + std::wstring(150, L'x') + L"\\memo.exe";
  SetSlotFieldWide(Table(), Target, 0, 1, long_target);  // longer than the field: read whole
  Start(/*show=*/true);
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr,
                                             OnFocusEvent, GetCurrentProcessId(), 0,
                                             WINEVENT_OUTOFCONTEXT);
  focus_events.clear();
  Key(VK_RIGHT);
  Key(VK_TAB);
  Key(VK_TAB);                    // the mark back on slot 1
  Key(VK_TAB, {VK_CONTROL});      // a page switch tells the slot again
  SendMessageW(main(), WM_CHAR, L'z', 0);  // found nowhere: the info line says so
  EXPECT_EQ(testing::Read(testing::AccessibleOfWindow(control(main_ids::InfoLine)).get()).name,
            L"検索: z　（見つかりません）");
  SendMessageW(main(), WM_CHAR, L'\x1B', 0);
  Key('1', {VK_CONTROL});
  PumpMessages();
  UnhookWinEvent(hook);
  const HWND slot1 = forms.main.SlotButton(1);
  constexpr DWORD kFocus = EVENT_OBJECT_FOCUS;
  EXPECT_EQ(focus_events, (std::vector<std::pair<DWORD, HWND>>{
                              {kFocus, slot1}, {kFocus, forms.main.PageButtonByTag(0)},
                              {kFocus, slot1}, {kFocus, slot1},
                              {EVENT_OBJECT_NAMECHANGE, control(main_ids::InfoLine)},
                              {kFocus, slot1}}));
  ASSERT_TRUE(SetForegroundWindow(main()));
  PumpMessages();

  constexpr DWORD kFocusable = STATE_SYSTEM_FOCUSABLE;
  constexpr DWORD kStates =
      kFocusable | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PRESSED | STATE_SYSTEM_INVISIBLE;
  struct Row {
    HWND button;
    const wchar_t* name;
    std::wstring description;
    DWORD state;
  };
  const Row rows[] = {
      {forms.main.SlotButton(0), L"Weather forecast for the week",
       L"D1 1/25 http://example.invalid/weather", kFocusable},
      {forms.main.SlotButton(1), L"メモ帳", L"D1 2/25 " + long_target,
       kFocusable | STATE_SYSTEM_FOCUSED},
      {forms.main.SlotButton(2), L"空き", L"D1 3/25", kFocusable},
      {forms.main.PageButtonByTag(0), L"D1", L"1/6", kFocusable | STATE_SYSTEM_PRESSED},
      {forms.main.PageButtonByTag(201), L"P2", L"6/6", kFocusable},
      {forms.main.PageButtonByTag(203), L"P4", L"", STATE_SYSTEM_INVISIBLE},  // a hidden page
  };
  for (const Row& row : rows) {
    testing::AccessiblePtr object = testing::AccessibleOf(row.button);
    ASSERT_TRUE(object) << row.name;
    const testing::AccessibleReading read = testing::Read(object.get());
    EXPECT_EQ(read.name, row.name);
    EXPECT_EQ(read.description, row.description) << row.name;
    EXPECT_EQ(read.role, ROLE_SYSTEM_PUSHBUTTON) << row.name;
    EXPECT_EQ(read.state & kStates, row.state) << row.name;
  }
  // Fields are named by their label, also where the visible one is empty or a check box's.
  for (const auto& [field, name] :
       {std::pair{url_ids::MemoBox, L"備考"}, {url_ids::KeyTitleEdit, L"Keyの文字"}}) {
    testing::AccessiblePtr object = testing::AccessibleOfWindow(forms.url_editor.Control(field));
    ASSERT_TRUE(object) << name;
    EXPECT_EQ(testing::Read(object.get()).name, name);
  }
  // In the background the mark is no focus.
  const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                     nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(SetForegroundWindow(other));
  EXPECT_EQ(testing::Read(testing::AccessibleOf(slot1).get()).state & kStates, kFocusable);
  DestroyWindow(other);

  testing::AccessiblePtr slot = testing::AccessibleOf(forms.main.SlotButton(0));
  ASSERT_EQ(slot->accDoDefaultAction(testing::Self()), S_OK);
  PumpMessages();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].verb, L"OPEN");
  EXPECT_EQ(shell.calls[0].file, L"http://example.invalid/weather");
  EXPECT_EQ(GetSlotField(Table(), AccessCount, 0, 0), "4");
  EXPECT_EQ(GetSlotField(Table(), LastAccess, 0, 0), "2026/12/8 17:30:5");

  testing::AccessiblePtr p1 = testing::AccessibleOf(forms.main.PageButtonByTag(200));
  ASSERT_EQ(p1->accDoDefaultAction(testing::Self()), S_OK);
  PumpMessages();
  EXPECT_EQ(forms.main.Selection().tag, 200);
  EXPECT_TRUE(forms.main.AcceptsDrops());
  EXPECT_EQ(testing::Read(p1.get()).state & kStates, kFocusable | STATE_SYSTEM_PRESSED);
  EXPECT_EQ(testing::Read(slot.get()).name, L"空き");  // the slot of the page shown now
}

TEST_F(MainWindowTest, ATakenHotKeyIsToldInTheInfoLineAndQuendaStartsAnyway) {
  std::ofstream(dir.path() / "Quenda.ini") << "[Keys]\nActivate=Ctrl+Shift+F12\n";
  ASSERT_TRUE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_SHIFT, VK_F12));
  Start();
  UnregisterHotKey(nullptr, 77);
  EXPECT_FALSE(forms.main.HotKeyRegistered());
  EXPECT_TRUE(forms.main.LoadedCleanly());
  EXPECT_EQ(text(main_ids::InfoLine), L"ホットキー Ctrl+Shift+F12 は他のプログラムが使用中です。");
  EXPECT_TRUE(prompts.prompts.shown.empty());
}

TEST_F(MainWindowTest, TheHotKeyRestoresAMinimisedWindowOntoTheCurrentSlot) {
  std::ofstream(dir.path() / "Quenda.ini") << "[Keys]\nActivate=junk\n";  // the default
  Start(/*show=*/true);
  EXPECT_TRUE(forms.main.HotKeyRegistered());
  EXPECT_EQ(text(main_ids::InfoLine), L"Quenda.ini のホットキー junk は使えません。");
  EXPECT_FALSE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_SPACE));
  Hover(forms.main.SlotButton(12));
  ShowWindow(main(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(main()));
  SendMessageW(main(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_SPACE));
  EXPECT_FALSE(IsIconic(main()));
  EXPECT_EQ(GetForegroundWindow(), main());
  EXPECT_EQ(forms.main.FocusedSlot(), 12);
  EXPECT_TRUE(Marked(forms.main.SlotButton(12)));
  SendMessageW(main(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_SPACE));
  EXPECT_TRUE(IsIconic(main()));
}

}  // namespace
}  // namespace quenda
