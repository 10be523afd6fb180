#include "ui/panel.h"

#include <memory>

#include "platform/handle.h"
#include "ui/window.h"

namespace quenda::win {

namespace {

constexpr wchar_t kClassName[] = L"QuendaPanel";

struct PanelState {
  PanelOptions options;
  UniqueBrush brush;
  HFONT font = nullptr;
};

PanelState* State(HWND hwnd) { return reinterpret_cast<PanelState*>(GetWindowLongPtrW(hwnd, 0)); }

COLORREF Colour(const PanelState& s) {
  return s.options.colour == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : s.options.colour;
}

void DrawBevel(HDC dc, RECT& r, Bevel bevel, int width) {
  if (bevel == Bevel::None) return;
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF top_left = bevel == Bevel::Raised ? light : dark;
  const COLORREF bottom_right = bevel == Bevel::Raised ? dark : light;
  for (int i = 0; i < width; ++i) {
    UniqueBrush tl(CreateSolidBrush(top_left)), br(CreateSolidBrush(bottom_right));
    RECT edge{r.left, r.top, r.right, r.top + 1};
    FillRect(dc, &edge, tl.get());
    edge = {r.left, r.top, r.left + 1, r.bottom};
    FillRect(dc, &edge, tl.get());
    edge = {r.left, r.bottom - 1, r.right, r.bottom};
    FillRect(dc, &edge, br.get());
    edge = {r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &edge, br.get());
    InflateRect(&r, -1, -1);
  }
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  PanelState* s = State(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      auto* options = static_cast<const PanelOptions*>(
          reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      auto state = std::make_unique<PanelState>();
      state->options = *options;
      state->brush = UniqueBrush(CreateSolidBrush(Colour(*state)));
      SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state.release()));
      break;
    }
    case WM_NCDESTROY:
      delete s;
      SetWindowLongPtrW(hwnd, 0, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintPanel(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintPanel(hwnd, reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SETFONT:
      if (s) s->font = reinterpret_cast<HFONT>(wparam);
      if (lparam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s ? s->font : nullptr);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wparam, lparam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_CTLCOLORSTATIC:
      if (s) {
        SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
        SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(s->brush.get());
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CONTEXTMENU:
      // Controls inside panels report to the window that owns the panels; a context menu keeps
      // naming the control that was clicked (the default would name the panel).
      return SendMessageW(GetParent(hwnd), message, wparam, lparam);
    case WM_MOUSEMOVE:
      SendMessageW(GetParent(hwnd), WM_COMMAND,
                   MAKEWPARAM(GetDlgCtrlID(hwnd), kPanelMouseMove), reinterpret_cast<LPARAM>(hwnd));
      return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

void PaintPanel(HWND panel, HDC dc) {
  const PanelState* s = State(panel);
  if (!s) return;
  RECT r;
  GetClientRect(panel, &r);
  FillRect(dc, &r, s->brush.get());
  RECT inside = r;
  DrawBevel(dc, inside, s->options.outer, 1);
  DrawBevel(dc, inside, s->options.inner, s->options.bevel_width);
  const std::wstring caption = GetText(panel);
  if (caption.empty()) return;
  SelectGuard font(dc, s->font ? s->font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, caption.c_str(), int(caption.size()), &inside,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

HWND CreatePanel(HWND parent, int id, int x, int y, int w, int h, const std::wstring& caption,
                 const PanelOptions& options) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PanelProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, kClassName, caption.c_str(),
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, w, h,
                         parent, reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(),
                         const_cast<PanelOptions*>(&options));
}

}  // namespace quenda::win
