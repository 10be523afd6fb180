// The program entry editor on prepared slots, its buttons pressed with real clicks; the file
// dialog and the message boxes are scripted, the picker and the folder chooser are the real
// ones, answered from inside their modal loops.
#include "windows/program_editor.h"

#include <gtest/gtest.h>

#include "app/forms.h"
#include "core/now_text.h"
#include "core/table_file.h"
#include "platform/cp932.h"
#include "platform/file_dialog.h"
#include "platform/full_text_win.h"
#include "platform/icon_bitmap.h"
#include "platform/table_storage_win.h"
#include "resources/folder_chooser_layout.h"
#include "resources/icon_picker_layout.h"
#include "resources/program_editor_layout.h"
#include "resources/resource_ids.h"
#include "support/win_test_support.h"
#include "windows/modal_probe.h"

namespace quenda {
namespace {

using testing::EditorTable;
using testing::FixedClock;
using testing::PostClick;


class ProgramEditorTest : public ::testing::Test {
 protected:
  ProgramEditorTest() {
    SetClock(&clock);
    SetFileDialogs(&files);
    EditorTable() = SlotTable{};
    SetSlotField(EditorTable(), Flag0, 8, 3, "F");
    SetSlotField(EditorTable(), Flag1, 8, 3, "0");
    SetSlotField(EditorTable(), Title, 8, 3, "Old.exe");
    SetSlotField(EditorTable(), Target, 8, 3, "C:\\Old\\Old.exe");
    SetSlotField(EditorTable(), DisplayName, 8, 3, "old name");
    SetSlotField(EditorTable(), WorkFolder, 8, 3, "C:\\Old");
    SetSlotField(EditorTable(), AccessCount, 8, 3, "41");
    SetSlotField(EditorTable(), LastAccess, 8, 3, "2026/11/30 7:00:00");
    SetSlotField(EditorTable(), Memo, 8, 3, "old memo");
    Picture green(32, 32, 0xFFFFFF);
    for (int y = 4; y < 28; ++y)
      for (int x = 4; x < 28; ++x) green.Set(x, y, 0x00FF00);
    StoreSlotIcon(EditorTable(), 8, 3, green);
    created = picker.Create(nullptr) && folders.Create(nullptr) &&
              editor.Create(nullptr, &picker, &folders);
  }
  ~ProgramEditorTest() override {
    SetFileDialogs(nullptr);
    SetClock(nullptr);
    testing::PumpMessages();
  }

  HWND control(int id) { return editor.Control(id); }
  std::wstring text(int id) { return win::GetText(control(id)); }
  void Click(int id) { testing::Click(control(id), 3, 3); }
  std::string field(int no) { return GetSlotField(EditorTable(), no, 8, 3); }
  // The editor on slot 8/3, as the main window hands it; "設　定" and the store behind it.
  void Open() { editor.Load(SlotEditAt(EditorTable(), 8, 3)); }
  void Store() {
    Click(prg_ids::SetButton);
    ASSERT_TRUE(editor.Result());
    StoreSlotEntry(EditorTable(), 8, 3, *editor.Result());
  }

