#include "url_entries/help.h"

namespace quenda {

bool TOpHelp::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | 0;
  if (!CreateTopLevel(kClassName, L"ヘルプ", style, WS_EX_DLGMODALFRAME, 393, 114, owner)) return false;
  win::CentreOnDesktop(hwnd());
  return true;
}

}  // namespace quenda
