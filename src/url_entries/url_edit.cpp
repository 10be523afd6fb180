#include "url_entries/url_edit.h"

namespace quenda {

bool TKeyIn_URL::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | 0;
  if (!CreateTopLevel(kClassName, L"ＵＲＬ情報取得／編集", style, WS_EX_DLGMODALFRAME, 592, 255, owner)) return false;
  win::CentreOnDesktop(hwnd());
  return true;
}

}  // namespace quenda
