// The dialogs from the keyboard alone, over the main window as the program shows them.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/forms.h"
#include "core/table_file.h"
#include "platform/full_text_win.h"
#include "platform/cp932.h"
#include "resources/backup_chooser_layout.h"
#include "resources/folder_chooser_layout.h"
#include "resources/help_dialog_layout.h"
#include "resources/icon_picker_layout.h"
#include "resources/main_window_layout.h"
#include "resources/program_editor_layout.h"
#include "resources/resource_ids.h"
#include "resources/url_editor_layout.h"
#include "support/win_test_support.h"
#include "ui/speed_button.h"
#include "windows/modal_probe.h"

namespace quenda {
namespace {

constexpr UINT kShift = 0x10000;  // with a key: Shift is held

// The main window and every dialog, on a saved empty table.
class DialogKeysTest : public ::testing::Test {
 protected:
  DialogKeysTest() {
    SetShell(&shell);
    SlotTable empty;
    testing::WriteTable(dir.path(), empty);
    EXPECT_TRUE(Start(forms) && forms.CreateDialogsNow());
  }
  ~DialogKeysTest() override { SetShell(nullptr); }
  bool Start(Forms& f) { return f.Create(dir.path().wstring(), testing::PortableStorage(), "TEST"); }

  // Runs `open`, which shows a dialog modally, and inside its loop each of `steps` once the
  // messages the step before posted are handled; steps left when the dialog closes are dropped.
  static void RunSteps(const std::function<void()>& open,
                       const std::vector<std::function<void()>>& steps) {
    testing::ModalProbe probe;
    std::size_t next = 0;
    std::function<void()> step = [&] {
      if (next == steps.size()) return;
      steps[next++]();
      probe.Post(step);
    };
    probe.Post(step);
    open();
  }
  // Posts `keys` one at a time to the focused control of the dialog `open` shows, noting in
  // `focus` where the focus was before each. A dialog the keys leave open gives "left open".
  static std::wstring Press(win::Window& dialog, const std::function<std::wstring()>& open,
                            const std::vector<UINT>& keys, std::vector<HWND>* focus = nullptr) {
    std::vector<std::function<void()>> steps;
    for (const UINT key : keys) {
      steps.push_back([=] {
        if (focus) focus->push_back(GetFocus());
        BYTE state[256] = {};
        state[VK_SHIFT] = (key & kShift) ? 0x80 : 0;
        SetKeyboardState(state);
        PostMessageW(GetFocus(), WM_KEYDOWN, key & 0xFFFF, 0);
      });
    }
    bool left_open = false;
    steps.push_back([&] { left_open = PostMessageW(dialog.hwnd(), WM_CLOSE, 0, 0); });
    std::wstring given;
    RunSteps([&] { given = open(); }, steps);
    BYTE none[256] = {};
    SetKeyboardState(none);
    return left_open ? L"left open" : given;
  }

