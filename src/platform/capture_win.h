#pragma once
// The capture's window provider over the Win32 API; the system's CurrentWindowProvider().
#include <windows.h>

#include "core/capture.h"

namespace quenda {

// Reads other programs' windows; a control that does not answer within the timeout is
// passed over, so a hung browser cannot hang the launcher.
class Win32WindowProvider : public WindowProvider {
 public:
  explicit Win32WindowProvider(UINT text_timeout_ms = 1000, UINT walk_timeout_ms = 3000)
      : timeout_ms_(text_timeout_ms), walk_timeout_ms_(walk_timeout_ms) {}

  void EnumTopLevel(const Visit& visit) override;
  std::string Caption(WindowId window, std::size_t max_bytes) override;
  bool IsWindow(WindowId window) override;
  void EnumDescendants(WindowId parent, const Visit& visit) override;
  std::string ClassName(WindowId window, std::size_t max_bytes) override;
  std::optional<std::string> ControlText(WindowId window, std::size_t max_bytes) override;
  std::u16string WideCaption(WindowId window, std::size_t max_units) override;
  std::optional<std::u16string> AccessibleAddress(WindowId window, BrowserFamily family) override;
  std::string ToCp932(std::u16string_view text) override;
  std::optional<std::string> ExactCp932(std::u16string_view text) override;

 private:
  UINT timeout_ms_;
  UINT walk_timeout_ms_;
};

inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
inline WindowId ToWindowId(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

}  // namespace quenda
