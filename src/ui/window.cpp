#include "ui/window.h"

#include <algorithm>
#include <cwchar>
#include <set>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "ui/speed_button.h"

namespace quenda::win {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

namespace {

// The controls Tab reaches, in window order, through panels and groups at any depth.
void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
    if (style & WS_TABSTOP) stops.push_back(child);
    CollectTabStops(child, stops);
  }
}

}  // namespace

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::RegisterClassOnce(const wchar_t* name, UINT style, HICON icon, HBRUSH background) {
  static std::set<std::wstring> registered;
  if (!registered.insert(name).second) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = ModuleInstance();
  wc.hIcon = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

HWND Window::CreateTopLevel(const wchar_t* class_name, const std::wstring& caption, DWORD style,
                            DWORD ex_style, WindowSize size, HWND owner, HMENU menu) {
  const SIZE client = size.outer ? ClientSizeAt96({size.width, size.height}, style, ex_style,
                                                  menu != nullptr)
                                 : SIZE{size.width, size.height};
  // A first guess at the owner's DPI; the window's own is known once it exists.
  Dpi dpi = DpiOf(owner);
  SIZE outer = OuterSizeFor({dpi.Scale(client.cx), dpi.Scale(client.cy)}, style, ex_style,
                            menu != nullptr, dpi);
  const HWND hwnd = CreateWindowExW(ex_style, class_name, caption.c_str(), style, CW_USEDEFAULT,
                                    CW_USEDEFAULT, outer.cx, outer.cy, owner, menu,
                                    ModuleInstance(), this);
  if (!hwnd) return nullptr;
  dpi_ = DpiOf(hwnd);
  if (dpi_ != dpi) {
    outer = OuterSizeFor({dpi_.Scale(client.cx), dpi_.Scale(client.cy)}, style, ex_style,
                         menu != nullptr, dpi_);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return hwnd;
}

HWND Window::CreateChild(const wchar_t* class_name, const wchar_t* text, DWORD style,
                         DWORD ex_style, const RECT& r, HWND parent, int id) {
  return CreateWindowExW(ex_style, class_name, text, WS_CHILD | style, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(), this);
}

HWND Window::CreateOwned(std::unique_ptr<Window> control, const wchar_t* class_name,
                         const wchar_t* text, DWORD style, DWORD ex_style, const RECT& r,
                         HWND parent, int id) {
  // A creation that fails after WM_NCCREATE still ends in WM_NCDESTROY, which must not delete
  // what the caller holds: the window owns the control only once it exists.
  const HWND hwnd = control->CreateChild(class_name, text, style, ex_style, r, parent, id);
  if (hwnd) control.release()->owned_by_window_ = true;
  return hwnd;
}

Window* Window::FromHandle(HWND hwnd, const wchar_t* class_name) {
  if (!hwnd) return nullptr;
  DWORD process = 0;
  if (!GetWindowThreadProcessId(hwnd, &process) || process != GetCurrentProcessId()) {
    return nullptr;
  }
  wchar_t name[64];
  if (!GetClassNameW(hwnd, name, 64) || std::wcscmp(name, class_name) != 0) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Window::Destroyed() {
  if (owned_by_window_) delete this;
}

void Window::ApplyDpi(Dpi dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  DpiChanged();
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* self;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    if (!self) return FALSE;  // a Quenda window is made only with its object
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  const LRESULT result = self->HandleMessage(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->Destroyed();
  }
  return result;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    Paint(dc);
    EndPaint(hwnd_, &ps);
    return 0;
  }
  if (message == WM_PRINTCLIENT) {
    Paint(reinterpret_cast<HDC>(wparam));
    return 0;
  }
  if (message == WM_DPICHANGED) {
    ApplyDpi(Dpi(LOWORD(wparam)), *reinterpret_cast<const RECT*>(lparam));
    return 0;
  }
  // Dialogs live until the program ends: closing one ends its modal loop or hides it.
  // A multi-line edit hands Tab on with this message, as it does inside a dialog.
  if (message == WM_NEXTDLGCTL) {
    const HWND next = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                                     : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0);
    if (next) SetFocus(next);
    return 0;
  }
  if (message == WM_ACTIVATE && in_modal_) {
    // As a dialog does: the focus comes back to the control that had it, after a message box or
    // another window took it.
    const HWND focus = GetFocus();
    if (LOWORD(wparam) == WA_INACTIVE) {
      if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
    } else if (last_focus_ && IsChild(hwnd_, last_focus_)) {
      SetFocus(last_focus_);
      UpdateFocusMarks();
      return 0;
    }
  }
  if (message == WM_CLOSE) {
    if (in_modal_) {
      EndModal();
    } else {
      ShowWindow(hwnd_, SW_HIDE);
    }
    return 0;
  }
  return Default(message, wparam, lparam);
}

bool Window::EnsureCreated() {
  if (!hwnd_ && create_later_) std::exchange(create_later_, nullptr)();
  return hwnd_ != nullptr;
}

bool Window::ShowModal(HWND owner) {
  if (in_modal_) return true;
  if (!EnsureCreated()) return false;
  in_modal_ = true;
  end_modal_ = false;
  keyboard_used_ = false;
  last_focus_ = first_focus_;
  const bool owner_enabled = owner && IsWindowEnabled(owner);
  if (owner_enabled) EnableWindow(owner, FALSE);
  Opening();
  KeepInWorkArea(hwnd_);
  UpdateFocusMarks();  // none left from the last opening
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (last_focus_) SetFocus(last_focus_);
  MSG msg;
  while (!end_modal_ && hwnd_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));  // keep the quit for the outer loop
      break;
    }
    if (got < 0) break;
    const bool key = msg.message == WM_KEYDOWN && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd));
    if (key) keyboard_used_ = true;
    if (!key || !RouteDialogKey(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (key && hwnd_ && in_modal_) UpdateFocusMarks();
  }
  // A log-off destroys the owner, and with it this window, while the loop runs.
  const bool alive = hwnd_ != nullptr;
  if (owner_enabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (alive) ShowWindow(hwnd_, SW_HIDE);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  in_modal_ = false;
  return alive;
}

bool Window::RouteDialogKey(const MSG& msg) {
  const HWND focus = GetFocus();
  switch (msg.wParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
      MoveTabFocus(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_ESCAPE:
      if (escape_button_) {
        SendMessageW(escape_button_, BM_CLICK, 0, 0);
      } else {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
      }
      return true;
    case VK_RETURN: {
      MSG asked = msg;
      const LRESULT code =
          focus ? SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&asked))
                : 0;
      if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;  // a memo's line break
      if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        SendMessageW(focus, BM_CLICK, 0, 0);
      } else if ((code & DLGC_STATIC) && (GetWindowLongW(focus, GWL_STYLE) & SS_NOTIFY)) {
        SendMessageW(GetParent(focus), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), STN_CLICKED),
                     reinterpret_cast<LPARAM>(focus));
      } else if (enter_button_ && IsWindowEnabled(enter_button_)) {
        SendMessageW(enter_button_, BM_CLICK, 0, 0);
      }
      return true;
    }
  }
  return false;
}

