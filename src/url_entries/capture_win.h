#pragma once
// The capture's window provider over the Win32 API; the system's CurrentWindowProvider().
#include <windows.h>

#include "url_entries/capture.h"

namespace quenda {

// Reads other programs' windows; a control that does not answer within the timeout is
// passed over, so a hung browser cannot hang the launcher.
class Win32WindowProvider : public WindowProvider {
 public:
  explicit Win32WindowProvider(UINT text_timeout_ms = 1000) : timeout_ms_(text_timeout_ms) {}

  void EnumTopLevel(const Visit& visit) override;
  std::string Caption(WindowId window, std::size_t max_bytes) override;
  bool IsWindow(WindowId window) override;
  void EnumDescendants(WindowId parent, const Visit& visit) override;
  std::string ClassName(WindowId window, std::size_t max_bytes) override;
  std::optional<std::string> ControlText(WindowId window, std::size_t max_bytes) override;

 private:
  UINT timeout_ms_;
};

inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
inline WindowId ToWindowId(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

}  // namespace quenda
