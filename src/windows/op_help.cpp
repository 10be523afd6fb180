#include "windows/op_help.h"

#include "platform/prompts.h"
#include "platform/shell.h"
#include "ui/font.h"

namespace quenda {

std::wstring HomePageTarget(const std::wstring& page, const std::wstring& address,
                            const std::filesystem::path& program_folder) {
  // "https://…" or "C:\…" stays as it is; a bare name is the program's companion.
  const bool has_scheme = page.find(L"://") != std::wstring::npos;
  const std::filesystem::path name(page);
  if (page.empty() || has_scheme || name.is_absolute()) return page;
  const std::filesystem::path beside = program_folder / name;
  std::error_code ec;
  if (!std::filesystem::exists(beside, ec) && !address.empty()) return address;
  return beside.wstring();
}

bool TOpHelp::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  if (!CreateTopLevel(kClassName, L"ヘルプ", style, WS_EX_DLGMODALFRAME, 393, 114, owner)) {
    return false;
  }
  BuildLayout(OpHelpLayout());
  for (const LayoutRow& c : OpHelpLayout()) {
    if (c.kind != ControlKind::Custom) continue;
    // The link: blue, underlined, with the hand cursor; SS_NOTIFY reports its clicks. A long
    // path keeps its start and its file name.
    const RECT r = win::ControlRect(c, dpi(), Font());
    controls_[c.id] = CreateWindowExW(
        0, L"STATIC", c.text,
        WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, r.left,
        r.top, r.right - r.left, r.bottom - r.top, hwnd(),
        reinterpret_cast<HMENU>(INT_PTR(c.id)), win::ModuleInstance(), nullptr);
  }
  SetLinkFont();
  ShowHomePage();
  win::CentreOnDesktop(hwnd());
  return true;
}

void TOpHelp::ShowHomePage() {
  target_ = HomePageTarget(page_, address_, std::filesystem::path(ProgramPath()).parent_path());
  win::SetText(Control(help_ids::StaticText1), target_);
}

void TOpHelp::SetLinkFont() {
  LOGFONTW lf{};
  GetObjectW(win::CreateUiFont(dpi().Scale(13)).get(), sizeof lf, &lf);
  lf.lfUnderline = TRUE;
  win::UniqueFont old = std::move(link_font_);  // freed once the link has the new one
  link_font_ = win::UniqueFont(CreateFontIndirectW(&lf));
  SendMessageW(Control(help_ids::StaticText1), WM_SETFONT,
               reinterpret_cast<WPARAM>(link_font_.get()), TRUE);
}

void TOpHelp::PlaceOwnControls() { SetLinkFont(); }

void TOpHelp::SpeedButton1Click() { EndModal(); }

void TOpHelp::StaticText1Click() {
  const DWORD error = CurrentShell().Execute(nullptr, L"OPEN", target_, nullptr, SW_SHOW);
  if (error != ERROR_SUCCESS) ShowErrorText(hwnd(), OpenFailureText(target_, error));
}

LRESULT TOpHelp::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == help_ids::SpeedButton1 && HIWORD(wparam) == BN_CLICKED) {
        SpeedButton1Click();
      } else if (LOWORD(wparam) == help_ids::StaticText1 && HIWORD(wparam) == STN_CLICKED) {
        StaticText1Click();
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkMode(dc, TRANSPARENT);
      const bool link = reinterpret_cast<HWND>(lparam) == Control(help_ids::StaticText1);
      SetTextColor(dc, link ? RGB(0, 0, 255) : GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wparam) == Control(help_ids::StaticText1)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
