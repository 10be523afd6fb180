#include "windows/backup_chooser.h"

#include "resources/backup_chooser_layout.h"

namespace quenda {

using namespace backup_ids;

bool BackupChooser::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  if (!CreateTopLevel(kClassName, L"バックアップから戻す", style, WS_EX_DLGMODALFRAME,
                      kBackupChooserSize, owner)) {
    return false;
  }
  BuildLayout(BackupChooserLayout());
  win::CentreOnDesktop(hwnd());
  return true;
}

std::optional<std::size_t> BackupChooser::ChooseBackup(HWND owner,
                                                       const std::vector<std::wstring>& lines) {
  if (!EnsureCreated()) return std::nullopt;
  const HWND list = Control(List);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& line : lines) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  // The newest is chosen unless another is: Enter restores the day before the latest save.
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  win::SetText(Control(Heading), lines.empty() ? kNoBackupText : kChooseBackupText);
  EnableWindow(list, !lines.empty());
  EnableWindow(Control(RestoreButton), !lines.empty());
  SetDialogKeys(lines.empty() ? Control(CancelButton) : list, Control(RestoreButton),
                Control(CancelButton));
  chosen_.reset();
  if (!ShowModal(owner)) return std::nullopt;
  return chosen_;
}

void BackupChooser::Confirm() {
  const LRESULT selected = SendMessageW(Control(List), LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  chosen_ = std::size_t(selected);
  EndModal();
}

void BackupChooser::Cancel() {
  chosen_.reset();
  EndModal();
}

LRESULT BackupChooser::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) {
    const int id = LOWORD(wparam), code = HIWORD(wparam);
    if ((id == RestoreButton && code == BN_CLICKED) || (id == List && code == LBN_DBLCLK)) {
      Confirm();
    } else if (id == CancelButton && code == BN_CLICKED) {
      Cancel();
    }
    return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