  testing::ScopedTempDir dir;
  testing::ScopedPrompts prompts;
  testing::RecordingShell shell;
  Forms forms;
};

// Each dialog: where the focus starts, the round Tab makes (Shift+Tab goes back), and what keys
// give: Enter stores, Esc cancels, Space presses the focused button; the picker's arrows move
// over its icons, the help's link opens by Enter.
TEST_F(DialogKeysTest, EveryDialogWorksFromTheKeyboardAlone) {
  const HWND main = forms.main.hwnd();
  const auto entry = [](const std::optional<SlotEntry>& edited, HWND memo) {
    // A Tab passing through the memo types nothing into it.
    return std::wstring(edited ? L"stored" : L"cancelled") + win::GetText(memo);
  };
  const std::wstring five = testing::BesideTests(L"test_icons5.dll").wstring();
  const HWND tree = forms.folder.Control(folder_ids::Tree);
  struct Keys {
    std::vector<UINT> keys;  // after the Tab round, on the first press
    std::wstring gives;
  };
  // Enter stores; Space on "クリヤー" (three back from the first field) asks, Esc cancels.
  const std::vector<Keys> editor_presses = {
      {{VK_RETURN}, L"stored"},
      {{VK_TAB | kShift, VK_TAB | kShift, VK_TAB | kShift, VK_SPACE, VK_ESCAPE}, L"cancelled"}};
  struct Row {
    const char* name;
    win::LayoutWindow& dialog;
    std::function<std::wstring()> open;
    std::vector<int> round;  // from the first field on
    std::vector<Keys> presses;
    std::size_t prompts = 0;
  } rows[] = {
      {"URL editor", forms.url_editor,
       [&] {
         return entry(forms.url_editor.Edit(main, SlotEditAt(forms.table, 0, 0)),
                      forms.url_editor.Control(url_ids::MemoBox));
       },
       {url_ids::AddressEdit, url_ids::HeadingEdit, url_ids::MemoBox, url_ids::ShowTitleBox,
        url_ids::KeyTitleEdit, url_ids::IconFileButton, url_ids::LocalPageButton,
        url_ids::CaptureButton, url_ids::ClearButton, url_ids::SetButton, url_ids::CancelButton},
       editor_presses, 1},
      {"program editor", forms.program_editor,
       [&] {
         return entry(forms.program_editor.Edit(main, SlotEditAt(forms.table, 8, 0)),
                      forms.program_editor.Control(prg_ids::MemoBox));
       },
       {prg_ids::HeadingEdit, prg_ids::ProgramButton, prg_ids::WorkFolderButton, prg_ids::MemoBox,
        prg_ids::ClearButton, prg_ids::SetButton, prg_ids::CancelButton},
       editor_presses, 1},
      {"folder chooser", forms.folder,
       [&] {
         SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET,
                      reinterpret_cast<LPARAM>(forms.folder.Root()));
         return forms.folder.ChooseFolder(main) ? L"stored" : L"cancelled";
       },
       {folder_ids::Tree, folder_ids::SetButton, folder_ids::CancelButton},
       {{{VK_RETURN}, L"stored"}, {{VK_TAB | kShift, VK_SPACE}, L"cancelled"},
        {{VK_ESCAPE}, L"cancelled"}}},
      {"icon picker", forms.icon_picker,
       [&] { return std::to_wstring(forms.icon_picker.IconChoice(main, win::ToCp932(five))); },
       {picker_ids::Strip, picker_ids::OkButton},
       // The arrows move the key cell; Esc keeps the last choice; Space on the strip chooses,
       // Space on OK closes.
       {{{VK_RIGHT, VK_RIGHT, VK_LEFT, VK_RETURN}, L"1"},
        {{VK_RIGHT, VK_ESCAPE}, L"1"},
        {{VK_END, VK_LEFT, VK_SPACE, VK_TAB, VK_SPACE}, L"3"}}},
      {"help", forms.help,
       [&] {
         forms.help.ShowModal(main);
         return L"closed";
       },
       {help_ids::OkButton, help_ids::Link},
       // Enter on the link opens it and the dialog stays.
       {{{VK_TAB, VK_RETURN, VK_TAB, VK_RETURN}, L"closed"}, {{VK_SPACE}, L"closed"},
        {{VK_ESCAPE}, L"closed"}}},
      {"backups", forms.backups,
       [&] {
         const auto chosen = forms.backups.ChooseBackup(main, {L"2026/12/8", L"2026/12/7"});
         return chosen ? std::to_wstring(*chosen) : L"cancelled";
       },
       {backup_ids::List, backup_ids::RestoreButton, backup_ids::CancelButton},
       // Enter restores the line selected, the newest at first; Space on a button presses it.
       {{{VK_DOWN, VK_RETURN}, L"1"}, {{VK_RETURN}, L"0"}, {{VK_ESCAPE}, L"cancelled"},
        {{VK_TAB, VK_TAB, VK_SPACE}, L"cancelled"}}},
  };
  for (Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<UINT> keys(row.round.size(), VK_TAB);
    keys.push_back(VK_TAB | kShift);
    keys.push_back(VK_TAB);
    std::vector<HWND> focus;
    const std::size_t prompts_before = prompts.prompts.shown.size();
    for (std::size_t n = 0; n < row.presses.size(); ++n) {
      std::vector<UINT> pressed = n == 0 ? keys : std::vector<UINT>{};
      pressed.insert(pressed.end(), row.presses[n].keys.begin(), row.presses[n].keys.end());
      EXPECT_EQ(Press(row.dialog, row.open, pressed, n == 0 ? &focus : nullptr),
                row.presses[n].gives)
          << "press " << n;
    }
    std::vector<HWND> expected;
    for (int id : row.round) expected.push_back(row.dialog.Control(id));
    expected.push_back(expected.front());  // round again
    expected.push_back(expected[expected.size() - 2]);  // and one back
    expected.push_back(expected.front());
    ASSERT_GE(focus.size(), expected.size());
    focus.resize(expected.size());
    EXPECT_EQ(focus, expected);
    EXPECT_EQ(prompts.prompts.shown.size() - prompts_before, row.prompts);
  }
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, win::GetText(forms.help.Control(help_ids::Link)));
}

