#pragma once
// Between the icon model and GDI: slot icons as bitmaps, icons composed on a 32-bit surface.
#include <windows.h>

#include <string>

#include "core/slot_icon.h"
#include "platform/handle.h"

namespace quenda::win {

// A top-down 32-bit DIB section; `bits` receives its pixels (0x00RRGGBB).
UniqueBitmap CreateTopDownSurface(int width, int height, void** bits);

// A 32 x 32, 24-bit copy of a slot icon, for a button glyph.
UniqueBitmap BitmapFromIcon(const IconBitmap& icon);

// Icon `index` of a file (.ico, .exe, .dll) at 32 x 32 whatever the display's icon size: the
// file's own 32-pixel image, or its nearest image scaled when it has none. None when the file
// holds no icon at that index.
UniqueIcon FileIcon32(const std::wstring& path, int index);

// The icon drawn at (0,0) at 32 x 32 on a 32 x 32 surface of one colour (an icon of another size,
// as the shell gives at other DPIs, is scaled to it); its transparent parts show that colour. An
// undrawable icon leaves the plain surface.
Picture ComposeIcon(HICON icon, Rgb background);

// Shows `bitmap` in a bitmap static control. The static may hold a copy of the one it was
// given (comctl32 6 copies a bitmap with alpha) and hands it back on the next change: a handle
// back that is not `previous`, the caller's own last one, is freed here.
void SetStaticBitmap(HWND image, HBITMAP bitmap, HBITMAP previous);

// The pixels of any bitmap as a 32-bit picture.
Picture PictureFromBitmap(HBITMAP bitmap);

}  // namespace quenda::win
