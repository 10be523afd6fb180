#pragma once
// TKeyIn_URL: the URL entry editor, a modal dialog.
#include "win/window.h"

namespace quenda {

class TKeyIn_URL : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TKeyIn_URL";
  bool Create(HWND owner);
};

}  // namespace quenda
