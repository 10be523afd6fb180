#pragma once
// Creates a window's controls from its layout table, each a real child window with the
// layout's identifier and its caption as window text, all in the window's font.
#include <windows.h>

#include <map>
#include <span>
#include <string>

#include "resources/layout.h"
#include "win/window.h"

namespace quenda::win {

// Identifier to window; the window itself under 0. Custom controls are left to the caller,
// which finds their parent here.
using ControlMap = std::map<int, HWND>;

ControlMap BuildControls(HWND window, std::span<const ControlSpec> layout, HFONT font);

// The font of a control whose height differs from the window's (kept alive by the caller).
HFONT FontForHeight(int pixel_height);

// A window whose controls come from a layout table, found by their identifiers.
class LayoutWindow : public Window {
 public:
  HWND Control(int id) const;

 protected:
  std::string Cp932Text(int id) const;
  void SetCp932Text(int id, const std::string& cp932);

  ControlMap controls_;
};

}  // namespace quenda::win
