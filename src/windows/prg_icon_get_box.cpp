#include "windows/prg_icon_get_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>

#include "platform/cp932.h"
#include "platform/icon_bitmap.h"
#include "resources/prg_icon_get_box_layout.h"

namespace quenda {

namespace {

constexpr wchar_t kStripClass[] = L"QuendaIconStrip";
constexpr wchar_t kScrollBoxClass[] = L"QuendaScrollBox";
constexpr int kScrollButton = 18;  // width of the scroll bar's arrow buttons

// A top-down 32-bit surface filled white, as a fresh picture's canvas is.
win::UniqueBitmap WhiteSurface(int width, int height) {
  void* bits = nullptr;
  win::UniqueBitmap bitmap = win::CreateTopDownSurface(width, height, &bits);
  if (bitmap) std::fill_n(static_cast<std::uint32_t*>(bits), std::size_t(width) * height, 0xFFFFFFu);
  return bitmap;
}

// --- The icon strip: paints the picker's strip picture and reports the mouse to the picker. ---
// Extra bytes: the picker, and whether the left button went down on the strip.

TPrgIconGetBox* StripPicker(HWND strip) {
  return reinterpret_cast<TPrgIconGetBox*>(GetWindowLongPtrW(strip, 0));
}

void PaintStrip(HWND strip, HDC dc) {
  if (const TPrgIconGetBox* picker = StripPicker(strip)) picker->PaintStrip(dc);
}

// The number of cells of a strip picture.
int CellCount(HBITMAP strip) {
  BITMAP info{};
  if (!strip || !GetObjectW(strip, sizeof info, &info)) return 0;
  return info.bmWidth / TPrgIconGetBox::kCell;
}

LRESULT CALLBACK StripProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(
                                     reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintStrip(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintStrip(hwnd, reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_MOUSEMOVE:
      if (TPrgIconGetBox* picker = StripPicker(hwnd)) picker->Image1MouseMove(GET_X_LPARAM(lparam));
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      SetWindowLongPtrW(hwnd, sizeof(LONG_PTR), 1);
      return 0;
    case WM_LBUTTONUP: {
      // A click is a press and a release both on the strip.
      const bool pressed = GetWindowLongPtrW(hwnd, sizeof(LONG_PTR)) != 0;
      if (GetCapture() == hwnd) ReleaseCapture();
      SetWindowLongPtrW(hwnd, sizeof(LONG_PTR), 0);
      RECT r;
      GetClientRect(hwnd, &r);
      const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (pressed && PtInRect(&r, at)) {
        if (TPrgIconGetBox* picker = StripPicker(hwnd)) picker->Image1Click();
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      SetWindowLongPtrW(hwnd, sizeof(LONG_PTR), 0);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// --- The scroll box: a white, sunken box whose horizontal scroll bar shows when its content
// (the strip) is wider than the box, and which moves the content as it scrolls. ---
// Extra bytes: the scroll position.

int ScrollPosition(HWND box) { return int(GetWindowLongPtrW(box, 0)); }

// Moves the content to the position `to`, clamped to the scroll range.
void ScrollTo(HWND box, int to) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  FlatSB_GetScrollInfo(box, SB_HORZ, &si);
  const int last = std::max(0, si.nMax - si.nMin + 1 - int(si.nPage));
  to = std::clamp(to, 0, last);
  const int from = ScrollPosition(box);
  if (to != si.nPos) {
    si.fMask = SIF_POS;
    si.nPos = to;
    FlatSB_SetScrollInfo(box, SB_HORZ, &si, TRUE);
  }
  if (to == from) return;
  SetWindowLongPtrW(box, 0, to);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, r.left + from - to, r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(box, nullptr, TRUE);
}

// The content was placed anew where it lies unscrolled: the box starts from there.
void ForgetScroll(HWND box) { SetWindowLongPtrW(box, 0, 0); }

// The range follows the content's right edge as it lies unscrolled; the page is the box's width.
void UpdateScrollRange(HWND box) {
  int extent = 0;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    extent = std::max(extent, int(r.right) + ScrollPosition(box));
  }
  RECT client;
  GetClientRect(box, &client);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMin = 0;
  si.nMax = std::max(0, extent - 1);
  si.nPage = UINT(client.right);
  FlatSB_SetScrollInfo(box, SB_HORZ, &si, TRUE);
  ScrollTo(box, ScrollPosition(box));
}

void OnScroll(HWND box, int code) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  FlatSB_GetScrollInfo(box, SB_HORZ, &si);
  const int page = int(si.nPage);
  const int line = std::max(1, page / 10);  // small steps: smooth scrolling
  int to = ScrollPosition(box);
  switch (code) {
    case SB_LINELEFT: to -= line; break;
    case SB_LINERIGHT: to += line; break;
    case SB_PAGELEFT: to -= page; break;
    case SB_PAGERIGHT: to += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: to = si.nTrackPos; break;
    case SB_LEFT: to = 0; break;
    case SB_RIGHT: to = si.nMax; break;
    default: return;
  }
  ScrollTo(box, to);
}

LRESULT CALLBACK ScrollBoxProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_HSCROLL:
      OnScroll(hwnd, LOWORD(wparam));
      return 0;
    case WM_SIZE:
      UpdateScrollRange(hwnd);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void RegisterControlClasses() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = StripProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = win::ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kStripClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = ScrollBoxProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kScrollBoxClass;
    RegisterClassExW(&wc);
    return true;
  }();
  (void)registered;
}

}  // namespace

int IconCount(const std::string& path) {
  // With the index -1 the result is the count, not an icon.
  return int(reinterpret_cast<INT_PTR>(
      ExtractIconW(win::ModuleInstance(), win::FromCp932(path).c_str(), UINT(-1))));
}

bool TPrgIconGetBox::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  RegisterControlClasses();
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  const SIZE client = win::ClientSizeAt96({kWidth, kHeight}, style, 0, false);
  if (!CreateTopLevel(kClassName, L"Ｉｃｏｎ取り出し", style, 0, client.cx, client.cy, owner)) {
    return false;
  }
  CreateControls();
  win::CentreOnDesktop(hwnd());
  return true;
}

