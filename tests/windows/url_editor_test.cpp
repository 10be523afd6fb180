// The URL entry editor on prepared slots, its buttons pressed with real clicks; the browser,
// the file dialog and the message boxes are scripted.
#include "windows/url_editor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "app/forms.h"
#include "core/capture.h"
#include "core/now_text.h"
#include "core/table_file.h"
#include "platform/cp932.h"
#include "platform/file_dialog.h"
#include "platform/full_text_win.h"
#include "platform/table_storage_win.h"
#include "resources/icon_picker_layout.h"
#include "resources/resource_ids.h"
#include "resources/url_editor_layout.h"
#include "support/win_test_support.h"
#include "ui/speed_button.h"
#include "windows/modal_probe.h"

namespace quenda {
namespace {

using testing::EditorTable;
using testing::FixedClock;

// One browser frame holding one address edit, or nothing at all.
class OneBrowser : public WindowProvider {
 public:
  std::string caption, address;
  bool running = true;
  void EnumTopLevel(const Visit& visit) override {
    if (running) visit(1);
  }
  std::string Caption(WindowId, std::size_t) override { return caption; }
  bool IsWindow(WindowId w) override { return running && (w == 1 || w == 2); }
  void EnumDescendants(WindowId, const Visit& visit) override { visit(2); }
  std::string ClassName(WindowId, std::size_t) override { return "Edit"; }
  std::optional<std::string> ControlText(WindowId, std::size_t) override { return address; }
  // An older browser only: nothing of today's kind is running.
  std::u16string WideCaption(WindowId, std::size_t) override { return u""; }
  std::optional<std::u16string> AccessibleAddress(WindowId, BrowserFamily) override {
    return std::nullopt;
  }
  std::string ToCp932(std::u16string_view) override { return ""; }
  std::optional<std::string> ExactCp932(std::u16string_view) override { return std::nullopt; }
};

class UrlEditorTest : public ::testing::Test {
 protected:
  UrlEditorTest() {
    SetClock(&clock);
    SetWindowProvider(&browser);
    SetFileDialogs(&files);
    EditorTable() = SlotTable{};
  }
  // Fills fields of slot 6 of page 2, the slot the tests edit.
  static void SetFields(std::initializer_list<std::pair<int, const char*>> fields) {
    for (const auto& [field, value] : fields) SetSlotField(EditorTable(), field, 2, 6, value);
  }
  ~UrlEditorTest() override {
    SetFileDialogs(nullptr);
    SetWindowProvider(nullptr);
    SetClock(nullptr);
    testing::PumpMessages();
  }

  void Open() {
    ASSERT_TRUE(picker.Create(nullptr));
    ASSERT_TRUE(editor.Create(nullptr, &picker));
    Load();
    prompts.prompts.shown.clear();
  }
  // The editor on slot 2/6, as the main window hands it; "設　定" and the store behind it.
  void Load() { editor.Load(SlotEditAt(EditorTable(), 2, 6)); }
  void Store() {
    Click(url_ids::SetButton);
    ASSERT_TRUE(editor.Result());
    StoreSlotEntry(EditorTable(), 2, 6, *editor.Result());
  }
  HWND control(int id) { return editor.Control(id); }
  std::wstring text(int id) { return win::GetText(control(id)); }
  void Type(int id, const std::wstring& value) { win::SetText(control(id), value); }
  void Click(int id) { testing::Click(control(id), 3, 3); }
  std::string field(int no) { return GetSlotField(EditorTable(), no, 2, 6); }
  bool PreviewShowsGlyph() {
    // The preview's middle pixel differs from the face colour only when a glyph is drawn.
    const HWND key = control(url_ids::KeyPreview);
    win::MemoryDC dc;
    win::WindowDC screen(key);
    win::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 70, 40));
    win::SelectGuard select(dc.get(), bitmap.get());
    SendMessageW(key, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    return GetPixel(dc.get(), 35, 20) != GetSysColor(COLOR_BTNFACE);
  }

