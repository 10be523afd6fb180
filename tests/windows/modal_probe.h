#pragma once
// Looks into a modal window while it is shown: posted steps run inside whatever message loop
// runs, in the order they were posted among the other posted messages (clicks, moves, closes).
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace quenda::testing {

class ModalProbe {
 public:
  ModalProbe() {
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Procedure;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QuendaModalProbe";
      return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    hwnd_ = CreateWindowExW(0, L"QuendaModalProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  }
  ~ModalProbe() {
    // Steps still queued are dropped with the window.
    MSG msg;
    while (PeekMessageW(&msg, hwnd_, WM_APP, WM_APP, PM_REMOVE)) {
      delete reinterpret_cast<std::function<void()>*>(msg.lParam);
    }
    DestroyWindow(hwnd_);
  }
  ModalProbe(const ModalProbe&) = delete;
  ModalProbe& operator=(const ModalProbe&) = delete;

  void Post(std::function<void()> step) {
    PostMessageW(hwnd_, WM_APP, 0,
                 reinterpret_cast<LPARAM>(new std::function<void()>(std::move(step))));
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP) {
      std::unique_ptr<std::function<void()>> step(
          reinterpret_cast<std::function<void()>*>(lparam));
      (*step)();
      return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  HWND hwnd_ = nullptr;
};

// A file built beside the test program.
inline std::filesystem::path BesideTests(const wchar_t* name) {
  wchar_t self[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  return std::filesystem::path(self).parent_path() / name;
}

// An owner for a dialog under test, in place of the main window.
inline HWND CreateOwnerWindow(int x, int y, int width, int height) {
  return CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED | WS_CAPTION, x, y, width, height,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace quenda::testing