void TPrgIconGetBox::CreateControls() {
  using namespace icon_get_ids;
  BuildLayout(PrgIconGetBoxLayout());
  for (const LayoutRow& c : PrgIconGetBoxLayout()) {
    if (c.kind != ControlKind::Custom) continue;
    const HWND parent = Control(c.parent);
    const HMENU id = reinterpret_cast<HMENU>(INT_PTR(c.id));
    const RECT r = win::ControlRect(c, dpi(), Font());
    const int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    if (c.id == IconForm) {
      const HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, kScrollBoxClass, c.name,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w, h, parent,
                                       id, win::ModuleInstance(), nullptr);
      InitializeFlatSB(box);
      FlatSB_SetScrollProp(box, WSB_PROP_CXHSCROLL, dpi().Scale(kScrollButton), FALSE);
      controls_[c.id] = box;
    } else {
      controls_[c.id] = CreateWindowExW(0, kStripClass, c.name, WS_CHILD | WS_VISIBLE, x, y, w, h,
                                        parent, id, win::ModuleInstance(), this);
    }
  }
  UpdateScrollRange(Control(IconForm));
}

void TPrgIconGetBox::PlaceOwnControls() {
  const HWND box = Control(icon_get_ids::IconForm);
  ForgetScroll(box);
  FlatSB_SetScrollProp(box, WSB_PROP_CXHSCROLL, dpi().Scale(kScrollButton), FALSE);
  SizeStrip();
  if (preview_) ShowPreview();
}