  testing::ScopedPrompts prompts;
  testing::ScopedTempDir dir;
  FixedClock clock{{2026, 12, 8, 11, 0, 1}};
  testing::ScriptedFiles files;
  IconPicker picker;
  FolderChooser folders;
  ProgramEditor editor;
  bool created = false;
};

TEST_F(ProgramEditorTest, OpensOnTheSlotsFieldsAndIcon) {
  ASSERT_TRUE(created);
  EXPECT_EQ(win::GetText(editor.hwnd()), L"プログラムランチ　登録／編集");
  RECT client;
  GetClientRect(editor.hwnd(), &client);
  EXPECT_EQ(client.right, kProgramEditorSize.width);
  EXPECT_EQ(client.bottom, kProgramEditorSize.height);
  Open();
  EXPECT_EQ(text(prg_ids::TitleText), L"Old.exe");
  EXPECT_EQ(text(prg_ids::ProgramPath), L"C:\\Old\\Old.exe");
  EXPECT_EQ(text(prg_ids::WorkFolderPath), L"C:\\Old");
  EXPECT_EQ(text(prg_ids::MemoBox), L"old memo");
  EXPECT_EQ(text(prg_ids::AccessCountPanel), L"41");
  EXPECT_EQ(text(prg_ids::LastAccessPanel), L"2026/11/30 7:00:00");
  EXPECT_EQ(text(prg_ids::HeadingEdit), L"old name");
  EXPECT_EQ(editor.Glyph(), EditorTable().At(8, 3).icon);
  for (auto [id, caption] :
       {std::pair{prg_ids::TitleLabel, L"プログラム名"}, {prg_ids::HeadingLabel, L"タイトル"},
        {prg_ids::WorkFolderLabel, L"作業フォルダー"}, {prg_ids::MemoLabel, L"備　考"},
        {prg_ids::ClearButton, L"クリヤー"}, {prg_ids::SetButton, L"設　定"},
        {prg_ids::CancelButton, L"ｷｬﾝｾﾙ"}}) {
    EXPECT_EQ(text(id), caption);
  }

  EditorTable() = SlotTable{};  // an empty slot: empty controls and a black icon
  Open();
  EXPECT_EQ(text(prg_ids::ProgramPath), L"");
  EXPECT_EQ(text(prg_ids::HeadingEdit), L"");
  EXPECT_EQ(editor.Glyph(), BlankIcon());
}

TEST_F(ProgramEditorTest, ChoosingAProgramChangesTheSlotOnlyWhenStored) {
  ASSERT_TRUE(created);
  const auto ico = dir.path() / L"Editor.ico";  // one icon: no picker
  testing::WriteIconFile(ico, 0xFF0000);
  Open();
  files.answers = {std::nullopt, ico.wstring(), ico.wstring()};
  Click(prg_ids::ProgramButton);  // cancelled
  EXPECT_EQ(text(prg_ids::ProgramPath), L"C:\\Old\\Old.exe");
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].filter, L"プログラム　(*.exe)|*.Exe");
  EXPECT_TRUE(files.requests[0].keep_shortcuts);

  Click(prg_ids::ProgramButton);
  EXPECT_EQ(text(prg_ids::ProgramPath), ico.wstring());
  EXPECT_EQ(text(prg_ids::TitleText), L"Editor.ico");
  EXPECT_EQ(text(prg_ids::HeadingEdit), L"Editor.ico");
  EXPECT_EQ(text(prg_ids::AccessCountPanel), L"0");
  EXPECT_EQ(text(prg_ids::LastAccessPanel), L"2026/12/8 11:0:1");
  EXPECT_EQ(text(prg_ids::WorkFolderPath), L"");
  EXPECT_EQ(text(prg_ids::MemoBox), L"");
  EXPECT_EQ(editor.Glyph().At(16, 16), 9);      // red icon
  EXPECT_EQ(editor.Glyph().At(1, 1), kBlack);   // on the black blank
  // The slot is untouched until "設　定"; "ｷｬﾝｾﾙ" leaves it so.
  EXPECT_EQ(field(Target), "C:\\Old\\Old.exe");
  EXPECT_EQ(EditorTable().At(8, 3).icon.At(16, 16), 10);
  Click(prg_ids::CancelButton);
  EXPECT_FALSE(editor.Result());
  EXPECT_EQ(field(Target), "C:\\Old\\Old.exe");
  EXPECT_EQ(field(Memo), "old memo");
  EXPECT_EQ(EditorTable().At(8, 3).icon.At(16, 16), 10);

  Open();
  Click(prg_ids::ProgramButton);
  win::SetText(control(prg_ids::HeadingEdit), L"エディタ");  // the display name only
  win::SetText(control(prg_ids::MemoBox), L"備考");
  Store();
  EXPECT_EQ(win::FromCp932(field(Target)), ico.wstring());
  EXPECT_EQ(field(Title), "Editor.ico");
  EXPECT_EQ(win::FromCp932(field(DisplayName)), L"エディタ");
  EXPECT_EQ(win::FromCp932(field(Memo)), L"備考");
  EXPECT_EQ(field(Flag1), "0");
  EXPECT_EQ(field(Flag0), "");  // the working copy was cleared by the choice
  EXPECT_EQ(field(WorkFolder), "");
  EXPECT_EQ(field(AccessCount), "0");
  EXPECT_EQ(field(LastAccess), "2026/12/8 11:0:1");
  EXPECT_EQ(EditorTable().At(8, 3).icon.At(16, 16), 9);
  EXPECT_EQ(EditorTable().At(8, 3).icon.At(1, 1), kBlack);
}

