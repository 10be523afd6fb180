#include "windows/icon_picker.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>

#include "platform/cp932.h"
#include "platform/icon_bitmap.h"
#include "resources/icon_picker_layout.h"

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

// The number of cells of a strip picture.
int CellCount(HBITMAP strip) {
  BITMAP info{};
  if (!strip || !GetObjectW(strip, sizeof info, &info)) return 0;
  return info.bmWidth / IconPicker::kCell;
}

// The icon strip: the picker paints it and hears of the mouse over it.
class IconStrip : public win::Window {
 public:
  static HWND Create(IconPicker* picker, const LayoutRow& c, HWND parent, const RECT& r) {
    RegisterClassOnce(kStripClass, 0, nullptr, nullptr);
    return CreateOwned(std::make_unique<IconStrip>(picker), kStripClass, c.name,
                       WS_VISIBLE | WS_TABSTOP, 0, r, parent, c.id);
  }
  explicit IconStrip(IconPicker* picker) : picker_(picker) {}

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_MOUSEMOVE:
        picker_->HoverStrip(GET_X_LPARAM(lparam));
        return 0;
      case WM_LBUTTONDOWN:
        SetCapture(hwnd());
        pressed_ = true;
        return 0;
      case WM_LBUTTONUP:
        OnLButtonUp({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        return 0;
      case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
      // The keyboard: the arrows, Home and End move the key cell, Space chooses it, Enter
      // chooses it and closes.
      case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
      case WM_KEYDOWN:
        OnKeyDown(UINT(wparam));
        return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    }
    return Window::HandleMessage(message, wparam, lparam);
  }
  void Paint(HDC dc) override { picker_->PaintStrip(dc); }

 private:
  // A click is a press and a release both on the strip.
  void OnLButtonUp(POINT at) {
    const bool pressed = pressed_;
    if (GetCapture() == hwnd()) ReleaseCapture();
    pressed_ = false;
    RECT r;
    GetClientRect(hwnd(), &r);
    if (pressed && PtInRect(&r, at)) picker_->ChooseHoveredIcon();
  }

  void OnKeyDown(UINT key) {
    switch (key) {
      case VK_LEFT:
      case VK_UP: picker_->MoveKeyIcon(picker_->KeyIcon() - 1); break;
      case VK_RIGHT:
      case VK_DOWN: picker_->MoveKeyIcon(picker_->KeyIcon() + 1); break;
      case VK_HOME: picker_->MoveKeyIcon(0); break;
      case VK_END: picker_->MoveKeyIcon(INT_MAX); break;
      case VK_SPACE: picker_->ChooseIcon(picker_->KeyIcon()); break;
      case VK_RETURN:
        picker_->ChooseIcon(picker_->KeyIcon());
        picker_->Confirm();
        break;
    }
  }

  IconPicker* picker_;
  bool pressed_ = false;  // the left button went down on the strip
};

// The scroll box: a white, sunken box whose horizontal scroll bar shows when its content (the
// strip) is wider than the box, and which moves the content as it scrolls.
class ScrollBox : public win::Window {
 public:
  static HWND Create(const LayoutRow& c, HWND parent, const RECT& r, win::Dpi dpi) {
    RegisterClassOnce(kScrollBoxClass, 0, nullptr,
                      static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const HWND hwnd = CreateOwned(std::make_unique<ScrollBox>(), kScrollBoxClass, c.name,
                                  WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, r, parent, c.id);
    if (!hwnd) return nullptr;
    InitializeFlatSB(hwnd);
    SetButtonWidth(hwnd, dpi);
    return hwnd;
  }
  static ScrollBox* From(HWND hwnd) {
    return static_cast<ScrollBox*>(FromHandle(hwnd, kScrollBoxClass));
  }
  static void SetButtonWidth(HWND box, win::Dpi dpi) {
    FlatSB_SetScrollProp(box, WSB_PROP_CXHSCROLL, dpi.Scale(kScrollButton), FALSE);
  }

  // The range follows the content's right edge as it lies unscrolled; the page is the box's
  // width.
  void UpdateScrollRange();
  // The content was placed anew where it lies unscrolled: the box starts from there.
  void ForgetScroll() { position_ = 0; }
  // Scrolls the least needed to show content from `left` to `right`, as it lies unscrolled.
  void Reveal(int left, int right) {
    RECT client;
    GetClientRect(hwnd(), &client);
    if (left < position_) {
      ScrollTo(left);
    } else if (right > position_ + client.right) {
      ScrollTo(right - client.right);
    }
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_HSCROLL) {
      OnScroll(LOWORD(wparam));
    } else if (message == WM_SIZE) {
      UpdateScrollRange();
    } else {
      return Window::HandleMessage(message, wparam, lparam);
    }
    return 0;
  }

 private:
  void ScrollTo(int to);  // clamped to the scroll range
  void OnScroll(int code);

  int position_ = 0;
};

void ScrollBox::ScrollTo(int to) {
  const HWND box = hwnd();
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  FlatSB_GetScrollInfo(box, SB_HORZ, &si);
  const int last = std::max(0, si.nMax - si.nMin + 1 - int(si.nPage));
  to = std::clamp(to, 0, last);
  const int from = position_;
  if (to != si.nPos) {
    si.fMask = SIF_POS;
    si.nPos = to;
    FlatSB_SetScrollInfo(box, SB_HORZ, &si, TRUE);
  }
  if (to == from) return;
  position_ = to;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, r.left + from - to, r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(box, nullptr, TRUE);
}

void ScrollBox::UpdateScrollRange() {
  const HWND box = hwnd();
  int extent = 0;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    extent = std::max(extent, int(r.right) + position_);
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
  ScrollTo(position_);
}

