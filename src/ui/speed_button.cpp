#include "ui/speed_button.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <vector>

#include "platform/accessible_control.h"
#include "ui/window.h"

namespace quenda::win {

namespace {

POINT PointOf(LPARAM lparam) {
  return POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

// One off-screen picture for all buttons, kept between paints: making a DC and a bitmap for
// each button's every paint was a third of a page switch under Wine. Buttons paint one at a
// time, each on the thread that made it.
class PaintBuffer {
 public:
  // A DC holding a screen-like bitmap of at least width x height; nullptr when none can be made.
  HDC Canvas(int width, int height) {
    if (!dc_.get()) return nullptr;
    if (width > width_ || height > height_) {
      selected_.reset();
      bitmap_.reset();
      width_ = std::max(width, width_);
      height_ = std::max(height, height_);
      WindowDC screen(nullptr);
      bitmap_.reset(CreateCompatibleBitmap(screen.get(), width_, height_));
      if (!bitmap_) {
        width_ = height_ = 0;
        return nullptr;
      }
      selected_.emplace(dc_.get(), bitmap_.get());
    }
    return dc_.get();
  }
  // A second memory DC, for the glyph's pictures to be copied from.
  HDC Source() const { return source_.get(); }

 private:
  MemoryDC dc_, source_;
  UniqueBitmap bitmap_;
  std::optional<SelectGuard> selected_;
  int width_ = 0, height_ = 0;
};

PaintBuffer& ThreadPaintBuffer() {
  thread_local PaintBuffer buffer;
  return buffer;
}

}  // namespace

HWND SpeedButton::Create(HWND parent, int id, int x, int y, int width, int height,
                         const std::wstring& caption, const SpeedButtonOptions& options,
                         int tag) {
  // No CS_DBLCLKS: a quick second press must be a second click, not a double click.
  RegisterClassOnce(kClassName, CS_HREDRAW | CS_VREDRAW, nullptr, nullptr);
  return CreateOwned(std::unique_ptr<Window>(new SpeedButton(options, tag)), kClassName,
                     caption.c_str(), WS_VISIBLE, 0, RECT{x, y, x + width, y + height}, parent, id);
}

SpeedButton* SpeedButton::From(HWND hwnd) {
  return static_cast<SpeedButton*>(FromHandle(hwnd, kClassName));
}

LRESULT SpeedButton::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // Paint covers everything; erasing first would flicker
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wparam);
      text_height_ = -1;
      if (LOWORD(lparam)) Invalidate();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
      const LRESULT result = Default(message, wparam, lparam);
      Invalidate();
      return result;
    }
    case WM_ENABLE:
      Invalidate();
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(PointOf(lparam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(PointOf(lparam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(PointOf(lparam));
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged();
      return 0;
    case BM_CLICK:
      Click();
      return 0;
    // The keyboard reaches a button only in a dialog, whose loop shows the focus mark.
    case WM_GETDLGCODE:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE && !(lparam & (1 << 30))) Click();  // not when held and repeating
      return 0;
    case WM_KILLFOCUS:
      SetFocusMark(false);
      break;
    case WM_GETOBJECT:
      if (const LRESULT object = AnswerAccessibleObject(hwnd(), wparam, lparam, Accessible())) {
        return object;
      }
      break;
  }
  // The right button is the system's: WM_RBUTTONUP becomes WM_CONTEXTMENU, which goes up to
  // the parent chain.
  return Window::HandleMessage(message, wparam, lparam);
}

void SpeedButton::OnLButtonDown(POINT at) {
  SetCapture(hwnd());
  pressed_at_ = at;
  held_ = true;
  held_over_ = true;
  Invalidate();
}

bool SpeedButton::MovedBeyondDragDistance(POINT at) const {
  return std::abs(at.x - pressed_at_.x) > GetSystemMetrics(SM_CXDRAG) / 2 ||
         std::abs(at.y - pressed_at_.y) > GetSystemMetrics(SM_CYDRAG) / 2;
}

void SpeedButton::OnMouseMove(POINT at) {
  if (held_ && draggable_ && MovedBeyondDragDistance(at)) {
    held_ = false;  // before ReleaseCapture, as on release: no click follows
    held_over_ = false;
    if (GetCapture() == hwnd()) ReleaseCapture();
    Invalidate();
    Notify(kSpeedButtonDragBegin);  // last: the parent may destroy us
    return;
  }
  const bool inside = Contains(at);
  if (held_ && inside != held_over_) {
    held_over_ = inside;
    Invalidate();
  }
  if (options_.flat && inside != hot_) {
    hot_ = inside;
    if (hot_) {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
      TrackMouseEvent(&track);
    }
    Invalidate();
  }
  Notify(kSpeedButtonMouseMove);  // last: the parent may destroy us
}

void SpeedButton::OnLButtonUp(POINT at) {
  if (!held_) return;
  held_ = false;  // before ReleaseCapture, so WM_CAPTURECHANGED does not cancel
  held_over_ = false;
  if (GetCapture() == hwnd()) ReleaseCapture();
  const bool inside = Contains(at);
  if (!inside && hot_) hot_ = false;
  Invalidate();
  if (!inside) return;
  Click();
}

void SpeedButton::Click() {
  if (!IsWindowEnabled(hwnd())) return;
  if (options_.group != 0) SetDown(true);
  Notify(BN_CLICKED);  // last: the parent may destroy us
}

SpeedButton::AccessibleText SpeedButton::AccessibleTextNow() const {
  if (accessible_text_) return accessible_text_();
  return {GetText(hwnd()), L"", false};
}

// Asked through the window on each call, so a client holding the object after the button has
// gone reads nothing.
AccessibleSource SpeedButton::Accessible() const {
  const HWND self = hwnd();
  return {[self]() -> std::optional<AccessibleFacts> {
            const SpeedButton* button = From(self);
            if (!button) return std::nullopt;
            AccessibleText text = button->AccessibleTextNow();
            // A button its window hides or places outside its parent, as the unused page
            // buttons, is not there for a reader; the mark is the focus only while its window
            // is the one the keys go to.
            const bool shown =
                (GetWindowLongW(self, GWL_STYLE) & WS_VISIBLE) != 0 && LiesInsideParent(self);
            const bool focusable = text.focusable && shown;
            DWORD state = shown ? 0 : STATE_SYSTEM_INVISIBLE;
            if (focusable) state |= STATE_SYSTEM_FOCUSABLE;
            if (focusable && button->focus_mark_ &&
                GetAncestor(self, GA_ROOT) == GetForegroundWindow()) {
              state |= STATE_SYSTEM_FOCUSED;
            }
            if (button->down_) state |= STATE_SYSTEM_PRESSED;
            return AccessibleFacts{std::move(text.name), std::move(text.description), L"押す",
                                   ROLE_SYSTEM_PUSHBUTTON, state};
          },
          // Posted: the click runs from the message loop, as a mouse click does, after the
          // client's call has returned.
          [self] { return IsWindowEnabled(self) && PostMessageW(self, BM_CLICK, 0, 0); }};
}

void SpeedButton::OnMouseLeave() {
  if (!hot_) return;
  hot_ = false;
  Invalidate();
}

void SpeedButton::OnCaptureChanged() {
  // Another window took the mouse while the button was held: the press is cancelled.
  if (!held_) return;
  held_ = false;
  held_over_ = false;
  Invalidate();
}

bool SpeedButton::Contains(POINT at) const {
  RECT r;
  GetClientRect(hwnd(), &r);
  return PtInRect(&r, at) != FALSE;
}

void SpeedButton::Notify(WORD code) const {
  SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), code),
               reinterpret_cast<LPARAM>(hwnd()));
}

