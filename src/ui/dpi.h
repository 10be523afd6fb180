#pragma once
// A window's scale: its dots per inch against the 96 at which the layouts, fonts and pictures
// are drawn. Every size that depends on the screen goes through one of these.
#include <windows.h>

#include <algorithm>

namespace quenda::win {

class Dpi {
 public:
  static constexpr int kBase = 96;

  constexpr Dpi() = default;
  explicit constexpr Dpi(int dpi) : dpi_(dpi > 0 ? dpi : kBase) {}

  int value() const { return dpi_; }
  // A length at 96 DPI in this DPI's pixels, rounded to the nearest.
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, kBase); }
  // A rectangle's edges scaled, not its size: what lies inside another at 96 DPI stays inside.
  RECT Scale(int x, int y, int width, int height) const {
    return RECT{Scale(x), Scale(y), Scale(x + width), Scale(y + height)};
  }
  // How many screen pixels a picture pixel becomes: a whole number, so pictures stay sharp.
  // Never more than the scale, so a picture keeps fitting the cell that scales with it.
  int PictureFactor() const { return std::max(1, dpi_ / kBase); }

  friend bool operator==(Dpi, Dpi) = default;

 private:
  int dpi_ = kBase;
};

// Copies `width` x `height` pixels of `from` at (sx, sy) to `to` at (x, y), each pixel becoming
// a square of `factor` x `factor` (nearest neighbour: no blur), with the raster operation `rop`.
void BlitWhole(HDC to, int x, int y, HDC from, int sx, int sy, int width, int height, int factor,
               DWORD rop = SRCCOPY);

// The DPI a window is shown at (per monitor where the system has that), else the system's.
Dpi DpiOf(HWND hwnd);
// The outer size of a window with this client size, frame and menu drawn at `dpi`.
SIZE OuterSizeFor(SIZE client, DWORD style, DWORD ex_style, bool menu, Dpi dpi);
// The client size at 96 DPI of a window of this outer size at 96 DPI.
SIZE ClientSizeAt96(SIZE outer, DWORD style, DWORD ex_style, bool menu);

}  // namespace quenda::win
