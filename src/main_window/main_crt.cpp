#include "main_window/main_crt.h"

#include <vector>

#include "main_window/app.h"
#include "main_window/forms.h"
#include "resources/resource_ids.h"
#include "slot_table/table_file.h"
#include "win/font.h"

namespace quenda {

namespace {

std::filesystem::path CurrentDirectory() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(n, L'\0');
  dir.resize(GetCurrentDirectoryW(n, dir.data()));
  return dir;
}

}  // namespace

bool TMainForm::Create(Forms* forms) {
  forms_ = forms;
  RegisterClassOnce(kClassName);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  HMENU menu = LoadMenuW(win::ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINMENU));
  if (!CreateTopLevel(kClassName, L"Quenda", style, 0, kClientWidth, kClientHeight, nullptr,
                      menu)) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  font_ = win::CreateUiFont(12);
  FormCreate();
  return true;
}

void TMainForm::FormCreate() {
  CurrentPage = 0;
  CurrentSlot = 0;
  InitSlotTable();
  ProgramDir = CurrentDirectory();
  loaded_cleanly_ = false;
  if (MaybeError error = LoadTable()) {
    ShowErrorBox(hwnd(), *error);
    return;
  }
  loaded_cleanly_ = true;
}

void TMainForm::FormShow() {}

bool TMainForm::FormCloseQuery() {
  if (MaybeError error = SaveTable()) {
    ShowErrorBox(hwnd(), *error);
    return false;
  }
  return true;
}

void TMainForm::Exit1Click() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TMainForm::N3Click() {
  if (forms_) forms_->help.ShowModal(hwnd());
}

LRESULT TMainForm::OnQueryEndSession() {
  if (!saved_for_session_end_) saved_for_session_end_ = FormCloseQuery();
  return saved_for_session_end_ ? TRUE : FALSE;
}

void TMainForm::OnEndSession(bool ending) {
  if (!ending) {
    saved_for_session_end_ = false;  // the log-off was cancelled; the next one saves anew
    return;
  }
  if (!saved_for_session_end_ && !FormCloseQuery()) return;
  saved_for_session_end_ = true;
  DestroyWindow(hwnd());
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDM_EXIT1:
          Exit1Click();
          return 0;
        case IDM_N3:
          N3Click();
          return 0;
      }
      break;
    case WM_SHOWWINDOW:
      if (wparam && !shown_) {
        shown_ = true;
        FormShow();
      }
      break;
    case WM_CLOSE:
      if (FormCloseQuery()) DestroyWindow(hwnd());
      return 0;
    case WM_QUERYENDSESSION:
      return OnQueryEndSession();
    case WM_ENDSESSION:
      OnEndSession(wparam != FALSE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
