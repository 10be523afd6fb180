// The program entry editor on prepared slots, its buttons pressed with real clicks; the file
// dialog and the message boxes are scripted, the picker and the folder chooser are the real
// ones, answered from inside their modal loops.
#include "windows/prg_form.h"

#include <gtest/gtest.h>

#include "app/forms.h"
#include "core/now_text.h"
#include "core/table_file.h"
#include "platform/cp932.h"
#include "platform/file_dialog.h"
#include "platform/full_text_win.h"
#include "platform/icon_bitmap.h"
#include "platform/table_storage_win.h"
#include "resources/get_folder_layout.h"
#include "resources/prg_form_layout.h"
#include "resources/prg_icon_get_box_layout.h"
#include "resources/resource_ids.h"
#include "support/win_test_support.h"
#include "windows/modal_probe.h"

namespace quenda {
namespace {

using testing::FixedClock;
using testing::PostClick;

class PrgFormTest : public ::testing::Test {
 protected:
  PrgFormTest() {
    SetClock(&clock);
    SetFileDialogs(&files);
    InitSlotTable();
    SetSlotField(Flag0, 8, 3, "F");
    SetSlotField(Flag1, 8, 3, "0");
    SetSlotField(Title, 8, 3, "Old.exe");
    SetSlotField(Target, 8, 3, "C:\\Old\\Old.exe");
    SetSlotField(DisplayName, 8, 3, "old name");
    SetSlotField(WorkFolder, 8, 3, "C:\\Old");
    SetSlotField(AccessCount, 8, 3, "41");
    SetSlotField(LastAccess, 8, 3, "2026/11/30 7:00:00");
    SetSlotField(Memo, 8, 3, "old memo");
    Picture green(32, 32, 0xFFFFFF);
    for (int y = 4; y < 28; ++y)
      for (int x = 4; x < 28; ++x) green.Set(x, y, 0x00FF00);
    StoreSlotIcon(8, 3, green);
    created = picker.Create(nullptr) && folders.Create(nullptr) &&
              editor.Create(nullptr, &picker, &folders);
  }
  ~PrgFormTest() override {
    SetFileDialogs(nullptr);
    SetClock(nullptr);
    testing::PumpMessages();
  }

  HWND control(int id) { return editor.Control(id); }
  std::wstring text(int id) { return win::GetText(control(id)); }
  void Click(int id) { testing::Click(control(id), 3, 3); }
  std::string field(int no) { return GetSlotField(no, 8, 3); }
  // The editor on slot 8/3, as the main window hands it; "設　定" and the store behind it.
  void Open() { editor.Load(SlotEditAt(8, 3)); }
  void Store() {
    Click(prg_ids::SpeedButton3);
    ASSERT_TRUE(editor.Result());
    StoreSlotEntry(8, 3, *editor.Result());
  }

