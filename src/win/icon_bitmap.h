#pragma once
// Between the icon model and GDI: slot icons as bitmaps, icons composed on a 32-bit surface.
#include <windows.h>

#include "slot_table/slot_icon.h"
#include "win/handle.h"

namespace quenda::win {

// A top-down 32-bit DIB section; `bits` receives its pixels (0x00RRGGBB).
UniqueBitmap CreateTopDownSurface(int width, int height, void** bits);

// A 32 x 32, 24-bit copy of a slot icon, for a button glyph.
UniqueBitmap BitmapFromIcon(const IconBitmap& icon);

// The icon drawn at (0,0) in its own size on a 32 x 32 surface of one colour; its transparent
// parts show that colour. An undrawable icon leaves the plain surface.
Picture ComposeIcon(HICON icon, Rgb background);

// The pixels of any bitmap as a 32-bit picture.
Picture PictureFromBitmap(HBITMAP bitmap);

}  // namespace quenda::win
