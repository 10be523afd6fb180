#include "program_entries/prg_edit.h"

namespace quenda {

bool TPrgForm::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!CreateTopLevel(kClassName, L"プログラムランチ　登録／編集", style, WS_EX_DLGMODALFRAME, 595, 314, owner)) return false;
  win::CentreOnDesktop(hwnd());
  return true;
}

}  // namespace quenda