  testing::ScopedPrompts prompts;
  testing::ScopedTempDir dir;
  FixedClock clock{{2026, 12, 8, 11, 0, 1}};
  testing::ScriptedFiles files;
  TPrgIconGetBox picker;
  TGetFolder folders;
  TPrgForm editor;
  bool created = false;
};

TEST_F(PrgFormTest, OpensOnTheSlotsFieldsAndIcon) {
  ASSERT_TRUE(created);
  EXPECT_EQ(win::GetText(editor.hwnd()), L"プログラムランチ　登録／編集");
  RECT client;
  GetClientRect(editor.hwnd(), &client);
  EXPECT_EQ(client.right, 595);
  EXPECT_EQ(client.bottom, 314);
  Open();
  EXPECT_EQ(text(prg_ids::Label7), L"Old.exe");
  EXPECT_EQ(text(prg_ids::Label2), L"C:\\Old\\Old.exe");
  EXPECT_EQ(text(prg_ids::Label5), L"C:\\Old");
  EXPECT_EQ(text(prg_ids::Memo1), L"old memo");
  EXPECT_EQ(text(prg_ids::Panel2), L"41");
  EXPECT_EQ(text(prg_ids::Panel1), L"2026/11/30 7:00:00");
  EXPECT_EQ(text(prg_ids::Edit1), L"old name");
  EXPECT_EQ(editor.Glyph(), SlotIconBitmap(8, 3));
  for (auto [id, caption] : {std::pair{prg_ids::Label6, L"プログラム名"}, {prg_ids::Label11, L"タイトル"},
                             {prg_ids::Label4, L"作業フォルダー"}, {prg_ids::Label9, L"備　考"},
                             {prg_ids::SpeedButton8, L"クリヤー"}, {prg_ids::SpeedButton3, L"設　定"},
                             {prg_ids::SpeedButton4, L"ｷｬﾝｾﾙ"}}) {
    EXPECT_EQ(text(id), caption);
  }

  InitSlotTable();  // an empty slot: empty controls and a black icon
  Open();
  EXPECT_EQ(text(prg_ids::Label2), L"");
  EXPECT_EQ(text(prg_ids::Edit1), L"");
  EXPECT_EQ(editor.Glyph(), BlankIcon());
}

TEST_F(PrgFormTest, ChoosingAProgramChangesTheSlotOnlyWhenStored) {
  ASSERT_TRUE(created);
  const auto ico = dir.path() / L"Editor.ico";  // one icon: no picker
  testing::WriteIconFile(ico, 0xFF0000);
  Open();
  files.answers = {std::nullopt, ico.wstring(), ico.wstring()};
  Click(prg_ids::SpeedButton6);  // cancelled
  EXPECT_EQ(text(prg_ids::Label2), L"C:\\Old\\Old.exe");
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].filter, L"プログラム　(*.exe)|*.Exe");
  EXPECT_TRUE(files.requests[0].keep_shortcuts);

  Click(prg_ids::SpeedButton6);
  EXPECT_EQ(text(prg_ids::Label2), ico.wstring());
  EXPECT_EQ(text(prg_ids::Label7), L"Editor.ico");
  EXPECT_EQ(text(prg_ids::Edit1), L"Editor.ico");
  EXPECT_EQ(text(prg_ids::Panel2), L"0");
  EXPECT_EQ(text(prg_ids::Panel1), L"2026/12/8 11:0:1");
  EXPECT_EQ(text(prg_ids::Label5), L"");
  EXPECT_EQ(text(prg_ids::Memo1), L"");
  EXPECT_EQ(editor.Glyph().At(16, 16), 9);      // red icon
  EXPECT_EQ(editor.Glyph().At(1, 1), kBlack);   // on the black blank
  // The slot is untouched until "設　定"; "ｷｬﾝｾﾙ" leaves it so.
  EXPECT_EQ(field(Target), "C:\\Old\\Old.exe");
  EXPECT_EQ(SlotIconBitmap(8, 3).At(16, 16), 10);
  Click(prg_ids::SpeedButton4);
  EXPECT_FALSE(editor.Result());
  EXPECT_EQ(field(Target), "C:\\Old\\Old.exe");
  EXPECT_EQ(field(Memo), "old memo");
  EXPECT_EQ(SlotIconBitmap(8, 3).At(16, 16), 10);

  Open();
  Click(prg_ids::SpeedButton6);
  win::SetText(control(prg_ids::Edit1), L"エディタ");  // the display name only
  win::SetText(control(prg_ids::Memo1), L"備考");
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
  EXPECT_EQ(SlotIconBitmap(8, 3).At(16, 16), 9);
  EXPECT_EQ(SlotIconBitmap(8, 3).At(1, 1), kBlack);
}