void Window::MoveTabFocus(bool backwards) {
  std::vector<HWND> stops;
  CollectTabStops(hwnd_, stops);
  if (stops.empty()) return;
  const auto at = std::find(stops.begin(), stops.end(), GetFocus());
  const std::size_t n = stops.size();
  std::size_t next = backwards ? n - 1 : 0;
  if (at != stops.end()) next = (std::size_t(at - stops.begin()) + (backwards ? n - 1 : 1)) % n;
  SetFocus(stops[next]);
  // An edit reached by Tab has its text selected, as in any dialog.
  if (SendMessageW(stops[next], WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    SendMessageW(stops[next], EM_SETSEL, 0, -1);
  }
}

void Window::UpdateFocusMarks() {
  const HWND focus = GetFocus();
  std::vector<HWND> stops;
  CollectTabStops(hwnd_, stops);
  for (HWND stop : stops) {
    if (SpeedButton* button = SpeedButton::From(stop)) {
      button->SetFocusMark(keyboard_used_ && stop == focus);
    }
  }
  FocusMarksChanged();
}

void Window::EndModal() {
  end_modal_ = true;
  PostMessageW(hwnd_, WM_NULL, 0, 0);  // wake the modal loop
}

void SetText(HWND hwnd, const std::wstring& text) { SetWindowTextW(hwnd, text.c_str()); }

std::wstring GetText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring text(n + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), n + 1));
  return text;
}

void CentreOnDesktop(HWND hwnd) {
  RECT r, work;
  GetWindowRect(hwnd, &r);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void SetTabStop(HWND control, bool stops) {
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  SetWindowLongW(control, GWL_STYLE, stops ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

HWND NameField(HWND field, const std::wstring& name) {
  const HWND label = CreateWindowExW(0, L"STATIC", name.c_str(), WS_CHILD, 0, 0, 0, 0,
                                     GetParent(field), nullptr, ModuleInstance(), nullptr);
  if (!label) return nullptr;
  const HWND before = GetWindow(field, GW_HWNDPREV);
  SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return label;
}

void KeepInWorkArea(HWND hwnd) {
  RECT r;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(hwnd, &r) ||
      !GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return;
  }
  const RECT& work = monitor.rcWork;
  const int x = std::max(work.left, std::min(r.left, work.right - (r.right - r.left)));
  const int y = std::max(work.top, std::min(r.top, work.bottom - (r.bottom - r.top)));
  if (x == r.left && y == r.top) return;
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quenda::win

namespace quenda::win {

bool KeepCp932Bytes(HWND edit, std::size_t max_bytes) {
  std::wstring text = GetText(edit);
  if (ToCp932(text).size() <= max_bytes) return false;
  while (!text.empty() && ToCp932(text).size() > max_bytes) text.pop_back();
  SetText(edit, text);
  SendMessageW(edit, EM_SETSEL, text.size(), text.size());
  return true;
}

}  // namespace quenda::win