TEST_F(ProgramEditorTest, WholeTextsAreShownAndStoredBeyondTheFields) {
  ASSERT_TRUE(created);
  const std::wstring folder = L"C:\\" + std::wstring(80, L'\u9577') + L"\\\uD55C";
  SetSlotFieldWide(EditorTable(), WorkFolder, 8, 3, folder);
  Open();
  EXPECT_EQ(text(prg_ids::WorkFolderPath), folder);
  EXPECT_EQ(text(prg_ids::ProgramPath), L"C:\\Old\\Old.exe");

  std::filesystem::create_directory(dir.path() / L"\uD55C\u00E9");
  const auto ico = dir.path() / L"\uD55C\u00E9" / L"\U0001F600.ico";
  testing::WriteIconFile(ico, 0xFF0000);
  files.answers = {ico.wstring()};
  Click(prg_ids::ProgramButton);
  EXPECT_EQ(text(prg_ids::ProgramPath), ico.wstring());
  Store();
  EXPECT_EQ(field(Target), win::ToCp932Field(ico.wstring(), 128).bytes);
  EXPECT_EQ(SlotFieldWide(EditorTable(), Target, 8, 3), ico.wstring());
  EXPECT_EQ(SlotFieldWide(EditorTable(), WorkFolder, 8, 3), L"");  // a new program has no folder yet
}

TEST_F(ProgramEditorTest, AProgramWithSeveralIconsAsksThePicker) {
  ASSERT_TRUE(created);
  const auto program = dir.path() / L"道具箱.exe";
  std::filesystem::copy_file(testing::BesideTests(L"test_icons5.dll"), program);
  Open();
  files.answers = {program.wstring()};
  // Inside the picker's modal loop: hover and click cell 2, then OK.
  const HWND strip = picker.Control(picker_ids::Strip);
  PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(70, 5));
  PostClick(strip, 70, 5);
  PostClick(picker.Control(picker_ids::OkButton));
  Click(prg_ids::ProgramButton);
  EXPECT_EQ(picker.SelectedIcon(), 2);
  EXPECT_EQ(win::FromCp932(FieldText(editor.WorkingRecord().fields.Title)), L"道具箱.exe");
  EXPECT_EQ(editor.Glyph().At(8, 24), 12);  // icon 2 is blue
}

// Runs at 96 and at 144 DPI, where the system's icon size is 48: the strip and the editor take
// each icon's 32-pixel image, though it is never the first of the icon's images.
TEST_F(ProgramEditorTest, TheStripAndTheEditorShowEachIconsOwn32PixelImage) {
  ASSERT_TRUE(created);
  const auto program = dir.path() / L"sizes.exe";
  std::filesystem::copy_file(testing::BesideTests(L"test_icons_sizes.dll"), program);
  Open();
  files.answers = {program.wstring()};
  const HWND strip = picker.Control(picker_ids::Strip);
  const int x = picker.Cell() + 5;  // cell 1 at the window's DPI
  PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(x, 5));
  PostClick(strip, x, 5);
  PostClick(picker.Control(picker_ids::OkButton));
  Click(prg_ids::ProgramButton);
  EXPECT_EQ(picker.SelectedIcon(), 1);
  const Picture cells = win::PictureFromBitmap(picker.StripBitmap());
  EXPECT_TRUE(testing::IsThe32PixelImage(cells, 0));
  EXPECT_TRUE(testing::IsThe32PixelImage(cells, 32));
  EXPECT_TRUE(testing::IsThe32PixelImage(IconPicture(editor.Glyph())));
}

