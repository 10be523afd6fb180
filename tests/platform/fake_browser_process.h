#pragma once
// The stand-in browser (fake_browser.exe) in a process of its own, for tests and benchmarks.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/handle.h"

namespace quenda {

// A fake_browser.exe process running one scenario; killed at scope end.
class FakeBrowser {
 public:
  // The stand-in is looked for beside the running program unless `exe` names it.
  explicit FakeBrowser(const std::wstring& scenario, std::filesystem::path exe = {}) {
    static int counter = 0;
    wchar_t event_name[64];
    swprintf(event_name, 64, L"QuendaFakeBrowser-%lu-%d", GetCurrentProcessId(), ++counter);
    win::UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, event_name));

    if (exe.empty()) {
      wchar_t self[MAX_PATH];
      GetModuleFileNameW(nullptr, self, MAX_PATH);
      exe = std::filesystem::path(self).replace_filename(L"fake_browser.exe");
    }
    std::wstring command = L"\"" + exe.wstring() + L"\" " + scenario + L" " + event_name + L" " +
                           std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
      return;
    }
    process_.reset(pi.hProcess);
    CloseHandle(pi.hThread);
    pid_ = pi.dwProcessId;
    const HANDLE waits[] = {ready.get(), process_.get()};
    ready_ = WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
  }
  ~FakeBrowser() { Kill(); }
  void Kill() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 10000);
    process_.reset();
  }
  bool ready() const { return ready_; }
  DWORD pid() const { return pid_; }

  // The process's top-level window with this caption.
  HWND Frame(const std::wstring& caption) const {
    struct Search {
      DWORD pid;
      const std::wstring& caption;
      HWND found;
    } search{pid_, caption, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          wchar_t text[256] = {};
          GetWindowTextW(hwnd, text, 256);
          if (pid != s.pid || s.caption != text) return TRUE;
          s.found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

 private:
  win::UniqueHandle process_;
  DWORD pid_ = 0;
  bool ready_ = false;
};

}  // namespace quenda