  testing::ScopedPrompts prompts;
  FixedClock clock{{2026, 12, 8, 10, 20, 30}};
  OneBrowser browser;
  testing::ScriptedFiles files;
  IconPicker picker;
  UrlEditor editor;
};

// A slot icon with a red square on white, so that a glyph shows.
void PaintSlotIcon(PageIndex page, SlotIndex slot) {
  Picture picture(32, 32, 0xFFFFFF);
  for (int y = 8; y < 24; ++y)
    for (int x = 8; x < 24; ++x) picture.Set(x, y, 0xFF0000);
  StoreSlotIcon(EditorTable(), page, slot, picture);
}

TEST_F(UrlEditorTest, OpensOnTheSlotAndShowsTitleOrIconInThePreview) {
  Open();  // an empty slot: checked, empty caption
  EXPECT_EQ(win::GetText(editor.hwnd()), L"ＵＲＬ情報取得／編集");
  EXPECT_TRUE(editor.ShowsTitle());
  EXPECT_EQ(text(url_ids::KeyPreview), L"");
  EXPECT_FALSE(PreviewShowsGlyph());

  SetFields({
      {Flag1, "0"},
      {Title, "\x83\x6a\x83\x85\x81\x5b\x83\x58 news"},  // ニュース news
      {Target, "http://example.com/"},
      {DisplayName, "Example"},
      {AccessCount, "3"},
      {LastAccess, "2026/12/01 8:00:00"},
      {Memo, "memo"},
  });
  PaintSlotIcon(2, 6);
  Load();
  EXPECT_FALSE(editor.ShowsTitle());
  EXPECT_TRUE(PreviewShowsGlyph());
  EXPECT_EQ(text(url_ids::AddressEdit), L"http://example.com/");
  EXPECT_EQ(text(url_ids::HeadingEdit), L"Example");
  EXPECT_EQ(text(url_ids::AccessCountPanel), L"3");
  EXPECT_EQ(text(url_ids::LastAccessPanel), L"2026/12/01 8:00:00");
  EXPECT_EQ(text(url_ids::MemoBox), L"memo");
  EXPECT_EQ(text(url_ids::KeyTitleEdit), L"ニュース news");
  EXPECT_EQ(text(url_ids::MemoLabel), L"");

  Click(url_ids::ShowTitleBox);  // checked: the title's first 12 bytes
  EXPECT_TRUE(editor.ShowsTitle());
  EXPECT_EQ(text(url_ids::KeyPreview), L"ニュース new");
  EXPECT_FALSE(PreviewShowsGlyph());
}

TEST_F(UrlEditorTest, StoringWritesTheControlsCutToTheFieldsAndTheWorkingPicture) {
  SetSlotField(EditorTable(), Flag0, 2, 6, "Z");
  SetSlotField(EditorTable(), WorkFolder, 2, 6, "C:\\Work");
  PaintSlotIcon(2, 6);
  Open();
  Type(url_ids::AddressEdit, L"http://example.com/" + std::wstring(300, L'a'));
  Type(url_ids::HeadingEdit, L"見出し");
  Type(url_ids::MemoBox, L"備考");
  Type(url_ids::KeyTitleEdit, L"abcdefghijklmnop");  // the edit keeps 12 bytes
  EXPECT_EQ(text(url_ids::KeyTitleEdit), L"abcdefghijkl");
  Type(url_ids::KeyTitleEdit, L"ああああああ");  // 12 bytes fit whole
  Type(url_ids::KeyTitleEdit, L"abcdefghijkあ");  // the last would need byte 13
  EXPECT_EQ(text(url_ids::KeyTitleEdit), L"abcdefghijk");
  Store();

  EXPECT_EQ(field(Target).size(), 128u);
  EXPECT_EQ(field(Target).substr(0, 19), "http://example.com/");
  // The whole address stays beside the field and comes back in the editor.
  const std::wstring whole = L"http://example.com/" + std::wstring(300, L'a');
  EXPECT_EQ(SlotFieldWide(EditorTable(), Target, 2, 6), whole);
  Load();
  EXPECT_EQ(text(url_ids::AddressEdit), whole);
  EXPECT_EQ(win::FromCp932(field(DisplayName)), L"見出し");
  EXPECT_EQ(win::FromCp932(field(Memo)), L"備考");
  EXPECT_EQ(field(Title), "abcdefghijk");
  EXPECT_EQ(field(Flag1), "1");
  EXPECT_EQ(field(Flag0), "Z");
  EXPECT_EQ(field(WorkFolder), "C:\\Work");
  EXPECT_EQ(EditorTable().At(2, 6).icon.At(10, 10), 9);  // red
  Type(url_ids::AddressEdit, L"example.com/typed");  // as people type addresses
  Store();
  EXPECT_EQ(field(Target), "https://example.com/typed");
}

TEST_F(UrlEditorTest, CaptureFillsTheControlsOnlyWhenAnAddressIsFound) {
  Open();
  Type(url_ids::AddressEdit, L"keep");
  browser.running = false;
  Click(url_ids::CaptureButton);
  EXPECT_EQ(text(url_ids::AddressEdit), L"keep");

  browser.running = true;
  browser.caption = "Twenty bytes title!! - Microsoft Internet Explorer";
  browser.address = "http://example.com/page";
  Click(url_ids::ShowTitleBox);  // unchecked; the capture checks it again
  Click(url_ids::CaptureButton);
  EXPECT_EQ(text(url_ids::AddressEdit), L"http://example.com/page");
  EXPECT_EQ(text(url_ids::HeadingEdit), L"Twenty bytes title!!");
  EXPECT_EQ(text(url_ids::KeyTitleEdit), L"Twenty bytes");
  EXPECT_EQ(text(url_ids::AccessCountPanel), L"0");
  EXPECT_EQ(text(url_ids::LastAccessPanel), L"2026/12/8 10:20:30");
  EXPECT_TRUE(editor.ShowsTitle());
  EXPECT_EQ(text(url_ids::KeyPreview), L"Twenty bytes");
  EXPECT_EQ(field(Target), "");  // nothing reaches the slot before "設　定"
}

TEST_F(UrlEditorTest, LocalPagesAreTakenByTheirUpperCasedExtension) {
  Open();
  files.answers = {L"C:\\Pages\\Index.HtMl", L"C:\\Pages\\a.shtml", std::nullopt};
  Click(url_ids::LocalPageButton);
  EXPECT_EQ(files.requests[0].filter, L"ホームページ(*.htm,*.html)|*.htm;*.html");
  EXPECT_EQ(text(url_ids::AddressEdit), L"C:\\Pages\\Index.HtMl");
  EXPECT_EQ(text(url_ids::HeadingEdit), L"C:\\Pages\\Index.HtMl");
  EXPECT_EQ(text(url_ids::KeyTitleEdit), L"Index");
  EXPECT_EQ(text(url_ids::KeyPreview), L"Index");

  Click(url_ids::LocalPageButton);
  ASSERT_EQ(prompts.prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.prompts.shown[0].text, L"対応していないファイル形式です");
  EXPECT_EQ(prompts.prompts.shown[0].caption, L"確認");
  EXPECT_EQ(prompts.prompts.shown[0].type, UINT(MB_OK));
  EXPECT_EQ(text(url_ids::AddressEdit), L"C:\\Pages\\Index.HtMl");

  Click(url_ids::LocalPageButton);  // cancelled: nothing
  EXPECT_EQ(prompts.prompts.shown.size(), 1u);
}

TEST_F(UrlEditorTest, IconsComeFromIconFilesAndOtherFilesAreRefused) {
  testing::ScopedTempDir dir;
  const auto ico = dir.path() / L"blue.ico";
  testing::WriteIconFile(ico, 0x0000FF);
  std::filesystem::path broken = dir.path() / L"broken.ico";
  { std::ofstream(broken) << "not an icon"; }
  Open();
  files.answers = {L"C:\\photo.JPG", ico.wstring(), broken.wstring()};
  Click(url_ids::IconFileButton);
  EXPECT_EQ(files.requests[0].filter, L"総て(*.ico.*.exe:*.dll)|*.ico;*.exe;*.dll");
  EXPECT_FALSE(editor.ShowsTitle());  // unchecked before the dialog
  ASSERT_EQ(prompts.prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.prompts.shown[0].text, L"対応していないファイル形式です");

  Click(url_ids::IconFileButton);
  EXPECT_EQ(editor.WorkingPicture().At(16, 16), 12);  // blue, drawn on white
  EXPECT_EQ(editor.WorkingPicture().At(1, 1), kWhite);
  EXPECT_TRUE(PreviewShowsGlyph());

  Click(url_ids::IconFileButton);
  ASSERT_EQ(prompts.prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.prompts.shown[1].text, L"ファイルを読み込めません");
  EXPECT_EQ(prompts.prompts.shown[1].caption, L"確認");

  Store();
  EXPECT_EQ(field(Flag1), "0");
  EXPECT_EQ(EditorTable().At(2, 6).icon.At(16, 16), 12);
}

TEST_F(UrlEditorTest, ProgramFilesGiveTheIconThePickerChoosesOnBlack) {
  testing::ScopedTempDir dir;
  const auto library = dir.path() / L"ICONS.DLL";
  std::filesystem::copy_file(testing::BesideTests(L"test_icons5.dll"), library);
  Open();
  files.answers = {library.wstring()};
  // Inside the picker's modal loop: cell 3, then OK.
  const HWND strip = picker.Control(picker_ids::Strip);
  PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(100, 5));
  testing::PostClick(strip, 100, 5);
  testing::PostClick(picker.Control(picker_ids::OkButton));
  Click(url_ids::IconFileButton);
  EXPECT_EQ(picker.SelectedIcon(), 3);
  EXPECT_EQ(editor.WorkingPicture().At(8, 24), 11);  // icon 3 is yellow
  EXPECT_TRUE(prompts.prompts.shown.empty());
  Store();
  EXPECT_EQ(EditorTable().At(2, 6).icon.At(8, 24), 11);

