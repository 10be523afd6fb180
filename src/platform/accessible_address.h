#pragma once
// The address field of a current browser, read from its accessibility tree (MSAA).
#include <windows.h>

#include <optional>
#include <string>

#include "core/capture.h"

namespace quenda {

// The value of the first editable text in the window's tree named as the family's address
// field, found by a depth-first walk of bounded depth and size. The walk runs on a thread of
// its own: the launcher's windows get no message meanwhile (the capture is not re-entered), and
// a browser that stops answering costs at most `timeout_ms`. The first call loads oleacc.dll,
// from the system folder only; nothing is found when it cannot be loaded.
std::optional<std::wstring> FindAccessibleAddress(HWND browser, BrowserFamily family,
                                                  DWORD timeout_ms);

// Bounds of the walk: Chromium's address field lies about ten levels down, Firefox's a few more.
inline constexpr int kAccessibleWalkDepth = 24;
inline constexpr int kAccessibleWalkNodes = 5000;

}  // namespace quenda