void TPrgIconGetBox::SizeStrip() {
  const HWND strip = Control(icon_get_ids::Image1);
  SetWindowPos(strip, nullptr, 0, 0, CellCount(strip_.get()) * Cell(), Cell(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateScrollRange(Control(icon_get_ids::IconForm));
  InvalidateRect(strip, nullptr, FALSE);
}

void TPrgIconGetBox::PaintStrip(HDC dc) const {
  RECT r;
  GetClientRect(Control(icon_get_ids::Image1), &r);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!strip_) return;
  win::MemoryDC source(dc);
  win::SelectGuard select(source.get(), strip_.get());
  const int cell = Cell(), factor = dpi().PictureFactor();
  const int inset = (cell - kCell * factor) / 2;
  for (int i = 0, n = CellCount(strip_.get()); i < n; ++i) {
    win::BlitWhole(dc, i * cell + inset, inset, source.get(), i * kCell, 0, kCell, kCell, factor);
  }
}

int TPrgIconGetBox::IconChoice(HWND owner, const std::string& path) {
  EmptyStrip();
  const int count = IconCount(path);
  if (count < 2) return 0;
  DrawStrip(path, count);
  ShowModal(owner);
  // A choice remembered from a file with more icons falls back to this file's first.
  return selected_icon_ >= 0 && selected_icon_ < count ? selected_icon_ : 0;
}

void TPrgIconGetBox::EmptyStrip() {
  strip_.reset();
  InvalidateRect(Control(icon_get_ids::Image1), nullptr, FALSE);
}

void TPrgIconGetBox::DrawStrip(const std::string& path, int count) {
  const HWND strip = Control(icon_get_ids::Image1);
  const int width = count * kCell;
  strip_ = WhiteSurface(width, kCell);
  SizeStrip();
  if (strip_) {
    win::MemoryDC dc;
    win::SelectGuard select(dc.get(), strip_.get());
    const std::wstring file = win::FromCp932(path);
    for (int i = 0; i < count; ++i) {
      const win::UniqueIcon icon = win::FileIcon32(file, i);
      if (icon) DrawIconEx(dc.get(), i * kCell, 0, icon.get(), kCell, kCell, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
  }
  InvalidateRect(strip, nullptr, FALSE);
}

void TPrgIconGetBox::Image1MouseMove(int x) {
  hover_icon_ = x / Cell();
  // The index last clicked, not the one under the mouse.
  win::SetText(Control(icon_get_ids::Label2), std::to_wstring(selected_icon_));
}

void TPrgIconGetBox::Image1Click() {
  selected_icon_ = hover_icon_;
  if (!preview_) preview_ = WhiteSurface(kCell, kCell);
  if (strip_ && preview_) {
    win::MemoryDC target, source;
    win::SelectGuard into(target.get(), preview_.get());
    win::SelectGuard from(source.get(), strip_.get());
    // 31 x 31: the cell's last column and row are not copied.
    BitBlt(target.get(), 0, 0, kCell - 1, kCell - 1, source.get(), hover_icon_ * kCell, 0, SRCCOPY);
    GdiFlush();
  }
  ShowPreview();
}

void TPrgIconGetBox::ShowPreview() {
  const int cell = Cell(), factor = dpi().PictureFactor();
  win::UniqueBitmap shown = WhiteSurface(cell, cell);
  if (!shown) return;
  {
    win::MemoryDC target, source;
    win::SelectGuard into(target.get(), shown.get());
    win::SelectGuard from(source.get(), preview_.get());
    const int inset = (cell - kCell * factor) / 2;
    win::BlitWhole(target.get(), inset, inset, source.get(), 0, 0, kCell, kCell, factor);
    GdiFlush();
  }
  const HWND image = Control(icon_get_ids::Image2);
  SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown.get()));
  shown_preview_ = std::move(shown);  // the picture shown before is freed here
  InvalidateRect(image, nullptr, FALSE);
}

void TPrgIconGetBox::SpeedButton1Click() { EndModal(); }

LRESULT TPrgIconGetBox::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == icon_get_ids::SpeedButton1 && HIWORD(wparam) == BN_CLICKED) {
        SpeedButton1Click();
      }
      return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