  // A choice made in a file with more icons, the picker closed without a click: icon 0.
  const auto more = dir.path() / L"MORE.DLL";
  std::filesystem::copy_file(testing::BesideTests(L"test_icons14.dll"), more);
  files.answers = {more.wstring()};
  PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(7 * picker.Cell() + 5, 5));
  testing::PostClick(strip, 7 * picker.Cell() + 5, 5);
  testing::PostClick(picker.Control(picker_ids::OkButton));
  Click(url_ids::IconFileButton);
  ASSERT_EQ(picker.SelectedIcon(), 7);
  files.answers = {library.wstring()};
  PostMessageW(picker.hwnd(), WM_CLOSE, 0, 0);
  Click(url_ids::IconFileButton);
  EXPECT_EQ(editor.WorkingPicture().At(8, 24), 9);  // icon 0 is red
  EXPECT_TRUE(prompts.prompts.shown.empty());
}

// Runs at 96 and at 144 DPI, where the system's icon size is 48.
TEST_F(UrlEditorTest, IconFilesGiveTheir32PixelImage) {
  Open();
  for (const wchar_t* name : {L"icon_16_48_32.ico", L"icon_256_16_32.ico"}) {
    files.answers = {testing::BesideTests(name).wstring()};
    Click(url_ids::IconFileButton);
    EXPECT_TRUE(testing::IsThe32PixelImage(IconPicture(editor.WorkingPicture()))) << name;
  }
  EXPECT_TRUE(prompts.prompts.shown.empty());
}

