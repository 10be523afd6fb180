#include "ui/panel.h"

#include <memory>

#include "platform/handle.h"
#include "ui/window.h"

namespace quenda::win {

namespace {

constexpr wchar_t kClassName[] = L"QuendaPanel";

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

class Panel : public Window {
 public:
  explicit Panel(const PanelOptions& options)
      : options_(options),
        brush_(CreateSolidBrush(options.colour == CLR_INVALID ? GetSysColor(COLOR_BTNFACE)
                                                              : options.colour)) {}

  static HWND Create(HWND parent, int id, const RECT& r, const std::wstring& caption,
                     const PanelOptions& options) {
    RegisterClassOnce(kClassName, 0, nullptr, nullptr);
    return CreateOwned(std::make_unique<Panel>(options), kClassName, caption.c_str(),
                       WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, r, parent, id);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(HDC dc) override;

 private:
  PanelOptions options_;
  UniqueBrush brush_;
  HFONT font_ = nullptr;  // not owned, as with the system's controls
};

LRESULT Panel::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wparam);
      if (lparam) InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
      const LRESULT result = Default(message, wparam, lparam);
      InvalidateRect(hwnd(), nullptr, FALSE);
      return result;
    }
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(brush_.get());
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CONTEXTMENU:
      // Controls inside panels report to the window that owns the panels; a context menu keeps
      // naming the control that was clicked (the default would name the panel).
      return SendMessageW(GetParent(hwnd()), message, wparam, lparam);
    case WM_MOUSEMOVE:
      SendMessageW(GetParent(hwnd()), WM_COMMAND,
                   MAKEWPARAM(GetDlgCtrlID(hwnd()), kPanelMouseMove),
                   reinterpret_cast<LPARAM>(hwnd()));
      return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

void Panel::Paint(HDC dc) {
  RECT r;
  GetClientRect(hwnd(), &r);
  FillRect(dc, &r, brush_.get());
  RECT inside = r;
  DrawBevel(dc, inside, options_.outer, 1);
  DrawBevel(dc, inside, options_.inner, options_.bevel_width);
  const std::wstring caption = GetText(hwnd());
  if (caption.empty()) return;
  SelectGuard font(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, caption.c_str(), int(caption.size()), &inside,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

HWND CreatePanel(HWND parent, int id, const RECT& r, const std::wstring& caption,
                 const PanelOptions& options) {
  return Panel::Create(parent, id, r, caption, options);
}

}  // namespace quenda::win
