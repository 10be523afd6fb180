#pragma once
// A push button drawn by Quenda itself, shared by every window: a caption or a glyph strip with a
// transparent colour, optionally flat, optionally one of a group of which one button is down.
// Each button is a real child window whose window text is its caption; it tells its parent of
// clicks (BN_CLICKED), of mouse movement (kSpeedButtonMouseMove) and, when it may be dragged, of
// a drag begun (kSpeedButtonDragBegin) through WM_COMMAND. To
// accessibility clients it is a push button whose default action clicks it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/handle.h"
#include "ui/dpi.h"
#include "ui/window.h"

namespace quenda {
struct AccessibleSource;
}

namespace quenda::win {

// WM_COMMAND notification code sent on every WM_MOUSEMOVE the button receives.
inline constexpr WORD kSpeedButtonMouseMove = 0x0400;
// WM_COMMAND notification code sent when a press on a draggable button has moved beyond the
// system's drag distance: the press is no click any more and the button has let the mouse go,
// for the parent to capture it and carry the drag on.
inline constexpr WORD kSpeedButtonDragBegin = 0x0402;
// A text colour meaning "the system's button text colour".
inline constexpr COLORREF kSystemButtonText = CLR_INVALID;

struct SpeedButtonOptions {
  bool flat = false;   // no edge until the mouse is over it
  int group = 0;       // buttons of one parent with the same non-zero group: one is down
  int num_glyphs = 1;  // images side by side in the glyph: up, disabled, pressed, down
  COLORREF text_colour = kSystemButtonText;
};

// A glyph as a button draws it: a 32-bit copy with the transparent pixels black, and a mask
// whose set bits mark them. Made once, it can be shown by any number of buttons.
struct Glyph {
  UniqueBitmap image, mask;
  int width = 0, height = 0;
};
// The glyph of a bitmap (its bottom-left colour transparent); nullptr when it cannot be made.
std::shared_ptr<const Glyph> MakeGlyph(HBITMAP bitmap);

// The button owns itself: it lives as long as its window.
class SpeedButton : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"QuendaSpeedButton";

  // Creates a visible child of `parent`; the object lives until the window is destroyed.
  static HWND Create(HWND parent, int id, int x, int y, int width, int height,
                     const std::wstring& caption, const SpeedButtonOptions& options, int tag);
  // The button behind `hwnd`, or nullptr when it is no speed button of this process.
  static SpeedButton* From(HWND hwnd);

  int Tag() const { return tag_; }
  bool Down() const { return down_; }
  // Putting a grouped button down raises the others of its group.
  void SetDown(bool down);
  void SetGlyph(UniqueBitmap glyph);
  void SetGlyph(std::shared_ptr<const Glyph> glyph);
  const Glyph* CurrentGlyph() const { return glyph_.get(); }
  // The glyph is drawn at this DPI's whole-multiple picture size, centred as before.
  void SetDpi(Dpi dpi);
  Dpi GetDpi() const { return glyph_dpi_; }
  void ClearGlyph();
  // The keyboard's focus mark: a dotted frame inside the edge. The owner decides where it is.
  void SetFocusMark(bool shown);
  bool FocusMark() const { return focus_mark_; }
  // A press moved beyond the system's drag distance then tells kSpeedButtonDragBegin, not a click.
  void SetDraggable(bool draggable) { draggable_ = draggable; }
  // A click as the mouse makes one: a grouped button goes down, then the parent hears
  // BN_CLICKED. BM_CLICK, which the accessible default action posts, does this too.
  void Click();

  // What accessibility clients read beyond the button's state, asked for on each reading: the
  // name (the caption when no text is given), the description, and whether the keyboard can
  // reach it while it is visible (then its focus mark is the focus while its window is in
  // front).
  struct AccessibleText {
    std::wstring name, description;
    bool focusable = false;
  };
  void SetAccessibleText(std::function<AccessibleText()> text) {
    accessible_text_ = std::move(text);
  }
  AccessibleText AccessibleTextNow() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  // Draws the whole button, off screen first so that the face never shows before the content.
  void Paint(HDC dc) override;

 private:
  SpeedButton(const SpeedButtonOptions& options, int tag) : options_(options), tag_(tag) {}
  ~SpeedButton() override = default;

  // Draws the whole button into `dc` at the client's coordinates, clipped to the client area.
  void Draw(HDC dc);
  void OnLButtonDown(POINT at);
  bool MovedBeyondDragDistance(POINT at) const;
  void OnMouseMove(POINT at);
  void OnLButtonUp(POINT at);
  void OnMouseLeave();
  void OnCaptureChanged();
  AccessibleSource Accessible() const;

  bool Contains(POINT at) const;
  bool Sunken() const { return down_ || (held_ && held_over_); }
  int ImageIndex() const;
  void DrawGlyph(HDC dc, int x, int y, int width, int image, int factor) const;
  void Invalidate() const { InvalidateRect(hwnd(), nullptr, FALSE); }
  void Notify(WORD code) const;

  SpeedButtonOptions options_;
  int tag_;
  bool down_ = false;
  bool held_ = false;       // the left button went down on us and is not yet released
  bool held_over_ = false;  // ... and the mouse is over us
  bool hot_ = false;        // the mouse is over us (tracked for flat buttons)
  bool focus_mark_ = false;
  bool draggable_ = false;
  POINT pressed_at_{};  // where the held press began
  HFONT font_ = nullptr;    // not owned, as with the system's controls
  int text_height_ = -1;    // of font_, once measured
  std::function<AccessibleText()> accessible_text_;
  std::shared_ptr<const Glyph> glyph_;
  Dpi glyph_dpi_;
};

}  // namespace quenda::win