void SpeedButton::SetDown(bool down) {
  if (down && options_.group != 0) {
    if (HWND parent = GetParent(hwnd())) {
      for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        SpeedButton* other = From(child);
        if (other && other != this && other->options_.group == options_.group && other->down_) {
          other->down_ = false;
          other->Invalidate();
        }
      }
    }
  }
  if (down_ == down) return;
  down_ = down;
  Invalidate();
}

std::shared_ptr<const Glyph> MakeGlyph(HBITMAP bitmap) {
  BITMAP info;
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return nullptr;
  const int width = info.bmWidth, height = std::abs(info.bmHeight);
  if (width <= 0 || height <= 0) return nullptr;

  // Whatever the glyph's depth, compare colours on a 32-bit copy, top row first.
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap image(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image) return nullptr;
  {
    BITMAPINFO request = format;  // GetDIBits may write to it
    MemoryDC dc;
    if (GetDIBits(dc.get(), bitmap, 0, height, bits, &request, DIB_RGB_COLORS) != height) {
      return nullptr;
    }
  }
  auto* pixels = static_cast<std::uint32_t*>(bits);
  const std::uint32_t transparent = pixels[(height - 1) * width] & 0xFFFFFF;  // bottom left
  const int mask_stride = (width + 15) / 16 * 2;  // monochrome rows are WORD aligned
  std::vector<BYTE> mask_bits(std::size_t(mask_stride) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t& pixel = pixels[y * width + x];
      if ((pixel & 0xFFFFFF) == transparent) {
        mask_bits[y * mask_stride + x / 8] |= BYTE(0x80 >> (x % 8));
        pixel = 0;  // so that OR-ing it onto the masked face leaves the face
      } else {
        pixel &= 0xFFFFFF;
      }
    }
  }
  UniqueBitmap mask(CreateBitmap(width, height, 1, 1, mask_bits.data()));
  if (!mask) return nullptr;
  return std::make_shared<const Glyph>(Glyph{std::move(image), std::move(mask), width, height});
}