TEST_F(UrlEditorTest, ClearEmptiesTheSlotAtOnceAndStoringKeepsItCleared) {
  SetFields({
      {Flag0, "Z"},
      {WorkFolder, "C:\\Work"},
      {Target, "http://example.com/"},
      {Flag1, "0"},
  });
  PaintSlotIcon(2, 6);
  Open();
  prompts.prompts.answers = {IDNO, IDYES};
  Click(url_ids::ClearButton);
  EXPECT_EQ(field(Target), "http://example.com/");
  Click(url_ids::ClearButton);
  EXPECT_EQ(prompts.prompts.shown[1].text, L"項目をクリヤーしますか？");
  EXPECT_EQ(prompts.prompts.shown[1].type, UINT(MB_YESNO));
  EXPECT_EQ(field(Target), "");
  EXPECT_EQ(EditorTable().At(2, 6).icon.At(10, 10), kWhite);
  EXPECT_EQ(text(url_ids::AddressEdit), L"");
  EXPECT_TRUE(editor.ShowsTitle());

  Store();  // nothing of the entry before the clear comes back
  EXPECT_EQ(field(Flag1), "1");  // the check box, ticked for a cleared slot
  EXPECT_EQ(field(Flag0), "");
  EXPECT_EQ(field(WorkFolder), "");
  EXPECT_EQ(field(Target), "");
  EXPECT_EQ(EditorTable().At(2, 6).icon.At(10, 10), kWhite);
}

