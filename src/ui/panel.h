#pragma once
// A panel: a child window that groups controls, draws its bevels and an optional centred
// caption (its window text), colours its labels' background, and passes notifications up.
#include <windows.h>

#include <string>

namespace quenda::win {

enum class Bevel { None, Lowered, Raised };

struct PanelOptions {
  Bevel outer = Bevel::Raised;
  Bevel inner = Bevel::None;
  int bevel_width = 1;
  COLORREF colour = CLR_INVALID;  // CLR_INVALID: the button face
};

// WM_COMMAND notification code a panel sends its parent on mouse movement over its own
// surface (not over its children).
constexpr WORD kPanelMouseMove = 0x0401;

// The panel owns itself: it lives as long as its window.
HWND CreatePanel(HWND parent, int id, const RECT& r, const std::wstring& caption,
                 const PanelOptions& options);

}  // namespace quenda::win
