#pragma once
// TGetFolder: the folder chooser, a modal dialog.
#include "win/window.h"

namespace quenda {

class TGetFolder : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TGetFolder";
  bool Create(HWND owner);
};

}  // namespace quenda