TEST_F(UrlEditorTest, CancelAndTheCloseBoxWriteNothing) {
  SetSlotField(EditorTable(), Target, 2, 6, "http://example.com/");
  Open();
  Type(url_ids::AddressEdit, L"changed");
  Click(url_ids::CancelButton);
  EXPECT_EQ(field(Target), "http://example.com/");
  Load();
  Type(url_ids::AddressEdit, L"changed");
  SendMessageW(editor.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(editor.Result());
  EXPECT_EQ(field(Target), "http://example.com/");
  EXPECT_TRUE(IsWindow(editor.hwnd()));  // hidden and reused, never destroyed
}

// The whole road from the main window: "内容の編集" on an address page opens the editor, which
// the user leaves with "ｷｬﾝｾﾙ"; the table is saved all the same. "URL取得" captures straight in.
TEST(KeyInUrlFromMainForm, EditingOpensTheEditorAndTheCaptureGoesStraightIntoTheSlot) {
  testing::ScopedTempDir dir;
  testing::ScopedPrompts prompts;
  Win32TableStorage storage;
  FixedClock clock{{2026, 12, 8, 10, 20, 30}};
  SetClock(&clock);
  OneBrowser browser;
  browser.caption = "Example Domain Pages - Microsoft Internet Explorer";
  const std::string address = " http://example.com/" + std::string(200, 'p');
  browser.address = address;
  SetWindowProvider(&browser);

  Forms forms;
  ASSERT_TRUE(forms.Create(dir.path().wstring(), storage, "TEST"));
  ASSERT_TRUE(forms.CreateDialogsNow());
  forms.main.ShowFirstPage();
  // The first page, an address page, whatever page an earlier test left selected.
  forms.main.OpenPage(forms.main.PageButtonByTag(0));
  SetSlotField(forms.table, Memo, 0, 4, "old memo");
  // "内容の編集" from slot 4's popup; the editor is cancelled as soon as its modal loop runs.
  testing::ChooseFromSlotPopup(forms.main.hwnd(), forms.main.SlotButton(4), VK_UP);
  testing::PostClick(forms.url_editor.Control(url_ids::CancelButton), 3, 3);
  testing::PumpMessages();
  EXPECT_FALSE(forms.url_editor.InModal());
  EXPECT_TRUE(std::filesystem::exists(dir.path() / L"Quenda.Tbl"));

  testing::ChooseFromSlotPopup(forms.main.hwnd(), forms.main.SlotButton(4), VK_DOWN);
  testing::PumpMessages();
  EXPECT_EQ(GetSlotField(forms.table, Target, 0, 4), address.substr(0, 128));
  EXPECT_EQ(GetSlotField(forms.table, Title, 0, 4), "Example");
  EXPECT_EQ(GetSlotField(forms.table, DisplayName, 0, 4), "Example Domain Pages");
  EXPECT_EQ(GetSlotField(forms.table, Flag1, 0, 4), "1");
  EXPECT_EQ(GetSlotField(forms.table, AccessCount, 0, 4), "0");
  EXPECT_EQ(GetSlotField(forms.table, LastAccess, 0, 4), "2026/12/8 10:20:30");
  EXPECT_EQ(GetSlotField(forms.table, Memo, 0, 4), "");
  EXPECT_EQ(win::GetText(forms.main.SlotButton(4)), L"Example");
  SlotTable saved;  // saved, with the whole address in the table file
  ASSERT_FALSE(TableFile(dir.path().wstring(), storage).Load(saved));
  EXPECT_EQ(GetSlotField(saved, Title, 0, 4), "Example");
  EXPECT_EQ(SlotFieldWide(saved, Target, 0, 4), win::FromCp932(address));

  browser.running = false;  // nothing found: nothing changes
  SendMessageW(forms.main.hwnd(), WM_COMMAND, IDM_CAPTURE, 0);
  EXPECT_EQ(GetSlotField(forms.table, Title, 0, 4), "Example");

  SetWindowProvider(nullptr);
  SetClock(nullptr);
  testing::PumpMessages();
}

}  // namespace
}  // namespace quenda
