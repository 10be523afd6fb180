#include "windows/key_in_url.h"

#include "core/capture.h"
#include "core/now_text.h"
#include "core/text_rules.h"
#include "platform/cp932.h"
#include "platform/file_dialog.h"
#include "platform/full_text_win.h"
#include "platform/icon_bitmap.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "resources/key_in_url_layout.h"
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
  if (!chosen) return std::nullopt;
  return win::ToCp932(*chosen);
}

}  // namespace

bool TKeyIn_URL::Create(HWND owner, TPrgIconGetBox* picker) {
  picker_ = picker;
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  if (!CreateTopLevel(kClassName, L"ＵＲＬ情報取得／編集", style, WS_EX_DLGMODALFRAME, 592, 255,
                      owner)) {
    return false;
  }
  BuildLayout(KeyInUrlLayout());
  SetWindowPos(Control(url_ids::Bevel1), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Tab goes on into the group, to the check box and the title edit.
  const HWND group = Control(url_ids::GroupBox1);
  SetWindowLongPtrW(group, GWL_EXSTYLE,
                    GetWindowLongPtrW(group, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  SendMessageW(Control(url_ids::RichEdit1), EM_LIMITTEXT, 250, 0);
  SetChecked(true);
  win::CentreOnDesktop(hwnd());
  return true;
}

bool TKeyIn_URL::Checked() const {
  return SendMessageW(Control(url_ids::CheckBox1), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TKeyIn_URL::SetChecked(bool checked) {
  if (Checked() == checked) return;
  SendMessageW(Control(url_ids::CheckBox1), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  CheckBox1Click();  // a change of state refreshes the preview, as a click does
}

void TKeyIn_URL::LoadControls() {
  const SlotEntry& slot = UrlEditRecord;
  loading_ = true;
  win::SetText(Control(url_ids::LabeledEdit2), WholeText(slot.fields.Target, slot.whole_target));
  SetCp932Text(url_ids::LabeledEdit1, FieldText(slot.fields.DisplayName));
  SetCp932Text(url_ids::RichEdit1, FieldText(slot.fields.Memo));
  SetCp932Text(url_ids::Panel1, FieldText(slot.fields.AccessCount));
  SetCp932Text(url_ids::Panel2, FieldText(slot.fields.LastAccess));
  SetCp932Text(url_ids::MaskEdit1, FieldText(slot.fields.Title));
  SetCp932Text(url_ids::Label5, "");
  loading_ = false;
}

void TKeyIn_URL::FormActivate() {
  UrlEditRecord = HandedEntry();
  LoadControls();
  const bool checked = FieldText(UrlEditRecord.fields.Flag1) != "0";
  SendMessageW(Control(url_ids::CheckBox1), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  working_ = UrlEditRecord.icon;
  RefreshKeyPreview();
}

void TKeyIn_URL::RefreshKeyPreview() {
  const HWND key = Control(url_ids::SpeedButton18);
  win::SpeedButton::From(key)->ClearGlyph();
  win::SetText(key, L"");
  if (Checked()) {
    ShowPreviewCaption();
  } else {
    win::SpeedButton::From(key)->SetGlyph(win::BitmapFromIcon(working_));
  }
}

void TKeyIn_URL::ShowPreviewCaption() {
  win::SetText(Control(url_ids::SpeedButton18),
               win::FromCp932(FirstBytes(Cp932Text(url_ids::MaskEdit1), kTitleBytes)));
}

void TKeyIn_URL::SpeedButton3Click() {
  SlotFields& f = UrlEditRecord.fields;
  SetFieldText(f.Memo, Cp932Text(url_ids::RichEdit1));
  SetFieldText(f.LastAccess, Cp932Text(url_ids::Panel2));
  SetFieldText(f.AccessCount, Cp932Text(url_ids::Panel1));
  SetFieldText(f.DisplayName, Cp932Text(url_ids::LabeledEdit1));
  SetFieldText(f.Title, Cp932Text(url_ids::MaskEdit1));
  SetFieldText(f.Flag1, Checked() ? "1" : "0");
  // The address edit holds the whole text; the field takes its cut.
  SetWholeText(f.Target, UrlEditRecord.whole_target,
               TypedAddress(win::GetText(Control(url_ids::LabeledEdit2))));
  UrlEditRecord.icon = working_;
  GiveBack(UrlEditRecord);
}

void TKeyIn_URL::SpeedButton4Click() { EndModal(); }

void TKeyIn_URL::SetNowStatistics() {
  SetCp932Text(url_ids::Label5, "");
  SetCp932Text(url_ids::RichEdit1, "");
  SetCp932Text(url_ids::Panel1, "0");
  SetCp932Text(url_ids::Panel2, NowText());
}

void TKeyIn_URL::SpeedButton2Click() {
  std::string address, title;
  {
    TSelTileName capture;
    capture.Capture();
    address = capture.PageAddress;
    title = capture.PageTitle;
  }
  if (address.empty()) return;
  SetCp932Text(url_ids::LabeledEdit1, title);
  SetCp932Text(url_ids::LabeledEdit2, address);
  SetNowStatistics();
  SetCp932Text(url_ids::MaskEdit1, FirstBytes(title, kTitleBytes));
  SetChecked(true);
  ShowPreviewCaption();
}

void TKeyIn_URL::SpeedButton7Click() {
  OpenFileRequest request;
  request.filter = L"ホームページ(*.htm,*.html)|*.htm;*.html";
  const std::optional<std::wstring> path = CurrentFileDialogs().Open(hwnd(), request);
  if (!path) return;
  const std::string extension = UpperAscii(PathExtension(win::ToCp932(*path)));
  if (extension == ".HTM" || extension == ".HTML") {
    TakeLocalPage(*path);
  } else {
    UnsupportedFile(hwnd());
  }
}

void TKeyIn_URL::TakeLocalPage(const std::wstring& whole_path) {
  win::SetText(Control(url_ids::LabeledEdit1), whole_path);
  win::SetText(Control(url_ids::LabeledEdit2), whole_path);
  SetNowStatistics();
  const std::string path = win::ToCp932(whole_path);
  std::string name = PathFileName(path);
  name.resize(name.size() - PathExtension(path).size());
  SetCp932Text(url_ids::MaskEdit1, FirstBytes(name, kTitleBytes));
  SetChecked(true);
  ShowPreviewCaption();
}

void TKeyIn_URL::SpeedButton6Click() {
  if (CurrentPrompts().Show(hwnd(), L"項目をクリヤーしますか？", L"確認", MB_YESNO) != IDYES) {
    return;
  }
  // The working copy and picture follow the cleared slot, so that "設　定" stores it cleared.
  UrlEditRecord = ClearHandedSlot();
  working_ = UrlEditRecord.icon;
  LoadControls();
  SendMessageW(Control(url_ids::CheckBox1), BM_SETCHECK, BST_CHECKED, 0);
  RefreshKeyPreview();
}

void TKeyIn_URL::SpeedButton5Click() {
  SetChecked(false);
  const std::optional<std::string> path =
      ChooseFile(hwnd(), L"総て(*.ico.*.exe:*.dll)|*.ico;*.exe;*.dll");
  if (!path) return;
  const std::string extension = UpperAscii(PathExtension(*path));
  if (extension == ".EXE" || extension == ".DLL") {
    LoadIconFromProgram(*path);
  } else if (extension == ".ICO") {
    pr_ReadImge(*path);
  } else {
    UnsupportedFile(hwnd());
  }
}

void TKeyIn_URL::pr_ReadImge(const std::string& path) {
  const win::UniqueIcon icon = win::FileIcon32(win::FromCp932(path), 0);
  if (icon) {
    DrawPictureOnWhite(working_, win::ComposeIcon(icon.get(), kIconPalette[kWhite]));
  } else {
    UnreadableFile(hwnd());
  }
  const HWND key = Control(url_ids::SpeedButton18);
  win::SetText(key, L"");
  win::SpeedButton::From(key)->SetGlyph(win::BitmapFromIcon(working_));
}

void TKeyIn_URL::LoadIconFromProgram(const std::string& path) {
  const ProgramIcon icon = IconFromProgram(picker_, hwnd(), path);
  DrawPictureOnWhite(working_, icon.picture);
  if (!icon.found) UnreadableFile(hwnd());
}

void TKeyIn_URL::CheckBox1Click() { RefreshKeyPreview(); }

void TKeyIn_URL::MaskEdit1Change() {
  if (loading_) return;
  win::KeepCp932Bytes(Control(url_ids::MaskEdit1), kTitleBytes);
  if (Checked()) ShowPreviewCaption();
}

LRESULT TKeyIn_URL::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam), code = HIWORD(wparam);
      if (code == BN_CLICKED) {
        switch (id) {
          case url_ids::SpeedButton3: SpeedButton3Click(); break;
          case url_ids::SpeedButton4: SpeedButton4Click(); break;
          case url_ids::SpeedButton2: SpeedButton2Click(); break;
          case url_ids::SpeedButton7: SpeedButton7Click(); break;
          case url_ids::SpeedButton6: SpeedButton6Click(); break;
          case url_ids::SpeedButton5: SpeedButton5Click(); break;
          case url_ids::CheckBox1: CheckBox1Click(); break;
        }
      } else if (code == EN_CHANGE && id == url_ids::MaskEdit1) {
        MaskEdit1Change();
      }
      return 0;
    }
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