// While a dialog is modal, what still reaches the main window opens and changes nothing; a drop
// is refused in the info line, unasked.
TEST_F(DialogKeysTest, NothingActsBehindADialog) {
  const HWND main = forms.main.hwnd(), slot = forms.main.SlotButton(1);
  SetSlotField(forms.table, Target, 8, 1, "C:\\Tools\\a.exe");
  SetSlotField(forms.table, AccessCount, 8, 1, "4");
  testing::Click(forms.main.PageButtonByTag(200));
  RECT r;
  GetWindowRect(slot, &r);
  POINT at{r.left + 5, r.top + 5};
  ScreenToClient(main, &at);
  const auto state = [&] {
    return std::to_wstring(shell.calls.size()) + L" " +
           std::to_wstring(prompts.prompts.shown.size()) + L" " +
           SlotFieldWide(forms.table, AccessCount, 8, 1) + SlotFieldWide(forms.table, Target, 8, 2) + L" " +
           std::to_wstring(forms.main.Selection().tag) + L" " +
           std::to_wstring(forms.main.FocusedSlot()) +
           (win::SpeedButton::From(forms.main.SlotButton(0))->FocusMark() ? L" marked" : L"");
  };
  const std::wstring before = state();
  const std::function<void()> acts[] = {
      [&] { PostMessageW(main, WM_DROPFILES, WPARAM(testing::MakeDrop(at, {L"C:\\b.exe"})), 0); },
      [&] { testing::PostClick(slot); },
      [&] { testing::AccessibleOf(slot)->accDoDefaultAction(testing::Self()); },
      [&] { PostMessageW(main, WM_KEYDOWN, VK_RIGHT, 0); },
      [&] { PostMessageW(main, WM_HOTKEY, 1, 0); },
      [&] { testing::PostClick(forms.main.PageButtonByTag(0)); },
  };
  std::vector<std::wstring> after;
  std::vector<std::function<void()>> steps;
  for (const auto& act : acts) steps.insert(steps.end(), {act, [&] { after.push_back(state()); }});
  steps.push_back([&] { testing::PostClick(forms.program_editor.Control(prg_ids::CancelButton)); });
  RunSteps([&] { SendMessageW(main, WM_COMMAND, IDM_EDIT, 0); }, steps);
  EXPECT_EQ(after, std::vector<std::wstring>(std::size(acts), before));
  EXPECT_EQ(win::GetText(forms.main.Control(main_ids::InfoLine)),
            L"ダイアログを閉じてからドロップしてください。");
}

// A log-off with any dialog or message box open saves the table and ends the program, without
// touching the windows it destroyed.
TEST_F(DialogKeysTest, ALogOffWithADialogOpenSavesAndEnds) {
  testing::ScriptedFiles files;
  SetFileDialogs(&files);
  const std::filesystem::path table = dir.path() / L"Quenda.Tbl";
  struct Row {
    const char* name;
    int page_tag;
    UINT command;  // none: a drop's question in the system's own message box
    int inner = 0;  // a program editor's button that opens one more dialog
  } rows[] = {
      {"help", 0, IDM_HELP},
      {"backups", 0, IDM_RESTORE_BACKUP},
      {"URL editor", 0, IDM_EDIT},
      {"program editor", 200, IDM_EDIT},
      {"icon picker", 200, IDM_EDIT, prg_ids::ProgramButton},
      {"folder chooser", 200, IDM_EDIT, prg_ids::WorkFolderButton},
      {"message box", 200, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    files.answers = {testing::BesideTests(L"test_icons5.dll").wstring()};
    Forms f;
    ASSERT_TRUE(Start(f) && f.CreateDialogsNow());
    const HWND main = f.main.hwnd();
    testing::Click(f.main.PageButtonByTag(row.page_tag));
    std::filesystem::remove(table);
    if (!row.command) SetPrompts(nullptr);
    bool quit = false;  // asked before the probe goes, as the probe's own peek would take it
    RunSteps(
        [&] {
          SendMessageW(main, row.command ? WM_COMMAND : WM_DROPFILES,
                       row.command ? row.command : WPARAM(testing::MakeDrop({20, 60}, {L"b"})), 0);
          MSG msg;
          quit = PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        },
        {[&] { if (row.inner) testing::PostClick(f.program_editor.Control(row.inner)); },
         [&] {
           SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
           SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
         }});
    SetPrompts(&prompts.prompts);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(std::filesystem::exists(table));
    EXPECT_TRUE(quit);
  }
  SetFileDialogs(nullptr);
}

// After a click into the info line or the memo, Esc and Tab give the focus back to the grid and
// what is typed there finds slots.
TEST_F(DialogKeysTest, TheGridKeepsTheKeyboard) {
  SetSlotField(forms.table, Title, 0, 3, "xyz");
  const HWND main = forms.main.hwnd();
  ShowWindow(main, SW_SHOW);
  const std::pair<UINT, WPARAM> keys[] = {{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, VK_TAB},
                                          {WM_CHAR, L'y'}};
  for (int id : {main_ids::InfoLine, main_ids::MemoBox}) {
    for (const auto& [message, key] : keys) {
      SetFocus(forms.main.Control(id));
      ASSERT_EQ(GetFocus(), forms.main.Control(id));
      SendMessageW(GetFocus(), message, key, 0);
      EXPECT_EQ(GetFocus(), main) << id << " " << key;
    }
  }
  EXPECT_EQ(forms.main.FocusedSlot(), 3);
}

}  // namespace
}  // namespace quenda
