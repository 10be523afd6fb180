#pragma once
// TPrgForm: the program entry editor, a modal dialog over the main window.
#include "win/window.h"

namespace quenda {

class TPrgForm : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TPrgForm";
  bool Create(HWND owner);
};

}  // namespace quenda
