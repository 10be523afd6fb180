#include "windows/program_editor.h"

#include "core/drop_entry.h"
#include "core/now_text.h"
#include "core/text_rules.h"
#include "platform/cp932.h"
#include "platform/file_dialog.h"
#include "platform/full_text_win.h"
#include "platform/icon_bitmap.h"
#include "platform/prompts.h"
#include "platform/shell_file_icon.h"
#include "resources/program_editor_layout.h"
#include "ui/speed_button.h"
#include "windows/folder_chooser.h"
#include "windows/program_icon.h"

namespace quenda {

namespace {
constexpr std::size_t kMemoBytes = 250;
}

bool ProgramEditor::Create(HWND owner, IconPicker* picker, FolderChooser* folders) {
  picker_ = picker;
  folders_ = folders;
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!CreateTopLevel(kClassName, L"プログラムランチ　登録／編集", style, WS_EX_DLGMODALFRAME,
                      kProgramEditorSize, owner)) {
    return false;
  }
  BuildLayout(ProgramEditorLayout());
  SetWindowPos(Control(prg_ids::KeyFrame), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(Control(prg_ids::MemoBox), EM_LIMITTEXT, kMemoBytes, 0);
  win::SetTabStop(Control(prg_ids::KeyPreview), false);  // it only shows the key
  SetDialogKeys(Control(prg_ids::HeadingEdit), Control(prg_ids::SetButton),
                Control(prg_ids::CancelButton));
  win::CentreOnDesktop(hwnd());
  return true;
}

void ProgramEditor::ShowGlyph() {
  win::SpeedButton::From(Control(prg_ids::KeyPreview))->SetGlyph(win::BitmapFromIcon(glyph_));
}

void ProgramEditor::FillControls() {
  const SlotFields& f = working_entry_.fields;
  win::SetText(Control(prg_ids::TitleText), WholeText(working_entry_, Title));
  win::SetText(Control(prg_ids::ProgramPath), WholeText(working_entry_, Target));
  win::SetText(Control(prg_ids::WorkFolderPath), WholeText(working_entry_, WorkFolder));
  win::SetText(Control(prg_ids::MemoBox), WholeText(working_entry_, Memo));
  SetCp932Text(prg_ids::AccessCountPanel, FieldText(f.AccessCount));
  SetCp932Text(prg_ids::LastAccessPanel, FieldText(f.LastAccess));
  win::SetText(Control(prg_ids::HeadingEdit), WholeText(working_entry_, DisplayName));
}

void ProgramEditor::LoadHandedSlot() {
  SetCp932Text(prg_ids::MemoBox, "");
  SetCp932Text(prg_ids::LastAccessPanel, "");
  working_entry_ = HandedEntry();
  FillControls();
  glyph_ = working_entry_.icon;
  ShowGlyph();
}

void ProgramEditor::LoadIconFromProgram(const std::string& path) {
  glyph_.Fill(kBlack);
  DrawPictureOnWhite(glyph_, IconFromProgram(picker_, hwnd(), path).picture);
  if (!hwnd()) return;  // the session ended while the picker was open
  ShowGlyph();
}

void ProgramEditor::ChooseProgram() {
  OpenFileRequest request;
  request.filter = L"プログラム　(*.exe)|*.Exe";
  request.default_extension = L"exe";
  request.keep_shortcuts = true;
  const std::optional<std::wstring> chosen = CurrentFileDialogs().Open(hwnd(), request);
  if (!chosen || !hwnd()) return;
  const std::string path = win::ToCp932(*chosen);
  // Only the working copy is cleared: the slot keeps its entry until "設　定".
  working_entry_.fields = SlotFields{};
  working_entry_.whole = WholeTexts{};
  if (IsShortcutPath(path)) {
    win::UniqueIcon icon;
    std::string display_name;
    ShellFileIcon(*chosen, icon, display_name);
    DrawPictureOnWhite(glyph_, win::ComposeIcon(icon.get(), kIconPalette[kBlack]));
    ShowGlyph();
    SetFieldText(working_entry_.fields.Title, display_name);
  } else {
    LoadIconFromProgram(path);
    if (!hwnd()) return;
    SetFieldText(working_entry_.fields.Title, PathFileName(path));
  }
  const std::string title = FieldText(working_entry_.fields.Title);
  SetCp932Text(prg_ids::HeadingEdit, title);
  SetFieldText(working_entry_.fields.DisplayName, title);
  SetFieldText(working_entry_.fields.Target, path);
  win::SetText(Control(prg_ids::ProgramPath), *chosen);
  SetCp932Text(prg_ids::TitleText, Cp932Text(prg_ids::HeadingEdit));
  SetCp932Text(prg_ids::AccessCountPanel, "0");
  SetCp932Text(prg_ids::LastAccessPanel, NowText());
  SetCp932Text(prg_ids::WorkFolderPath, "");
  SetCp932Text(prg_ids::MemoBox, "");
}

void ProgramEditor::ChooseWorkFolder() {
  const std::optional<std::wstring> folder =
      folders_ ? folders_->ChooseFolder(hwnd()) : std::nullopt;
  if (!folder) return;
  win::SetText(Control(prg_ids::WorkFolderPath), *folder);
  SetFieldText(working_entry_.fields.WorkFolder, win::ToCp932(*folder));
}

void ProgramEditor::Confirm() {
  SlotFields& f = working_entry_.fields;
  SetFieldText(f.LastAccess, Cp932Text(prg_ids::LastAccessPanel));
  SetFieldText(f.AccessCount, Cp932Text(prg_ids::AccessCountPanel));
  SetFieldText(f.Flag1, "0");
  // The controls hold the whole texts; the fields take their cuts.
  for (const auto& [field, id] :
       {std::pair{Memo, prg_ids::MemoBox}, {DisplayName, prg_ids::HeadingEdit},
        {Title, prg_ids::TitleText}, {WorkFolder, prg_ids::WorkFolderPath},
        {Target, prg_ids::ProgramPath}}) {
    SetWholeText(working_entry_, field, win::GetText(Control(id)));
  }
  working_entry_.icon = glyph_;
  GiveBack(working_entry_);
}

void ProgramEditor::ClearEntry() {
  if (CurrentPrompts().Show(hwnd(), L"項目をクリヤーしますか？", L"確認", MB_YESNO) != IDYES ||
      !hwnd()) {
    return;
  }
  working_entry_ = ClearHandedSlot();
  FillControls();
  glyph_ = BlankIcon();
  ShowGlyph();
}

void ProgramEditor::Cancel() { EndModal(); }

LRESULT ProgramEditor::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam), code = HIWORD(wparam);
      if (code == BN_CLICKED) {
        switch (id) {
          case prg_ids::ProgramButton: ChooseProgram(); break;
          case prg_ids::WorkFolderButton: ChooseWorkFolder(); break;
          case prg_ids::SetButton: Confirm(); break;
          case prg_ids::ClearButton: ClearEntry(); break;
          case prg_ids::CancelButton: Cancel(); break;
        }
      } else if (code == EN_CHANGE && id == prg_ids::MemoBox) {
        win::KeepCp932Bytes(Control(prg_ids::MemoBox), kMemoBytes);
      }
      return 0;
    }
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
