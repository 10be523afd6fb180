#include "ui/dpi.h"

#include "platform/handle.h"

namespace quenda::win {

namespace {

// Looked up rather than linked, so that Quenda.exe still starts on systems older than the
// per-monitor functions; there every window has the system's DPI.
template <class F>
F User32Function(const char* name) {
  return reinterpret_cast<F>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int SystemDpi() {
  WindowDC screen(nullptr);
  return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : Dpi::kBase;
}

}  // namespace

void BlitWhole(HDC to, int x, int y, HDC from, int sx, int sy, int width, int height, int factor,
               DWORD rop) {
  if (factor <= 1) {
    BitBlt(to, x, y, width, height, from, sx, sy, rop);
    return;
  }
  const int old_mode = SetStretchBltMode(to, COLORONCOLOR);
  StretchBlt(to, x, y, width * factor, height * factor, from, sx, sy, width, height, rop);
  SetStretchBltMode(to, old_mode);
}

Dpi DpiOf(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (get_dpi_for_window && hwnd) {
    if (const UINT dpi = get_dpi_for_window(hwnd)) return Dpi(int(dpi));
  }
  return Dpi(SystemDpi());
}

SIZE OuterSizeFor(SIZE client, DWORD style, DWORD ex_style, bool menu, Dpi dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust_for_dpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  RECT r{0, 0, client.cx, client.cy};
  if (!adjust_for_dpi || !adjust_for_dpi(&r, style, menu, ex_style, UINT(dpi.value()))) {
    AdjustWindowRectEx(&r, style, menu, ex_style);
  }
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE ClientSizeAt96(SIZE outer, DWORD style, DWORD ex_style, bool menu) {
  const SIZE frame = OuterSizeFor({0, 0}, style, ex_style, menu, Dpi());
  return SIZE{outer.cx - frame.cx, outer.cy - frame.cy};
}

}  // namespace quenda::win
