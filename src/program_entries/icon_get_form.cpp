#include "program_entries/icon_get_form.h"

namespace quenda {

bool TPrgIconGetBox::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  if (!CreateTopLevel(kClassName, L"Ｉｃｏｎ取り出し", style, WS_EX_DLGMODALFRAME, 449, 190, owner)) return false;
  win::CentreOnDesktop(hwnd());
  return true;
}

}  // namespace quenda