void SpeedButton::SetGlyph(UniqueBitmap glyph) {
  SetGlyph(MakeGlyph(glyph.get()));
}  // the caller's bitmap is freed here

void SpeedButton::SetGlyph(std::shared_ptr<const Glyph> glyph) {
  if (glyph == glyph_) return;
  glyph_ = std::move(glyph);
  Invalidate();
}

void SpeedButton::SetDpi(Dpi dpi) {
  if (glyph_dpi_ == dpi) return;
  glyph_dpi_ = dpi;
  Invalidate();
}

void SpeedButton::SetFocusMark(bool shown) {
  if (focus_mark_ == shown) return;
  focus_mark_ = shown;
  Invalidate();
}

void SpeedButton::ClearGlyph() { SetGlyph(std::shared_ptr<const Glyph>()); }

int SpeedButton::ImageIndex() const {
  const int images = std::max(1, options_.num_glyphs);
  int index = 0;
  if (!IsWindowEnabled(hwnd())) {
    index = 1;
  } else if (held_ && held_over_) {
    index = 2;
  } else if (down_) {
    index = 3;
  }
  return index < images ? index : 0;
}

void SpeedButton::Paint(HDC dc) {
  RECT r;
  GetClientRect(hwnd(), &r);
  if (r.right <= 0 || r.bottom <= 0) return;
  const HDC canvas = ThreadPaintBuffer().Canvas(r.right, r.bottom);
  if (!canvas) return Draw(dc);
  Draw(canvas);
  BitBlt(dc, 0, 0, r.right, r.bottom, canvas, 0, 0, SRCCOPY);
}

void SpeedButton::Draw(HDC dc) {
  RECT r;
  GetClientRect(hwnd(), &r);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));

  const bool sunken = Sunken();
  RECT edge = r;
  if (!options_.flat) {
    DrawEdge(dc, &edge, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else if (sunken) {
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  } else if (hot_) {
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
  }
  const int shift = sunken ? 1 : 0;

  const std::wstring caption = GetText(hwnd());
  if (font_) SelectObject(dc, font_);
  int text_height = 0;
  if (!caption.empty()) {
    TEXTMETRICW metrics;
    if (text_height_ < 0 && GetTextMetricsW(dc, &metrics)) text_height_ = metrics.tmHeight;
    text_height = std::max(text_height_, 0);
  }

  RECT text_rect = r;
  const int images = std::max(1, options_.num_glyphs);
  const int image_width = glyph_ ? glyph_->width / images : 0;
  if (image_width > 0) {
    const int factor = glyph_dpi_.PictureFactor();
    const int width = image_width * factor, height = glyph_->height * factor;
    const int x = (r.right - width) / 2 + shift;
    const int y = (r.bottom - height - text_height) / 2 + shift;
    DrawGlyph(dc, x, y, image_width, ImageIndex(), factor);
    if (text_height) text_rect = RECT{r.left, y + height, r.right, y + height + text_height};
  } else {
    OffsetRect(&text_rect, shift, shift);
  }

  if (!caption.empty()) {
    SetBkMode(dc, TRANSPARENT);
    COLORREF colour = options_.text_colour;
    if (!IsWindowEnabled(hwnd())) {
      colour = GetSysColor(COLOR_GRAYTEXT);
    } else if (colour == kSystemButtonText) {
      colour = GetSysColor(COLOR_BTNTEXT);
    }
    SetTextColor(dc, colour);
    DrawTextW(dc, caption.c_str(), int(caption.size()), &text_rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (focus_mark_) {
    RECT mark = r;
    InflateRect(&mark, -3, -3);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &mark);
  }
  RestoreDC(dc, saved);
}

void SpeedButton::DrawGlyph(HDC dc, int x, int y, int width, int image, int factor) const {
  const HDC source = ThreadPaintBuffer().Source();
  if (!source) return;
  // The mask's set bits become white (keep the face), its clear bits black (clear it); the
  // image, black where transparent, is then OR-ed on.
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  {
    SelectGuard select(source, glyph_->mask.get());
    BlitWhole(dc, x, y, source, image * width, 0, width, glyph_->height, factor, SRCAND);
  }
  SelectGuard select(source, glyph_->image.get());
  BlitWhole(dc, x, y, source, image * width, 0, width, glyph_->height, factor, SRCPAINT);
}

}  // namespace quenda::win