TEST_F(ProgramEditorTest, AShortcutTakesTheShellsNameAndIcon) {
  ASSERT_TRUE(created);
  const auto ico = dir.path() / L"target.ico";
  testing::WriteIconFile(ico, 0x0000FF);
  const auto link = dir.path() / L"Doc.lnk";
  ASSERT_TRUE(testing::WriteShortcut(link, ico));
  SHFILEINFOW info{};
  SHGetFileInfoW(link.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
  Open();
  files.answers = {link.wstring()};
  Click(prg_ids::ProgramButton);
  EXPECT_EQ(text(prg_ids::TitleText), info.szDisplayName);
  EXPECT_EQ(text(prg_ids::ProgramPath), link.wstring());
  bool coloured = false;
  for (int i = 0; i < 32 * 32; ++i) coloured |= editor.Glyph().index[i] != kBlack;
  EXPECT_TRUE(coloured);
}

TEST_F(ProgramEditorTest, TheWorkingFolderComesFromTheChooserAndItsCancelKeepsIt) {
  ASSERT_TRUE(created);
  Open();
  PostClick(folders.Control(folder_ids::CancelButton));  // "ｷｬﾝｾﾙ": an empty choice
  Click(prg_ids::WorkFolderButton);
  EXPECT_EQ(text(prg_ids::WorkFolderPath), L"C:\\Old");

  // "設　定" on the desktop, the tree's root.
  const HWND tree = folders.Control(folder_ids::Tree);
  PostMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folders.Root()));
  PostClick(folders.Control(folder_ids::SetButton));
  Click(prg_ids::WorkFolderButton);
  ASSERT_FALSE(folders.ChosenFolder().empty());
  EXPECT_EQ(text(prg_ids::WorkFolderPath), folders.ChosenFolder());
  Store();
  EXPECT_EQ(field(WorkFolder), win::ToCp932(folders.ChosenFolder()));
  EXPECT_EQ(field(Target), "C:\\Old\\Old.exe");
}

TEST_F(ProgramEditorTest, ClearEmptiesTheSlotAtOnce) {
  ASSERT_TRUE(created);
  Open();
  prompts.prompts.answers = {IDNO, IDYES};
  Click(prg_ids::ClearButton);
  EXPECT_EQ(field(Target), "C:\\Old\\Old.exe");
  Click(prg_ids::ClearButton);
  ASSERT_EQ(prompts.prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.prompts.shown[1].text, L"項目をクリヤーしますか？");
  EXPECT_EQ(prompts.prompts.shown[1].caption, L"確認");
  EXPECT_EQ(prompts.prompts.shown[1].type, UINT(MB_YESNO));
  EXPECT_EQ(field(Target), "");
  EXPECT_EQ(EditorTable().At(8, 3).icon.At(16, 16), kWhite);
  EXPECT_EQ(text(prg_ids::ProgramPath), L"");
  EXPECT_EQ(editor.Glyph(), BlankIcon());
  Click(prg_ids::CancelButton);  // cancel keeps the clear
  EXPECT_EQ(field(Title), "");

  Open();
  Click(prg_ids::ClearButton);  // no answer left: IDOK, not Yes
  EXPECT_EQ(field(Flag1), "");
  prompts.prompts.answers = {IDYES};
  Click(prg_ids::ClearButton);
  Store();  // stores the empty controls with the blank glyph
  EXPECT_EQ(field(Flag1), "0");
  EXPECT_EQ(field(Target), "");
  EXPECT_EQ(EditorTable().At(8, 3).icon.At(16, 16), kBlack);
}

// "内容の編集" on a program page opens this editor; "ｷｬﾝｾﾙ" closes it and the table is saved.
TEST(PrgEditFromMainWindow, EditingOpensTheEditorAndSavesAfterCancel) {
  testing::ScopedTempDir dir;
  testing::ScopedPrompts prompts;
  Win32TableStorage storage;
  Forms forms;
  ASSERT_TRUE(forms.Create(dir.path().wstring(), storage, "TEST"));
  ASSERT_TRUE(forms.CreateDialogsNow());
  testing::Click(forms.main.PageButtonByTag(200), 3, 3);
  bool shown = false;
  PostClick(forms.program_editor.Control(prg_ids::CancelButton));
  SendMessageW(forms.main.hwnd(), WM_COMMAND, IDM_EDIT, 0);
  shown = !forms.program_editor.InModal();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / L"Quenda.Tbl"));
  testing::PumpMessages();
}

}  // namespace
}  // namespace quenda
