#include "windows/prg_form.h"

#include "core/drop_entry.h"
#include "core/now_text.h"
#include "core/text_rules.h"
#include "platform/cp932.h"
#include "platform/file_dialog.h"
#include "platform/full_text_win.h"
#include "platform/icon_bitmap.h"
#include "platform/prompts.h"
#include "platform/shell_file_icon.h"
#include "resources/prg_form_layout.h"
#include "ui/speed_button.h"
#include "windows/get_folder.h"
#include "windows/program_icon.h"

namespace quenda {

namespace {
constexpr std::size_t kMemoBytes = 250;
}

bool TPrgForm::Create(HWND owner, TPrgIconGetBox* picker, TGetFolder* folders) {
  picker_ = picker;
  folders_ = folders;
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!CreateTopLevel(kClassName, L"プログラムランチ　登録／編集", style, WS_EX_DLGMODALFRAME, 595,
                      314, owner)) {
    return false;
  }
  BuildLayout(PrgFormLayout());
  SetWindowPos(Control(prg_ids::Bevel1), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(Control(prg_ids::Memo1), EM_LIMITTEXT, kMemoBytes, 0);
  win::CentreOnDesktop(hwnd());
  return true;
}

void TPrgForm::ShowGlyph() {
  win::SpeedButton::From(Control(prg_ids::SpeedButton7))->SetGlyph(win::BitmapFromIcon(glyph_));
}

void TPrgForm::FillControls() {
  const SlotFields& f = PrgEditRecord.fields;
  win::SetText(Control(prg_ids::Label7), WholeText(PrgEditRecord, Title));
  win::SetText(Control(prg_ids::Label2), WholeText(PrgEditRecord, Target));
  win::SetText(Control(prg_ids::Label5), WholeText(PrgEditRecord, WorkFolder));
  win::SetText(Control(prg_ids::Memo1), WholeText(PrgEditRecord, Memo));
  SetCp932Text(prg_ids::Panel2, FieldText(f.AccessCount));
  SetCp932Text(prg_ids::Panel1, FieldText(f.LastAccess));
  win::SetText(Control(prg_ids::Edit1), WholeText(PrgEditRecord, DisplayName));
}

void TPrgForm::FormActivate() {
  SetCp932Text(prg_ids::Memo1, "");
  SetCp932Text(prg_ids::Panel1, "");
  PrgEditRecord = HandedEntry();
  FillControls();
  glyph_ = PrgEditRecord.icon;
  ShowGlyph();
}

void TPrgForm::LoadIconFromProgram(const std::string& path) {
  glyph_.Fill(kBlack);
  DrawPictureOnWhite(glyph_, IconFromProgram(picker_, hwnd(), path).picture);
  ShowGlyph();
}

void TPrgForm::SpeedButton6Click() {
  OpenFileRequest request;
  request.filter = L"プログラム　(*.exe)|*.Exe";
  request.default_extension = L"exe";
  request.keep_shortcuts = true;
  const std::optional<std::wstring> chosen = CurrentFileDialogs().Open(hwnd(), request);
  if (!chosen) return;
  const std::string path = win::ToCp932(*chosen);
  // Only the working copy is cleared: the slot keeps its entry until "設　定".
  PrgEditRecord.fields = SlotFields{};
  PrgEditRecord.whole = WholeTexts{};
  if (IsShortcutPath(path)) {
    win::UniqueIcon icon;
    std::string display_name;
    ShellFileIcon(*chosen, icon, display_name);
    DrawPictureOnWhite(glyph_, win::ComposeIcon(icon.get(), kIconPalette[kBlack]));
    ShowGlyph();
    SetFieldText(PrgEditRecord.fields.Title, display_name);
  } else {
    LoadIconFromProgram(path);
    SetFieldText(PrgEditRecord.fields.Title, PathFileName(path));
  }
  const std::string title = FieldText(PrgEditRecord.fields.Title);
  SetCp932Text(prg_ids::Edit1, title);
  SetFieldText(PrgEditRecord.fields.DisplayName, title);
  SetFieldText(PrgEditRecord.fields.Target, path);
  win::SetText(Control(prg_ids::Label2), *chosen);
  SetCp932Text(prg_ids::Label7, Cp932Text(prg_ids::Edit1));
  SetCp932Text(prg_ids::Panel2, "0");
  SetCp932Text(prg_ids::Panel1, NowText());
  SetCp932Text(prg_ids::Label5, "");
  SetCp932Text(prg_ids::Memo1, "");
}

void TPrgForm::SpeedButton2Click() {
  const std::optional<std::wstring> folder =
      folders_ ? folders_->ChooseFolder(hwnd()) : std::nullopt;
  if (!folder) return;
  win::SetText(Control(prg_ids::Label5), *folder);
  SetFieldText(PrgEditRecord.fields.WorkFolder, win::ToCp932(*folder));
}

void TPrgForm::SpeedButton3Click() {
  SlotFields& f = PrgEditRecord.fields;
  SetFieldText(f.LastAccess, Cp932Text(prg_ids::Panel1));
  SetFieldText(f.AccessCount, Cp932Text(prg_ids::Panel2));
  SetFieldText(f.Flag1, "0");
  // The controls hold the whole texts; the fields take their cuts.
  for (const auto [field, id] : {std::pair{Memo, prg_ids::Memo1}, {DisplayName, prg_ids::Edit1},
                                 {Title, prg_ids::Label7}, {WorkFolder, prg_ids::Label5},
                                 {Target, prg_ids::Label2}}) {
    SetWholeText(PrgEditRecord, field, win::GetText(Control(id)));
  }
  PrgEditRecord.icon = glyph_;
  GiveBack(PrgEditRecord);
}

void TPrgForm::SpeedButton8Click() {
  if (CurrentPrompts().Show(hwnd(), L"項目をクリヤーしますか？", L"確認", MB_YESNO) != IDYES) {
    return;
  }
  PrgEditRecord = ClearHandedSlot();
  FillControls();
  glyph_ = BlankIcon();
  ShowGlyph();
}

void TPrgForm::SpeedButton4Click() { EndModal(); }

LRESULT TPrgForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam), code = HIWORD(wparam);
      if (code == BN_CLICKED) {
        switch (id) {
          case prg_ids::SpeedButton6: SpeedButton6Click(); break;
          case prg_ids::SpeedButton2: SpeedButton2Click(); break;
          case prg_ids::SpeedButton3: SpeedButton3Click(); break;
          case prg_ids::SpeedButton8: SpeedButton8Click(); break;
          case prg_ids::SpeedButton4: SpeedButton4Click(); break;
        }
      } else if (code == EN_CHANGE && id == prg_ids::Memo1) {
        win::KeepCp932Bytes(Control(prg_ids::Memo1), kMemoBytes);
      }
      return 0;
    }
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