TEST_F(PrgFormTest, WholeTextsAreShownAndStoredBeyondTheFields) {
  ASSERT_TRUE(created);
  const std::wstring folder = L"C:\\" + std::wstring(80, L'\u9577') + L"\\\uD55C";
  SetSlotFieldWide(WorkFolder, 8, 3, folder);
  Open();
  EXPECT_EQ(text(prg_ids::Label5), folder);
  EXPECT_EQ(text(prg_ids::Label2), L"C:\\Old\\Old.exe");

  std::filesystem::create_directory(dir.path() / L"\uD55C\u00E9");
  const auto ico = dir.path() / L"\uD55C\u00E9" / L"\U0001F600.ico";
  testing::WriteIconFile(ico, 0xFF0000);
  files.answers = {ico.wstring()};
  Click(prg_ids::SpeedButton6);
  EXPECT_EQ(text(prg_ids::Label2), ico.wstring());
  Store();
  EXPECT_EQ(field(Target), win::ToCp932Field(ico.wstring(), 128).bytes);
  EXPECT_EQ(SlotFieldWide(Target, 8, 3), ico.wstring());
  EXPECT_EQ(SlotFieldWide(WorkFolder, 8, 3), L"");  // a new program has no folder yet
}

TEST_F(PrgFormTest, AProgramWithSeveralIconsAsksThePicker) {
  ASSERT_TRUE(created);
  const auto program = dir.path() / L"道具箱.exe";
  std::filesystem::copy_file(testing::BesideTests(L"test_icons5.dll"), program);
  Open();
  files.answers = {program.wstring()};
  // Inside the picker's modal loop: hover and click cell 2, then OK.
  const HWND strip = picker.Control(icon_get_ids::Image1);
  PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(70, 5));
  PostClick(strip, 70, 5);
  PostClick(picker.Control(icon_get_ids::SpeedButton1));
  Click(prg_ids::SpeedButton6);
  EXPECT_EQ(picker.SelectedIcon(), 2);
  EXPECT_EQ(win::FromCp932(FieldText(editor.WorkingRecord().fields.Title)), L"道具箱.exe");
  EXPECT_EQ(editor.Glyph().At(8, 24), 12);  // icon 2 is blue
}

// Runs at 96 and at 144 DPI, where the system's icon size is 48: the strip and the editor take
// each icon's 32-pixel image, though it is never the first of the icon's images.
TEST_F(PrgFormTest, TheStripAndTheEditorShowEachIconsOwn32PixelImage) {
  ASSERT_TRUE(created);
  const auto program = dir.path() / L"sizes.exe";
  std::filesystem::copy_file(testing::BesideTests(L"test_icons_sizes.dll"), program);
  Open();
  files.answers = {program.wstring()};
  const HWND strip = picker.Control(icon_get_ids::Image1);
  const int x = picker.Cell() + 5;  // cell 1 at the window's DPI
  PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(x, 5));
  PostClick(strip, x, 5);
  PostClick(picker.Control(icon_get_ids::SpeedButton1));
  Click(prg_ids::SpeedButton6);
  EXPECT_EQ(picker.SelectedIcon(), 1);
  const Picture cells = win::PictureFromBitmap(picker.StripBitmap());
  EXPECT_TRUE(testing::IsThe32PixelImage(cells, 0));
  EXPECT_TRUE(testing::IsThe32PixelImage(cells, 32));
  EXPECT_TRUE(testing::IsThe32PixelImage(IconPicture(editor.Glyph())));
}

