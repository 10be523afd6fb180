#pragma once
// TPrgIconGetBox: the icon picker, a modal dialog.
#include "win/window.h"

namespace quenda {

class TPrgIconGetBox : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TPrgIconGetBox";
  bool Create(HWND owner);
};

}  // namespace quenda
