#include "windows/url_editor.h"

#include "core/capture.h"
#include "core/now_text.h"
#include "core/text_rules.h"
#include "platform/cp932.h"
#include "platform/file_dialog.h"
#include "platform/full_text_win.h"
#include "platform/icon_bitmap.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "resources/url_editor_layout.h"
#include "ui/speed_button.h"
#include "windows/program_icon.h"

namespace quenda {

namespace {

constexpr std::size_t kTitleBytes = 12;

// Both file commands refuse other files with the same message.
void UnsupportedFile(HWND owner) {
  CurrentPrompts().Show(owner, L"対応していないファイル形式です", L"確認", MB_OK);
}
void UnreadableFile(HWND owner) {
  CurrentPrompts().Show(owner, L"ファイルを読み込めません", L"確認", MB_OK);
}

std::optional<std::string> ChooseFile(HWND owner, const wchar_t* filter) {
  OpenFileRequest request;
  request.filter = filter;
  std::optional<std::wstring> chosen = CurrentFileDialogs().Open(owner, request);
  if (!chosen || !IsWindow(owner)) return std::nullopt;  // the session may have ended
  return win::ToCp932(*chosen);
}

}  // namespace

bool UrlEditor::Create(HWND owner, IconPicker* picker) {
  picker_ = picker;
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  if (!CreateTopLevel(kClassName, L"ＵＲＬ情報取得／編集", style, WS_EX_DLGMODALFRAME, kUrlEditorSize,
                      owner)) {
    return false;
  }
  BuildLayout(UrlEditorLayout());
  SetWindowPos(Control(url_ids::Frame), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Tab goes on into the group, to the check box and the title edit.
  const HWND group = Control(url_ids::KeyGroup);
  SetWindowLongPtrW(group, GWL_EXSTYLE,
                    GetWindowLongPtrW(group, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  SendMessageW(Control(url_ids::MemoBox), EM_LIMITTEXT, 250, 0);
  win::SetTabStop(Control(url_ids::KeyPreview), false);  // it only shows the key
  // Their visible labels are cleared or belong to the check box.
  win::NameField(Control(url_ids::MemoBox), L"備考");
  win::NameField(Control(url_ids::KeyTitleEdit), L"Keyの文字");
  SetDialogKeys(Control(url_ids::AddressEdit), Control(url_ids::SetButton),
                Control(url_ids::CancelButton));
  SetShowsTitle(true);
  win::CentreOnDesktop(hwnd());
  return true;
}

bool UrlEditor::ShowsTitle() const {
  return SendMessageW(Control(url_ids::ShowTitleBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void UrlEditor::SetShowsTitle(bool checked) {
  if (ShowsTitle() == checked) return;
  SendMessageW(Control(url_ids::ShowTitleBox), BM_SETCHECK,
               checked ? BST_CHECKED : BST_UNCHECKED, 0);
  ShowTitleClicked();  // a change of state refreshes the preview, as a click does
}

void UrlEditor::LoadControls() {
  const SlotEntry& slot = working_entry_;
  loading_ = true;
  win::SetText(Control(url_ids::AddressEdit), WholeText(slot, Target));
  win::SetText(Control(url_ids::HeadingEdit), WholeText(slot, DisplayName));
  win::SetText(Control(url_ids::MemoBox), WholeText(slot, Memo));
  SetCp932Text(url_ids::AccessCountPanel, FieldText(slot.fields.AccessCount));
  SetCp932Text(url_ids::LastAccessPanel, FieldText(slot.fields.LastAccess));
  win::SetText(Control(url_ids::KeyTitleEdit), WholeText(slot, Title));
  SetCp932Text(url_ids::MemoLabel, "");
  loading_ = false;
}

void UrlEditor::LoadHandedSlot() {
  working_entry_ = HandedEntry();
  LoadControls();
  const bool checked = FieldText(working_entry_.fields.Flag1) != "0";
  SendMessageW(Control(url_ids::ShowTitleBox), BM_SETCHECK,
               checked ? BST_CHECKED : BST_UNCHECKED, 0);
  working_ = working_entry_.icon;
  RefreshKeyPreview();
}

void UrlEditor::RefreshKeyPreview() {
  const HWND key = Control(url_ids::KeyPreview);
  win::SpeedButton::From(key)->ClearGlyph();
  win::SetText(key, L"");
  if (ShowsTitle()) {
    ShowPreviewCaption();
  } else {
    win::SpeedButton::From(key)->SetGlyph(win::BitmapFromIcon(working_));
  }
}

void UrlEditor::ShowPreviewCaption() {
  win::SetText(Control(url_ids::KeyPreview),
               win::FromCp932(FirstBytes(Cp932Text(url_ids::KeyTitleEdit), kTitleBytes)));
}

void UrlEditor::Confirm() {
  SlotFields& f = working_entry_.fields;
  SetFieldText(f.LastAccess, Cp932Text(url_ids::LastAccessPanel));
  SetFieldText(f.AccessCount, Cp932Text(url_ids::AccessCountPanel));
  SetFieldText(f.Flag1, ShowsTitle() ? "1" : "0");
  // The edits hold the whole texts; the fields take their cuts.
  for (const auto& [field, id] :
       {std::pair{Memo, url_ids::MemoBox}, {DisplayName, url_ids::HeadingEdit},
        {Title, url_ids::KeyTitleEdit}}) {
    SetWholeText(working_entry_, field, win::GetText(Control(id)));
  }
  SetWholeText(working_entry_, Target, TypedAddress(win::GetText(Control(url_ids::AddressEdit))));
  working_entry_.icon = working_;
  GiveBack(working_entry_);
}

void UrlEditor::Cancel() { EndModal(); }

void UrlEditor::SetNowStatistics() {
  SetCp932Text(url_ids::MemoLabel, "");
  SetCp932Text(url_ids::MemoBox, "");
  SetCp932Text(url_ids::AccessCountPanel, "0");
  SetCp932Text(url_ids::LastAccessPanel, NowText());
}

void UrlEditor::CaptureFromBrowser() {
  const std::optional<CapturedPage> captured = CaptureBrowserPage();
  if (!captured || captured->address.empty()) return;
  SetCp932Text(url_ids::HeadingEdit, captured->title);
  SetCp932Text(url_ids::AddressEdit, captured->address);
  SetNowStatistics();
  SetCp932Text(url_ids::KeyTitleEdit, FirstBytes(captured->title, kTitleBytes));
  SetShowsTitle(true);
  ShowPreviewCaption();
}

void UrlEditor::ChooseLocalPage() {
  OpenFileRequest request;
  request.filter = L"ホームページ(*.htm,*.html)|*.htm;*.html";
  const std::optional<std::wstring> path = CurrentFileDialogs().Open(hwnd(), request);
  if (!path || !hwnd()) return;
  const std::string extension = UpperAscii(PathExtension(win::ToCp932(*path)));
  if (extension == ".HTM" || extension == ".HTML") {
    TakeLocalPage(*path);
  } else {
    UnsupportedFile(hwnd());
  }
}

void UrlEditor::TakeLocalPage(const std::wstring& whole_path) {
  win::SetText(Control(url_ids::HeadingEdit), whole_path);
  win::SetText(Control(url_ids::AddressEdit), whole_path);
  SetNowStatistics();
  const std::string path = win::ToCp932(whole_path);
  std::string name = PathFileName(path);
  name.resize(name.size() - PathExtension(path).size());
  SetCp932Text(url_ids::KeyTitleEdit, FirstBytes(name, kTitleBytes));
  SetShowsTitle(true);
  ShowPreviewCaption();
}

void UrlEditor::ClearEntry() {
  if (CurrentPrompts().Show(hwnd(), L"項目をクリヤーしますか？", L"確認", MB_YESNO) != IDYES ||
      !hwnd()) {
    return;
  }
  // The working copy and picture follow the cleared slot, so that "設　定" stores it cleared.
  working_entry_ = ClearHandedSlot();
  working_ = working_entry_.icon;
  LoadControls();
  SendMessageW(Control(url_ids::ShowTitleBox), BM_SETCHECK, BST_CHECKED, 0);
  RefreshKeyPreview();
}

void UrlEditor::ChooseIconFile() {
  SetShowsTitle(false);
  const std::optional<std::string> path =
      ChooseFile(hwnd(), L"総て(*.ico.*.exe:*.dll)|*.ico;*.exe;*.dll");
  if (!path) return;
  const std::string extension = UpperAscii(PathExtension(*path));
  if (extension == ".EXE" || extension == ".DLL") {
    LoadIconFromProgram(*path);
  } else if (extension == ".ICO") {
    LoadIconFromIconFile(*path);
  } else {
    UnsupportedFile(hwnd());
  }
}

void UrlEditor::LoadIconFromIconFile(const std::string& path) {
  const win::UniqueIcon icon = win::FileIcon32(win::FromCp932(path), 0);
  if (icon) {
    DrawPictureOnWhite(working_, win::ComposeIcon(icon.get(), kIconPalette[kWhite]));
  } else {
    UnreadableFile(hwnd());
  }
  const HWND key = Control(url_ids::KeyPreview);
  win::SetText(key, L"");
  win::SpeedButton::From(key)->SetGlyph(win::BitmapFromIcon(working_));
}

void UrlEditor::LoadIconFromProgram(const std::string& path) {
  const ProgramIcon icon = IconFromProgram(picker_, hwnd(), path);
  if (!hwnd()) return;  // the session ended while the picker was open
  DrawPictureOnWhite(working_, icon.picture);
  if (!icon.found) UnreadableFile(hwnd());
}

void UrlEditor::ShowTitleClicked() { RefreshKeyPreview(); }

void UrlEditor::KeyTitleChanged() {
  if (loading_) return;
  win::KeepCp932Bytes(Control(url_ids::KeyTitleEdit), kTitleBytes);
  if (ShowsTitle()) ShowPreviewCaption();
}

LRESULT UrlEditor::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam), code = HIWORD(wparam);
      if (code == BN_CLICKED) {
        switch (id) {
          case url_ids::SetButton: Confirm(); break;
          case url_ids::CancelButton: Cancel(); break;
          case url_ids::CaptureButton: CaptureFromBrowser(); break;
          case url_ids::LocalPageButton: ChooseLocalPage(); break;
          case url_ids::ClearButton: ClearEntry(); break;
          case url_ids::IconFileButton: ChooseIconFile(); break;
          case url_ids::ShowTitleBox: ShowTitleClicked(); break;
        }
      } else if (code == EN_CHANGE && id == url_ids::KeyTitleEdit) {
        KeyTitleChanged();
      }
      return 0;
    }
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