TEST_F(PrgFormTest, AShortcutTakesTheShellsNameAndIcon) {
  ASSERT_TRUE(created);
  const auto ico = dir.path() / L"target.ico";
  testing::WriteIconFile(ico, 0x0000FF);
  const auto link = dir.path() / L"Doc.lnk";
  ASSERT_TRUE(testing::WriteShortcut(link, ico));
  SHFILEINFOW info{};
  SHGetFileInfoW(link.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
  Open();
  files.answers = {link.wstring()};
  Click(prg_ids::SpeedButton6);
  EXPECT_EQ(text(prg_ids::Label7), info.szDisplayName);
  EXPECT_EQ(text(prg_ids::Label2), link.wstring());
  bool coloured = false;
  for (int i = 0; i < 32 * 32; ++i) coloured |= editor.Glyph().index[i] != kBlack;
  EXPECT_TRUE(coloured);
}

TEST_F(PrgFormTest, TheWorkingFolderComesFromTheChooserAndItsCancelKeepsIt) {
  ASSERT_TRUE(created);
  Open();
  PostClick(folders.Control(folder_ids::SpeedButton1));  // "ｷｬﾝｾﾙ": an empty choice
  Click(prg_ids::SpeedButton2);
  EXPECT_EQ(text(prg_ids::Label5), L"C:\\Old");

  // "設　定" on the desktop, the tree's root.
  const HWND tree = folders.Control(folder_ids::ShellTreeView1);
  PostMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folders.Root()));
  PostClick(folders.Control(folder_ids::SpeedButton2));
  Click(prg_ids::SpeedButton2);
  ASSERT_FALSE(folders.ChosenFolder().empty());
  EXPECT_EQ(text(prg_ids::Label5), folders.ChosenFolder());
  Store();
  EXPECT_EQ(field(WorkFolder), win::ToCp932(folders.ChosenFolder()));
  EXPECT_EQ(field(Target), "C:\\Old\\Old.exe");
}

TEST_F(PrgFormTest, ClearEmptiesTheSlotAtOnce) {
  ASSERT_TRUE(created);
  Open();
  prompts.prompts.answers = {IDNO, IDYES};
  Click(prg_ids::SpeedButton8);
  EXPECT_EQ(field(Target), "C:\\Old\\Old.exe");
  Click(prg_ids::SpeedButton8);
  ASSERT_EQ(prompts.prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.prompts.shown[1].text, L"項目をクリヤーしますか？");
  EXPECT_EQ(prompts.prompts.shown[1].caption, L"確認");
  EXPECT_EQ(prompts.prompts.shown[1].type, UINT(MB_YESNO));
  EXPECT_EQ(field(Target), "");
  EXPECT_EQ(SlotIconBitmap(8, 3).At(16, 16), kWhite);
  EXPECT_EQ(text(prg_ids::Label2), L"");
  EXPECT_EQ(editor.Glyph(), BlankIcon());
  Click(prg_ids::SpeedButton4);  // cancel keeps the clear
  EXPECT_EQ(field(Title), "");

  Open();
  Click(prg_ids::SpeedButton8);  // no answer left: IDOK, not Yes
  EXPECT_EQ(field(Flag1), "");
  prompts.prompts.answers = {IDYES};
  Click(prg_ids::SpeedButton8);
  Store();  // stores the empty controls with the blank glyph
  EXPECT_EQ(field(Flag1), "0");
  EXPECT_EQ(field(Target), "");
  EXPECT_EQ(SlotIconBitmap(8, 3).At(16, 16), kBlack);
}

// "内容の編集" on a program page opens this editor; "ｷｬﾝｾﾙ" closes it and the table is saved.
TEST(PrgEditFromMainWindow, EditingOpensTheEditorAndSavesAfterCancel) {
  testing::ScopedTempDir dir;
  testing::ScopedPrompts prompts;
  Win32TableStorage storage;
  SetTableStorage(&storage);
  Forms forms;
  ASSERT_TRUE(forms.Create());
  ASSERT_TRUE(forms.CreateDialogsNow());
  testing::Click(forms.main.PageButtonByTag(200), 3, 3);
  bool shown = false;
  PostClick(forms.prg.Control(prg_ids::SpeedButton4));
  SendMessageW(forms.main.hwnd(), WM_COMMAND, IDM_N2, 0);
  shown = !forms.prg.InModal();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / L"Quenda.Tbl"));
  quenda::testing::UsePortableStorage();
  testing::PumpMessages();
}

}  // namespace
}  // namespace quenda
