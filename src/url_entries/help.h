#pragma once
// TOpHelp: the help dialog.
#include "win/window.h"

namespace quenda {

class TOpHelp : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TOpHelp";
  bool Create(HWND owner);
};

}  // namespace quenda
