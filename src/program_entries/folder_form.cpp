#include "program_entries/folder_form.h"

namespace quenda {

bool TGetFolder::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  if (!CreateTopLevel(kClassName, L"ディレクトリー選択", style, WS_EX_DLGMODALFRAME, 581, 287, owner)) return false;
  win::CentreOnDesktop(hwnd());
  return true;
}

}  // namespace quenda
