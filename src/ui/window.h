#pragma once
// The base of every Quenda window and of its own controls: the static window procedure takes
// `this` at WM_NCCREATE and forwards each message to the object's HandleMessage, which unpacks it
// for typed handlers. A control may own itself (CreateOwned): it is deleted after its last message.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/dpi.h"
#include "ui/layout_row.h"

namespace quenda::win {

class Window {
 public:
  virtual ~Window();
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  Dpi dpi() const { return dpi_; }

  // Shows the window modally over its owner and returns when EndModal is called or the window
  // is closed; the owner is disabled meanwhile. The window opens inside the work area of its
  // monitor, after Opening has placed it, with the focus on its first field. False when the
  // window was destroyed meanwhile (the session ended): the caller's own windows may be gone.
  bool ShowModal(HWND owner);
  // Puts off creating the window until it is first needed (ShowModal or EnsureCreated), so that
  // start-up pays only for the main window; `create` then runs once.
  void CreateWhenNeeded(std::function<bool()> create) { create_later_ = std::move(create); }
  // Creates the window now if that was put off; false when it does not exist afterwards.
  bool EnsureCreated();
  void EndModal();
  bool InModal() const { return in_modal_; }
  // Whether a key has been pressed in the modal window since it opened: focus marks show only
  // then, so that a mouse user never sees them.
  bool KeyboardUsed() const { return keyboard_used_; }

 protected:
  // Registers the class once per process; `name` is also the class name tests look for.
  static void RegisterClassOnce(const wchar_t* name, UINT style = 0, HICON icon = nullptr,
                                HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  // The window takes `size` scaled to the DPI it is created at.
  HWND CreateTopLevel(const wchar_t* class_name, const std::wstring& caption, DWORD style,
                      DWORD ex_style, WindowSize size, HWND owner, HMENU menu = nullptr);
  // A child window at `r` in `parent`, for a control that owns itself: the window takes
  // `control` over and deletes it after its last message; when the window cannot be made, the
  // control is deleted here.
  static HWND CreateOwned(std::unique_ptr<Window> control, const wchar_t* class_name,
                          const wchar_t* text, DWORD style, DWORD ex_style, const RECT& r,
                          HWND parent, int id);
  // The object behind `hwnd` when that is a window of class `class_name` of this process.
  static Window* FromHandle(HWND hwnd, const wchar_t* class_name);

  // Draws the client area: WM_PAINT (between BeginPaint and EndPaint) and WM_PRINTCLIENT (into
  // the DC it brings) both come here.
  virtual void Paint(HDC) {}
  // Runs after the window's last message (WM_NCDESTROY), the handle already forgotten; a
  // control that owns itself is deleted here.
  virtual void Destroyed();

  // The window moved to a monitor of another DPI (WM_DPICHANGED): it takes the DPI and the
  // system's suggested outer rectangle, then DpiChanged lays its content out anew.
  void ApplyDpi(Dpi dpi, const RECT& suggested);
  virtual void DpiChanged() {}
  // Runs once each time ShowModal opens the window, before it shows: the window takes its place
  // and loads what it shows. Being shown again while open (the owner restored) does not run it.
  virtual void Opening() {}
  // The keyboard of a modal window: the focus starts on `first`; Tab and Shift+Tab go round the
  // visible, enabled WS_TABSTOP controls in their window order; Enter presses the focused button,
  // opens a focused link, or else presses `enter` (a control that wants Enter keeps it, as a
  // memo does for its line breaks); Esc presses `escape`, or closes the window without one.
  void SetDialogKeys(HWND first, HWND enter, HWND escape) {
    first_focus_ = first;
    enter_button_ = enter;
    escape_button_ = escape;
  }
  // The focus marks were shown, hidden or moved: a window drawing a mark of its own redraws it.
  virtual void FocusMarksChanged() {}

  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(hwnd_, message, wparam, lparam);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND CreateChild(const wchar_t* class_name, const wchar_t* text, DWORD style, DWORD ex_style,
                   const RECT& r, HWND parent, int id);
  // A key pressed in the modal window: true when it was used here and must go no further.
  bool RouteDialogKey(const MSG& msg);
  void MoveTabFocus(bool backwards);
  void UpdateFocusMarks();

  HWND hwnd_ = nullptr;
  Dpi dpi_;
  bool in_modal_ = false;
  std::function<bool()> create_later_;
  bool end_modal_ = false;
  bool keyboard_used_ = false;
  HWND first_focus_ = nullptr, enter_button_ = nullptr, escape_button_ = nullptr;
  HWND last_focus_ = nullptr;  // restored when the modal window is activated again
  bool owned_by_window_ = false;  // CreateOwned: deleted when the window is gone
};

HINSTANCE ModuleInstance();

// Thin helpers on windows.
void SetText(HWND hwnd, const std::wstring& text);
std::wstring GetText(HWND hwnd);
void CentreOnDesktop(HWND hwnd);
// Moves a window the least needed to lie inside the work area of its monitor; one larger than
// that keeps its top-left corner (and caption) inside.
void KeepInWorkArea(HWND hwnd);
// Whether Tab stops at a control (WS_TABSTOP).
void SetTabStop(HWND control, bool stops);
// Names a field with no label of its own for screen readers: a hidden label standing just
// before it in Z-order, where a reader looks for an edit's name. Returns the label.
HWND NameField(HWND field, const std::wstring& name);
// Cuts an edit's text to whole characters of at most `max_bytes` CP932 bytes; true if it did.
bool KeepCp932Bytes(HWND edit, std::size_t max_bytes);

}  // namespace quenda::win
