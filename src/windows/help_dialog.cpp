#include "windows/help_dialog.h"

#include "platform/prompts.h"
#include "platform/shell.h"
#include "resources/help_dialog_layout.h"

namespace quenda {

namespace {
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
}  // namespace

std::wstring HomePageTarget(const std::wstring& page, const std::wstring& address,
                            const std::wstring& program_folder) {
  // "https://…", "C:\…" or "\\server\…" stays as it is; a bare name is the program's companion.
  const bool has_scheme = page.find(L"://") != std::wstring::npos;
  const bool is_absolute = (page.size() > 2 && page[1] == L':' && IsSeparator(page[2])) ||
                           (page.size() > 1 && IsSeparator(page[0]) && IsSeparator(page[1]));
  if (page.empty() || has_scheme || is_absolute) return page;
  std::wstring beside = program_folder;
  if (!beside.empty() && !IsSeparator(beside.back())) beside += L'\\';
  beside += page;
  if (GetFileAttributesW(beside.c_str()) == INVALID_FILE_ATTRIBUTES && !address.empty()) {
    return address;
  }
  return beside;
}

bool HelpDialog::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  if (!CreateTopLevel(kClassName, L"ヘルプ", style, WS_EX_DLGMODALFRAME, kHelpDialogSize, owner)) {
    return false;
  }
  BuildLayout(HelpDialogLayout());
  SetDialogKeys(Control(help_ids::OkButton), Control(help_ids::OkButton), nullptr);
  ShowHomePage();
  win::CentreOnDesktop(hwnd());
  return true;
}

void HelpDialog::ShowHomePage() {
  target_ = HomePageTarget(page_, address_, ProgramFolder());
  win::SetText(Control(help_ids::Link), target_);
}

void HelpDialog::Dismiss() { EndModal(); }

// The link, a plain static, shows no focus of its own: the dialog draws the mark around it.
void HelpDialog::Paint(HDC dc) {
  const HWND link = Control(help_ids::Link);
  if (!KeyboardUsed() || GetFocus() != link) return;
  RECT r;
  GetWindowRect(link, &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  InflateRect(&r, 2, 2);
  DrawFocusRect(dc, &r);
}

void HelpDialog::FocusMarksChanged() { InvalidateRect(hwnd(), nullptr, TRUE); }

void HelpDialog::OpenHomePage() {
  const DWORD error = CurrentShell().Execute(nullptr, L"OPEN", target_, {}, nullptr, SW_SHOW);
  if (error != ERROR_SUCCESS) ShowErrorText(hwnd(), OpenFailureText(target_, error));
}

LRESULT HelpDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == help_ids::OkButton && HIWORD(wparam) == BN_CLICKED) {
        Dismiss();
      } else if (LOWORD(wparam) == help_ids::Link && HIWORD(wparam) == STN_CLICKED) {
        OpenHomePage();
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkMode(dc, TRANSPARENT);
      const bool link = reinterpret_cast<HWND>(lparam) == Control(help_ids::Link);
      SetTextColor(dc, link ? RGB(0, 0, 255) : GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wparam) == Control(help_ids::Link)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
