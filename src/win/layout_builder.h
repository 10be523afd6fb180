#pragma once
// Creates a window's controls from its layout table, each a real child window with the
// layout's identifier and its caption as window text, all in the window's font.
#include <windows.h>

#include <map>
#include <span>

#include "resources/layout.h"

namespace quenda::win {

// Identifier to window; the window itself under 0. Custom controls are left to the caller,
// which finds their parent here.
using ControlMap = std::map<int, HWND>;

ControlMap BuildControls(HWND window, std::span<const ControlSpec> layout, HFONT font);

// The font of a control whose height differs from the window's (kept alive by the caller).
HFONT FontForHeight(int pixel_height);

}  // namespace quenda::win
