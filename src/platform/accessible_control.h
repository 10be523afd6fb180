#pragma once
// Quenda's own accessibility object (MSAA) for a control window, served through WM_GETOBJECT:
// screen readers and UI Automation read it, in this process or another.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace quenda {

// What a client reads of a control, asked anew on every call. Visibility and availability come
// from the window itself.
struct AccessibleFacts {
  std::wstring name, description, default_action;
  LONG role = 0;
  DWORD state = 0;
};

struct AccessibleSource {
  // The control's facts now; nothing once the control is gone.
  std::function<std::optional<AccessibleFacts>()> facts;
  // Starts the default action, to run after the client's call has returned; false when the
  // control cannot do it now.
  std::function<bool()> do_default;
};

// Whether some of `hwnd` lies inside its parent's client area, where it can be seen.
bool LiesInsideParent(HWND hwnd);

// The answer to WM_GETOBJECT for the client area of `hwnd` (OBJID_CLIENT): an object of ours
// handed out with LresultFromObject. 0, the default answer, for any other object and when
// oleacc.dll cannot be loaded. The first answer loads it and starts COM on the calling thread.
LRESULT AnswerAccessibleObject(HWND hwnd, WPARAM wparam, LPARAM lparam, AccessibleSource source);

}  // namespace quenda