void ScrollBox::OnScroll(int code) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  FlatSB_GetScrollInfo(hwnd(), SB_HORZ, &si);
  const int page = int(si.nPage);
  const int line = std::max(1, page / 10);  // small steps: smooth scrolling
  int to = position_;
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
  ScrollTo(to);
}

}  // namespace

int IconCount(const std::string& path) {
  // With the index -1 the result is the count, not an icon.
  return int(reinterpret_cast<INT_PTR>(
      ExtractIconW(win::ModuleInstance(), win::FromCp932(path).c_str(), UINT(-1))));
}

bool IconPicker::Create(HWND owner) {
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  if (!CreateTopLevel(kClassName, L"Ｉｃｏｎ取り出し", style, 0, kIconPickerSize, owner)) {
    return false;
  }
  BuildLayout(IconPickerLayout());
  SetDialogKeys(Control(picker_ids::Strip), Control(picker_ids::OkButton), nullptr);
  ScrollBox::From(Control(picker_ids::StripBox))->UpdateScrollRange();
  win::CentreOnDesktop(hwnd());
  return true;
}

HWND IconPicker::CreateCustom(const LayoutRow& c, HWND parent, const RECT& r) {
  if (c.id == picker_ids::StripBox) return ScrollBox::Create(c, parent, r, dpi());
  return IconStrip::Create(this, c, parent, r);
}

void IconPicker::PlaceOwnControls() {
  const HWND box = Control(picker_ids::StripBox);
  ScrollBox::From(box)->ForgetScroll();
  ScrollBox::SetButtonWidth(box, dpi());
  SizeStrip();
  if (preview_) ShowPreview();
}

void IconPicker::SizeStrip() {
  const HWND strip = Control(picker_ids::Strip);
  SetWindowPos(strip, nullptr, 0, 0, CellCount(strip_.get()) * Cell(), Cell(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ScrollBox::From(Control(picker_ids::StripBox))->UpdateScrollRange();
  InvalidateRect(strip, nullptr, FALSE);
}

void IconPicker::PaintStrip(HDC dc) const {
  RECT r;
  GetClientRect(Control(picker_ids::Strip), &r);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!strip_) return;
  win::MemoryDC source(dc);
  win::SelectGuard select(source.get(), strip_.get());
  const int cell = Cell(), factor = dpi().PictureFactor();
  const int inset = (cell - kCell * factor) / 2;
  for (int i = 0, n = CellCount(strip_.get()); i < n; ++i) {
    win::BlitWhole(dc, i * cell + inset, inset, source.get(), i * kCell, 0, kCell, kCell, factor);
  }
  if (KeyboardUsed() && GetFocus() == Control(picker_ids::Strip)) {
    RECT mark{key_icon_ * cell, 0, (key_icon_ + 1) * cell, cell};
    InflateRect(&mark, -1, -1);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &mark);
  }
}

void IconPicker::MoveKeyIcon(int index) {
  const int count = CellCount(strip_.get());
  if (count == 0) return;
  key_icon_ = std::clamp(index, 0, count - 1);
  ScrollBox::From(Control(picker_ids::StripBox))
      ->Reveal(key_icon_ * Cell(), (key_icon_ + 1) * Cell());
  InvalidateRect(Control(picker_ids::Strip), nullptr, FALSE);
}

int IconPicker::IconChoice(HWND owner, const std::string& path) {
  if (!EnsureCreated()) return 0;
  EmptyStrip();
  const int count = IconCount(path);
  if (count < 2) return 0;
  DrawStrip(path, count);
  key_icon_ = 0;
  MoveKeyIcon(selected_icon_ < count ? selected_icon_ : 0);  // the keyboard starts there
  // The index the picker stands on, before any move over the strip.
  win::SetText(Control(picker_ids::ChosenIndex), std::to_wstring(selected_icon_));
  ShowModal(owner);
  // A choice remembered from a file with more icons falls back to this file's first.
  return selected_icon_ >= 0 && selected_icon_ < count ? selected_icon_ : 0;
}

void IconPicker::EmptyStrip() {
  strip_.reset();
  InvalidateRect(Control(picker_ids::Strip), nullptr, FALSE);
}

void IconPicker::DrawStrip(const std::string& path, int count) {
  const HWND strip = Control(picker_ids::Strip);
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

void IconPicker::HoverStrip(int x) {
  hover_icon_ = x / Cell();
  // The index last clicked, not the one under the mouse.
  win::SetText(Control(picker_ids::ChosenIndex), std::to_wstring(selected_icon_));
}

void IconPicker::ChooseHoveredIcon() { ChooseIcon(hover_icon_); }

void IconPicker::ChooseIcon(int index) {
  selected_icon_ = index;
  if (!preview_) preview_ = WhiteSurface(kCell, kCell);
  if (strip_ && preview_) {
    win::MemoryDC target, source;
    win::SelectGuard into(target.get(), preview_.get());
    win::SelectGuard from(source.get(), strip_.get());
    // 31 x 31: the cell's last column and row are not copied.
    BitBlt(target.get(), 0, 0, kCell - 1, kCell - 1, source.get(), index * kCell, 0, SRCCOPY);
    GdiFlush();
  }
  ShowPreview();
}

void IconPicker::ShowPreview() {
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
  const HWND image = Control(picker_ids::PreviewImage);
  win::SetStaticBitmap(image, shown.get(), shown_preview_.get());
  shown_preview_ = std::move(shown);  // the picture shown before is freed here
  InvalidateRect(image, nullptr, FALSE);
}

void IconPicker::Confirm() { EndModal(); }

LRESULT IconPicker::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == picker_ids::OkButton && HIWORD(wparam) == BN_CLICKED) {
        Confirm();
      }
      return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
