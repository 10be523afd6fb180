// quenda_driver: drives Quenda.exe from outside, as a user would, for the end-to-end scripts.
// Every wait has a deadline; results go to stdout as UTF-8 lines, diagnostics to stderr.
// Exit status: 0 done, 1 the awaited thing did not happen in time, 2 usage or system error.
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void WriteTo(DWORD which, const std::wstring& text) {
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(std::size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), n, nullptr, nullptr);
  DWORD wrote = 0;
  WriteFile(GetStdHandle(which), utf8.data(), DWORD(utf8.size()), &wrote, nullptr);
}
void Out(const std::wstring& line) { WriteTo(STD_OUTPUT_HANDLE, line + L"\n"); }
void Err(const std::wstring& line) { WriteTo(STD_ERROR_HANDLE, L"quenda_driver: " + line + L"\n"); }

int Fail(const std::wstring& why) {
  Err(why);
  return 2;
}

// --- windows of a process ---

struct Found {
  DWORD pid;
  std::wstring cls;
  bool visible_only;
  std::vector<HWND> hwnds;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (f->pid && pid != f->pid) return TRUE;
  if (f->visible_only && !IsWindowVisible(hwnd)) return TRUE;
  wchar_t cls[256];
  if (!GetClassNameW(hwnd, cls, 256)) return TRUE;
  if (!f->cls.empty() && f->cls != cls) return TRUE;
  f->hwnds.push_back(hwnd);
  return TRUE;
}

// Top-level windows of `pid` (0: any process) of class `cls` (empty: any class).
std::vector<HWND> TopLevel(DWORD pid, const std::wstring& cls, bool visible_only) {
  Found f{pid, cls, visible_only, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&f));
  return f.hwnds;
}

HWND FirstTopLevel(DWORD pid, const std::wstring& cls, bool visible_only) {
  const auto all = TopLevel(pid, cls, visible_only);
  return all.empty() ? nullptr : all.front();
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t cls[256] = {};
  GetClassNameW(hwnd, cls, 256);
  return cls;
}

// Another process's window text. WM_GETTEXT waits for the owner thread, which may be busy
// (showing a window waits on the X server), so the wait is long but bounded.
std::wstring TextOf(HWND hwnd) {
  const ULONGLONG t0 = GetTickCount64();
  DWORD_PTR length = 0, got = 0;
  std::wstring text;
  if (SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 15000, &length)) {
    text.assign(length + 1, L'\0');
    if (SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                            SMTO_NORMAL, 15000, &got)) {
      text.resize(got);
      return text;
    }
  }
  Err(L"reading the text of a " + ClassOf(hwnd) + L" window failed (error " +
      std::to_wstring(GetLastError()) + L", after " + std::to_wstring(GetTickCount64() - t0) +
      L" ms)");
  return L"";
}

// Returns once every message sent or posted to the window's thread before this call has been
// handled (false when the window went away or its thread did not answer in time).
bool Sync(HWND hwnd, DWORD timeout_ms) {
  DWORD_PTR r = 0;
  return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &r) != 0;
}

std::vector<HWND> Children(HWND parent, const std::wstring& cls) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (cls.empty() || ClassOf(c) == cls) out.push_back(c);
  }
  return out;
}

// --- time ---

struct Deadline {
  ULONGLONG end;
  explicit Deadline(DWORD ms) : end(GetTickCount64() + ms) {}
  bool Passed() const { return GetTickCount64() >= end; }
  DWORD Left() const {
    const ULONGLONG now = GetTickCount64();
    return now >= end ? 0 : DWORD(end - now);
  }
};

DWORD Number(const wchar_t* text) { return DWORD(wcstoul(text, nullptr, 0)); }

// --- processes ---

bool Start(const std::wstring& exe, const std::wstring& dir, PROCESS_INFORMATION& pi,
           const std::wstring& argument = L"") {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring command = L"\"" + exe + L"\"";
  if (!argument.empty()) command += L" \"" + argument + L"\"";
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi)) {
    Err(L"cannot start " + exe + L" in " + dir + L" (error " + std::to_wstring(GetLastError()) +
        L")");
    return false;
  }
  return true;
}

HANDLE OpenTarget(DWORD pid) {
  return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE,
                     pid);
}

std::wstring ExitLine(HANDLE process) {
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return L"exited " + std::to_wstring(code);
}

// Waits until no process holds Quenda's single-instance mutex, so that a start is a first one.
bool WaitMutexFree(const Deadline& deadline) {
  for (;;) {
    HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, L"EX_Mutex");
    if (!m) return true;
    CloseHandle(m);
    if (deadline.Passed()) return false;
    Sleep(10);
  }
}

// --- message boxes ---

// The system icon a message box shows, found by drawing each candidate the way a static
// control draws it and comparing with the screen's pixels of the box's icon control.
std::wstring IdentifyIcon(HWND icon_static) {
  RECT rc;
  GetClientRect(icon_static, &rc);
  const int w = rc.right, h = rc.bottom;
  if (w <= 0 || h <= 0 || w > 256 || h > 256) return L"none";
  POINT origin{0, 0};
  ClientToScreen(icon_static, &origin);

  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* px = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> shot(px, px + w * h);
  const std::uint32_t background = shot[0] & 0xFFFFFF;

  struct Candidate {
    const wchar_t* name;
    LPCWSTR id;
  } candidates[] = {{L"error", IDI_ERROR},
                    {L"warning", IDI_WARNING},
                    {L"information", IDI_INFORMATION},
                    {L"question", IDI_QUESTION}};
  std::wstring best = L"none";
  int best_diff = w * h;
  const bool blank = std::all_of(shot.begin(), shot.end(),
                                 [&](std::uint32_t p) { return (p & 0xFFFFFF) == background; });
  HBRUSH fill =
      CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
  const RECT all{0, 0, w, h};
  for (const auto& c : candidates) {
    FillRect(mem, &all, fill);
    DrawIconEx(mem, 0, 0, LoadIconW(nullptr, c.id), w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    int diff = 0;
    for (int i = 0; i < w * h; ++i) {
      if ((px[i] & 0xFFFFFF) != (shot[i] & 0xFFFFFF)) ++diff;
    }
    if (diff < best_diff) {
      best_diff = diff;
      best = c.name;
    }
  }
  DeleteObject(fill);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  if (blank) return L"none";
  // A close but not exact match is still that icon (edge blending may differ by a few pixels).
  return best_diff * 50 <= w * h ? best : L"unknown";
}

HWND WaitDialog(DWORD pid, const Deadline& deadline) {
  for (;;) {
    if (HWND d = FirstTopLevel(pid, L"#32770", true)) return d;
    if (deadline.Passed()) return nullptr;
    Sleep(1);
  }
}

// --- subcommands ---

// start EXE DIR [ARG]: starts EXE with DIR as its current folder (and ARG as its one
// argument); prints its process id.
int CmdStart(int argc, wchar_t** argv) {
  if (argc != 4 && argc != 5) return Fail(L"usage: start EXE DIR [ARG]");
  PROCESS_INFORMATION pi;
  if (!Start(argv[2], argv[3], pi, argc == 5 ? argv[4] : L"")) return 2;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  Out(std::to_wstring(pi.dwProcessId));
  return 0;
}

// run EXE DIR TIMEOUT: starts EXE and waits for its end, watching for any visible top-level
// window it shows meanwhile; prints "exited CODE windows N".
int CmdRun(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: run EXE DIR TIMEOUT_MS");
  PROCESS_INFORMATION pi;
  if (!Start(argv[2], argv[3], pi)) return 2;
  CloseHandle(pi.hThread);
  Deadline deadline(Number(argv[4]));
  std::vector<HWND> seen;
  for (;;) {
    for (HWND h : TopLevel(pi.dwProcessId, L"", true)) {
      if (std::find(seen.begin(), seen.end(), h) == seen.end()) {
        seen.push_back(h);
        Err(L"window of class " + ClassOf(h) + L" shown");
      }
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    if (deadline.Passed()) {
      Out(L"running windows " + std::to_wstring(seen.size()));
      TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hProcess);
      return 1;
    }
  }
  Out(ExitLine(pi.hProcess) + L" windows " + std::to_wstring(seen.size()));
  CloseHandle(pi.hProcess);
  return 0;
}

// window PID CLASS TIMEOUT: waits for a visible top-level window of CLASS owned by PID; prints
// its caption, client size and whether it is enabled.
int CmdWindow(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: window PID CLASS TIMEOUT_MS");
  const DWORD pid = Number(argv[2]);
  Deadline deadline(Number(argv[4]));
  HWND hwnd;
  while (!(hwnd = FirstTopLevel(pid, argv[3], true))) {
    if (deadline.Passed()) {
      Err(L"no visible window of class " + std::wstring(argv[3]) + L" for process " + argv[2]);
      return 1;
    }
    Sleep(1);
  }
  RECT rc;
  GetClientRect(hwnd, &rc);
  Out(L"caption=" + TextOf(hwnd));
  Out(L"client=" + std::to_wstring(rc.right) + L"x" + std::to_wstring(rc.bottom));
  Out(std::wstring(L"enabled=") + (IsWindowEnabled(hwnd) ? L"1" : L"0"));
  return 0;
}

// dialog PID TIMEOUT: waits for a visible message box of PID; prints its caption, owner's
// class, text, icon and buttons ("ID:TEXT", space separated).
int CmdDialog(int argc, wchar_t** argv) {
  if (argc != 4) return Fail(L"usage: dialog PID TIMEOUT_MS");
  const DWORD pid = Number(argv[2]);
  Deadline deadline(Number(argv[3]));
  HWND box = WaitDialog(pid, deadline);
  if (!box) {
    Err(L"no message box from process " + std::wstring(argv[2]));
    return 1;
  }
  Sync(box, deadline.Left() + 1);
  std::wstring text, buttons;
  HWND icon = nullptr;
  for (HWND c : Children(box, L"Static")) {
    if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      // A box without an icon keeps an empty icon control (over its text).
      DWORD_PTR set = 0;
      if (SendMessageTimeoutW(c, STM_GETICON, 0, 0, SMTO_NORMAL, 15000, &set) && set) icon = c;
    } else if (IsWindowVisible(c)) {
      text += TextOf(c);
    }
  }
  for (HWND b : Children(box, L"Button")) {
    if (!IsWindowVisible(b)) continue;
    if (!buttons.empty()) buttons += L" ";
    buttons += std::to_wstring(GetDlgCtrlID(b)) + L":" + TextOf(b);
  }
  // The box paints after it appears; look again until the icon is recognised or time is up.
  std::wstring icon_name = L"none";
  if (icon) {
    for (;;) {
      Sync(box, 1000);
      icon_name = IdentifyIcon(icon);
      if (icon_name != L"none" && icon_name != L"unknown") break;
      if (deadline.Passed()) break;
      Sleep(20);
    }
  }
  HWND owner = GetWindow(box, GW_OWNER);
  Out(L"caption=" + TextOf(box));
  Out(L"owner=" + (owner ? ClassOf(owner) : std::wstring()));
  Out(L"text=" + text);
  Out(L"icon=" + icon_name);
  Out(L"buttons=" + buttons);
  return 0;
}

// press PID BUTTON_ID TIMEOUT: clicks a button of PID's message box, waits until the box is
// gone, then until PID's main window has handled everything queued before (so a caller sees
// the state the click left).
int CmdPress(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: press PID BUTTON_ID TIMEOUT_MS");
  const DWORD pid = Number(argv[2]);
  const int id = int(Number(argv[3]));
  Deadline deadline(Number(argv[4]));
  HWND box = WaitDialog(pid, deadline);
  if (!box) {
    Err(L"no message box from process " + std::wstring(argv[2]));
    return 1;
  }
  HWND button = GetDlgItem(box, id);
  if (!button) return Fail(L"the message box has no button " + std::to_wstring(id));
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  while (IsWindow(box)) {
    if (deadline.Passed()) {
      Err(L"the message box is still there");
      return 1;
    }
    Sleep(1);
  }
  if (HWND main = FirstTopLevel(pid, L"TMainForm", false)) Sync(main, deadline.Left() + 1);
  return 0;
}

// close PID HOW TIMEOUT: asks PID's main window to close — HOW is "wm-close" (WM_CLOSE, as the
// close box and Alt+F4 send it), "sc-close" (the system menu's close) or "exit" (the menu
// command 1001) — and waits until the process ends ("exited CODE") or shows a message box
// ("dialog").
int CmdClose(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: close PID wm-close|sc-close|exit TIMEOUT_MS");
  const DWORD pid = Number(argv[2]);
  const std::wstring how = argv[3];
  Deadline deadline(Number(argv[4]));
  HANDLE process = OpenTarget(pid);
  if (!process) return Fail(L"no process " + std::wstring(argv[2]));
  HWND main = FirstTopLevel(pid, L"TMainForm", true);
  if (!main) {
    CloseHandle(process);
    return Fail(L"process " + std::wstring(argv[2]) + L" shows no TMainForm window");
  }
  BOOL posted;
  if (how == L"wm-close") {
    posted = PostMessageW(main, WM_CLOSE, 0, 0);
  } else if (how == L"sc-close") {
    posted = PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (how == L"exit") {
    posted = PostMessageW(main, WM_COMMAND, MAKEWPARAM(1001, 0), 0);
  } else {
    CloseHandle(process);
    return Fail(L"unknown way to close: " + how);
  }
  if (!posted) {
    CloseHandle(process);
    return Fail(L"posting to the main window failed");
  }
  int status = 0;
  for (;;) {
    if (WaitForSingleObject(process, 1) == WAIT_OBJECT_0) {
      Out(ExitLine(process));
      break;
    }
    if (FirstTopLevel(pid, L"#32770", true)) {
      Out(L"dialog");
      break;
    }
    if (deadline.Passed()) {
      Out(L"running");
      status = 1;
      break;
    }
  }
  CloseHandle(process);
  return status;
}

// state PID: after PID's main window has handled everything queued, prints "running main=N
// dialogs=M" (visible windows of each kind) or "exited CODE" / "gone".
int CmdState(int argc, wchar_t** argv) {
  if (argc != 3) return Fail(L"usage: state PID");
  const DWORD pid = Number(argv[2]);
  HANDLE process = OpenTarget(pid);
  if (!process) {
    Out(L"gone");
    return 0;
  }
  if (HWND main = FirstTopLevel(pid, L"TMainForm", false)) Sync(main, 5000);
  if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
    Out(ExitLine(process));
  } else {
    Out(L"running main=" + std::to_wstring(TopLevel(pid, L"TMainForm", true).size()) +
        L" dialogs=" + std::to_wstring(TopLevel(pid, L"#32770", true).size()));
  }
  CloseHandle(process);
  return 0;
}

// wait-exit PID TIMEOUT: holds PID and prints "watching" (a caller may then make it exit),
// then waits for its end and prints "exited CODE" ("gone": it had ended before).
int CmdWaitExit(int argc, wchar_t** argv) {
  if (argc != 4) return Fail(L"usage: wait-exit PID TIMEOUT_MS");
  HANDLE process = OpenTarget(Number(argv[2]));
  if (!process) {
    Out(L"gone");
    return 1;
  }
  Out(L"watching");
  const DWORD r = WaitForSingleObject(process, Number(argv[3]));
  Out(r == WAIT_OBJECT_0 ? ExitLine(process) : L"running");
  CloseHandle(process);
  return r == WAIT_OBJECT_0 ? 0 : 1;
}

// mutex-free TIMEOUT: waits until no Quenda holds "EX_Mutex" (another user of this Wine prefix
// may be running one).
int CmdMutexFree(int argc, wchar_t** argv) {
  if (argc != 3) return Fail(L"usage: mutex-free TIMEOUT_MS");
  if (WaitMutexFree(Deadline(Number(argv[2])))) return 0;
  Err(L"another process holds EX_Mutex: a Quenda runs in this Wine prefix");
  return 1;
}

// hold FILE MS: opens FILE for reading without sharing, as a backup or virus scanner may, prints
// "held", keeps it so for MS milliseconds, then prints "released".
int CmdHold(int argc, wchar_t** argv) {
  if (argc != 4) return Fail(L"usage: hold FILE MS");
  HANDLE file = CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return Fail(L"cannot open " + std::wstring(argv[2]) + L": error " +
                std::to_wstring(GetLastError()));
  }
  Out(L"held");
  Sleep(Number(argv[3]));
  CloseHandle(file);
  Out(L"released");
  return 0;
}

// xwindow PID CLASS TIMEOUT: waits for PID's visible window of CLASS and prints the id of the
// X window Wine shows it in, so that xdotool can type into it.
int CmdXWindow(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: xwindow PID CLASS TIMEOUT_MS");
  Deadline deadline(Number(argv[4]));
  for (;;) {
    if (HWND hwnd = FirstTopLevel(Number(argv[2]), argv[3], true)) {
      if (HANDLE x = GetPropW(hwnd, L"__wine_x11_whole_window")) {
        Out(std::to_wstring(reinterpret_cast<std::uintptr_t>(x)));
        return 0;
      }
    }
    if (deadline.Passed()) {
      Err(L"no X window for class " + std::wstring(argv[3]));
      return 1;
    }
    Sleep(1);
  }
}

// foreground PID CLASS TIMEOUT: waits until PID's window of CLASS is the foreground window.
int CmdForeground(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: foreground PID CLASS TIMEOUT_MS");
  Deadline deadline(Number(argv[4]));
  for (;;) {
    HWND fg = GetForegroundWindow();
    DWORD pid = 0;
    if (fg) GetWindowThreadProcessId(fg, &pid);
    if (fg && pid == Number(argv[2]) && ClassOf(fg) == argv[3]) return 0;
    if (deadline.Passed()) {
      Err(L"the foreground window is of class " + (fg ? ClassOf(fg) : std::wstring(L"(none)")));
      return 1;
    }
    Sleep(1);
  }
}

// The file name of a process's program, without its folder.
std::wstring ImageName(HANDLE process) {
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(process, 0, path, &size)) return {};
  const std::wstring full(path, size);
  return full.substr(full.find_last_of(L"\\/") + 1);
}

// kill PID...: ends each process that still runs and is one the scripts start. Wine hands a
// dead process's id to the next new one, often its own desktop or service processes; ending
// one of those would break the next test.
int CmdKill(int argc, wchar_t** argv) {
  for (int i = 2; i < argc; ++i) {
    HANDLE process = OpenTarget(Number(argv[i]));
    if (!process) continue;
    const std::wstring name = ImageName(process);
    if (lstrcmpiW(name.c_str(), L"Quenda.exe") != 0 &&
        lstrcmpiW(name.c_str(), L"fake_browser.exe") != 0 &&
        lstrcmpiW(name.c_str(), L"iexplore.exe") != 0) {
      Err(L"left process " + std::wstring(argv[i]) + L" alone: it now runs " + name);
      CloseHandle(process);
      continue;
    }
    TerminateProcess(process, 255);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
  return 0;
}

// startup-time DIR RUNS EXE CLASS [EXE CLASS]...: for each run and each program in turn, the
// milliseconds from CreateProcess to the first visible top-level window of CLASS, polled every
// millisecond; the program is then closed. Prints one line per program: its runs, then the
// median.
int CmdStartupTime(int argc, wchar_t** argv) {
  if (argc < 6 || (argc - 4) % 2) return Fail(L"usage: startup-time DIR RUNS EXE CLASS...");
  const std::wstring dir = argv[2];
  const int runs = int(Number(argv[3]));
  const int programs = (argc - 4) / 2;
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  std::vector<std::vector<double>> times(programs);
  for (int run = 0; run < runs; ++run) {
    for (int p = 0; p < programs; ++p) {
      const wchar_t* exe = argv[4 + 2 * p];
      const wchar_t* cls = argv[5 + 2 * p];
      if (!WaitMutexFree(Deadline(60000))) {
        return Fail(L"another process holds EX_Mutex: a Quenda runs in this Wine prefix");
      }
      LARGE_INTEGER t0, t1;
      QueryPerformanceCounter(&t0);
      PROCESS_INFORMATION pi;
      if (!Start(exe, dir, pi)) return 2;
      CloseHandle(pi.hThread);
      Deadline deadline(30000);
      HWND hwnd;
      while (!(hwnd = FirstTopLevel(pi.dwProcessId, cls, true))) {
        if (deadline.Passed() || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
          const std::wstring ended = WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0
                                         ? L" (" + ExitLine(pi.hProcess) + L")"
                                         : L"";
          TerminateProcess(pi.hProcess, 1);
          CloseHandle(pi.hProcess);
          return Fail(std::wstring(exe) + L" showed no window of class " + cls + ended);
        }
        Sleep(1);
      }
      QueryPerformanceCounter(&t1);
      times[p].push_back(double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(freq.QuadPart));
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
      }
      CloseHandle(pi.hProcess);
    }
  }
  for (int p = 0; p < programs; ++p) {
    std::wstring line = argv[4 + 2 * p];
    wchar_t buf[32];
    for (double t : times[p]) {
      swprintf(buf, 32, L" %.1f", t);
      line += buf;
    }
    std::vector<double> sorted = times[p];
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    swprintf(buf, 32, L" median %.1f", median);
    Out(line + buf);
  }
  return 0;
}


// --- controls inside the main window ---

struct ById {
  int first, last;
  std::vector<HWND> hwnds;
};

BOOL CALLBACK CollectById(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<ById*>(lp);
  const int id = GetDlgCtrlID(hwnd);
  if (id >= f->first && id <= f->last) f->hwnds.push_back(hwnd);
  return TRUE;
}

// Descendants of PID's visible main window whose control ids lie in [first, last], by id.
std::vector<HWND> MainControls(DWORD pid, int first, int last, const Deadline& deadline) {
  HWND main;
  while (!(main = FirstTopLevel(pid, L"TMainForm", true))) {
    if (deadline.Passed()) return {};
    Sleep(1);
  }
  ById f{first, last, {}};
  EnumChildWindows(main, CollectById, reinterpret_cast<LPARAM>(&f));
  std::sort(f.hwnds.begin(), f.hwnds.end(),
            [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  return f.hwnds;
}

// texts PID FIRST_ID LAST_ID TIMEOUT: "ID<TAB>TEXT" for each control of the main window whose
// id lies in the range, as a screen reader reads them.
int CmdTexts(int argc, wchar_t** argv) {
  if (argc != 6) return Fail(L"usage: texts PID FIRST_ID LAST_ID TIMEOUT_MS");
  const auto controls = MainControls(Number(argv[2]), int(Number(argv[3])), int(Number(argv[4])),
                                     Deadline(Number(argv[5])));
  if (controls.empty()) {
    Err(L"no main window with such controls");
    return 1;
  }
  for (HWND c : controls) Out(std::to_wstring(GetDlgCtrlID(c)) + L"\t" + TextOf(c));
  return 0;
}

// rects PID FIRST_ID LAST_ID TIMEOUT: "ID<TAB>LEFT TOP WIDTH HEIGHT" for each control of the
// main window whose id lies in the range, in its parent's client coordinates.
int CmdRects(int argc, wchar_t** argv) {
  if (argc != 6) return Fail(L"usage: rects PID FIRST_ID LAST_ID TIMEOUT_MS");
  const auto controls = MainControls(Number(argv[2]), int(Number(argv[3])), int(Number(argv[4])),
                                     Deadline(Number(argv[5])));
  if (controls.empty()) {
    Err(L"no main window with such controls");
    return 1;
  }
  for (HWND c : controls) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
    Out(std::to_wstring(GetDlgCtrlID(c)) + L"\t" + std::to_wstring(r.left) + L" " +
        std::to_wstring(r.top) + L" " + std::to_wstring(r.right - r.left) + L" " +
        std::to_wstring(r.bottom - r.top));
  }
  return 0;
}

// centre PID ID TIMEOUT_MS: the middle of a main-window control in screen coordinates, "X Y"
// (where an X client aims a drop).
int CmdCentre(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: centre PID ID TIMEOUT_MS");
  const int id = int(Number(argv[3]));
  const auto controls = MainControls(Number(argv[2]), id, id, Deadline(Number(argv[4])));
  if (controls.empty()) {
    Err(L"no control " + std::to_wstring(id) + L" in the main window");
    return 1;
  }
  RECT r;
  GetWindowRect(controls[0], &r);
  Out(std::to_wstring((r.left + r.right) / 2) + L" " + std::to_wstring((r.top + r.bottom) / 2));
  return 0;
}

// The main window's control ID for click and rclick, and the middle of its client area;
// nullptr (said why) when there is none.
HWND ClickTarget(wchar_t** argv, const Deadline& deadline, LPARAM& middle) {
  const int id = int(Number(argv[3]));
  const auto controls = MainControls(Number(argv[2]), id, id, deadline);
  if (controls.empty()) {
    Err(L"no control " + std::to_wstring(id) + L" in the main window");
    return nullptr;
  }
  RECT r;
  GetClientRect(controls[0], &r);
  middle = MAKELPARAM(r.right / 2, r.bottom / 2);
  return controls[0];
}

// click PID ID TIMEOUT: a left click (button down and up) in the middle of the main window's
// control ID, then waits until the main window has handled it.
int CmdClick(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: click PID ID TIMEOUT_MS");
  Deadline deadline(Number(argv[4]));
  LPARAM at = 0;
  const HWND control = ClickTarget(argv, deadline, at);
  if (!control) return 1;
  PostMessageW(control, WM_MOUSEMOVE, 0, at);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
  return Sync(control, deadline.Left() + 1) ? 0 : 1;
}

// rclick PID ID TIMEOUT: the mouse moves onto the main window's control ID and its right button
// goes down and up there; the popup menu that follows runs Quenda's menu loop, so this returns
// without waiting for it.
int CmdRightClick(int argc, wchar_t** argv) {
  if (argc != 5) return Fail(L"usage: rclick PID ID TIMEOUT_MS");
  Deadline deadline(Number(argv[4]));
  LPARAM at = 0;
  const HWND control = ClickTarget(argv, deadline, at);
  if (!control) return 1;
  SendMessageTimeoutW(control, WM_MOUSEMOVE, 0, at, SMTO_NORMAL, deadline.Left() + 1, nullptr);
  PostMessageW(control, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageW(control, WM_RBUTTONUP, 0, at);
  return 0;
}

// browser EXE SCENARIO WATCH_PID TIMEOUT: starts the stand-in browser, which lives until the
// process WATCH_PID ends, and waits until its windows exist; prints its process id.
int CmdBrowser(int argc, wchar_t** argv) {
  if (argc != 6) return Fail(L"usage: browser EXE SCENARIO WATCH_PID TIMEOUT_MS");
  const std::wstring event_name = L"quenda-e2e-browser-" + std::to_wstring(GetCurrentProcessId());
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, event_name.c_str());
  std::wstring command = L"\"" + std::wstring(argv[2]) + L"\" " + argv[3] + L" " + event_name +
                         L" " + argv[4];
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    return Fail(L"could not start " + std::wstring(argv[2]));
  }
  HANDLE waits[2] = {ready, pi.hProcess};
  const DWORD got = WaitForMultipleObjects(2, waits, FALSE, Number(argv[5]));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(ready);
  if (got != WAIT_OBJECT_0) {
    Err(L"the stand-in browser did not get ready");
    return 1;
  }
  Out(std::to_wstring(pi.dwProcessId));
  return 0;
}


// wclick PID CLASS ID TIMEOUT: a left click in the middle of control ID of PID's visible window
// of class CLASS (a dialog of Quenda's own), posted, as the dialog may run a modal loop.
int CmdWindowClick(int argc, wchar_t** argv) {
  if (argc != 6) return Fail(L"usage: wclick PID CLASS ID TIMEOUT_MS");
  Deadline deadline(Number(argv[5]));
  HWND window;
  while (!(window = FirstTopLevel(Number(argv[2]), argv[3], true))) {
    if (deadline.Passed()) {
      Err(L"no visible window of class " + std::wstring(argv[3]));
      return 1;
    }
    Sleep(1);
  }
  ById f{int(Number(argv[4])), int(Number(argv[4])), {}};
  EnumChildWindows(window, CollectById, reinterpret_cast<LPARAM>(&f));
  if (f.hwnds.empty()) return Fail(L"no control " + std::wstring(argv[4]));
  RECT r;
  GetClientRect(f.hwnds[0], &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(f.hwnds[0], WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(f.hwnds[0], WM_LBUTTONUP, 0, at);
  return 0;
}

// --- the keyboard and accessibility clients ---

// keys STROKE...: each STROKE typed in turn through SendInput, as from the keyboard: a key with
// modifiers held ("ctrl+alt+space", "up", "return"), or "text:" and characters to type.
int CmdKeys(int argc, wchar_t** argv) {
  struct Name {
    const wchar_t* name;
    WORD key;
  };
  static const Name names[] = {{L"ctrl", VK_CONTROL}, {L"alt", VK_MENU},   {L"shift", VK_SHIFT},
                               {L"space", VK_SPACE},  {L"return", VK_RETURN}, {L"tab", VK_TAB},
                               {L"escape", VK_ESCAPE}, {L"left", VK_LEFT}, {L"right", VK_RIGHT},
                               {L"up", VK_UP},        {L"down", VK_DOWN},  {L"apps", VK_APPS}};
  const auto send = [](std::vector<INPUT> inputs) {
    if (SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) return false;
    Sleep(100);  // let the foreground program take it in before the next
    return true;
  };
  for (int i = 2; i < argc; ++i) {
    const std::wstring stroke = argv[i];
    std::vector<INPUT> inputs;
    if (stroke.rfind(L"text:", 0) == 0) {
      for (wchar_t c : stroke.substr(5)) {
        for (DWORD up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
          INPUT in{};
          in.type = INPUT_KEYBOARD;
          in.ki.wScan = c;
          in.ki.dwFlags = KEYEVENTF_UNICODE | up;
          inputs.push_back(in);
        }
      }
    } else {
      std::vector<WORD> keys;
      for (std::size_t at = 0; at <= stroke.size();) {
        const std::size_t end = std::min(stroke.find(L'+', at), stroke.size());
        const std::wstring part = stroke.substr(at, end - at);
        const auto found = std::find_if(std::begin(names), std::end(names),
                                        [&](const Name& n) { return part == n.name; });
        const bool digit = part.size() == 1 && part[0] >= L'0' && part[0] <= L'9';
        if (found == std::end(names) && !digit) return Fail(L"no key named " + part);
        keys.push_back(digit ? WORD(part[0]) : found->key);
        at = end + 1;
      }
      for (int up = 0; up < 2; ++up) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
          INPUT in{};
          in.type = INPUT_KEYBOARD;
          in.ki.wVk = up ? keys[keys.size() - 1 - k] : keys[k];
          in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
          inputs.push_back(in);
        }
      }
    }
    if (!send(inputs)) {
      return Fail(L"SendInput failed (error " + std::to_wstring(GetLastError()) + L")");
    }
  }
  return 0;
}

// where PID TIMEOUT: where PID's main window is ("left=X top=Y"), whether it is minimised
// ("iconic=1") and whether it is the foreground window ("foreground=1").
int CmdWhere(int argc, wchar_t** argv) {
  if (argc != 4) return Fail(L"usage: where PID TIMEOUT_MS");
  Deadline deadline(Number(argv[3]));
  HWND main;
  while (!(main = FirstTopLevel(Number(argv[2]), L"TMainForm", true))) {
    if (deadline.Passed()) return Fail(L"no main window");
    Sleep(1);
  }
  Sync(main, deadline.Left() + 1);
  RECT r;
  GetWindowRect(main, &r);
  Out(L"left=" + std::to_wstring(r.left) + L" top=" + std::to_wstring(r.top) + L" iconic=" +
      (IsIconic(main) ? L"1" : L"0") + L" foreground=" +
      (GetForegroundWindow() == main ? L"1" : L"0"));
  return 0;
}

// acc PID ID TIMEOUT [do]: what an accessibility client in another process reads of the main
// window's control ID: "name=", "description=", "role=" and "state=" (hex); with "do" it then
// does the control's default action and prints "done".
int CmdAccessible(int argc, wchar_t** argv) {
  if (argc != 5 && !(argc == 6 && std::wstring(argv[5]) == L"do")) {
    return Fail(L"usage: acc PID ID TIMEOUT_MS [do]");
  }
  const int id = int(Number(argv[3]));
  const auto controls = MainControls(Number(argv[2]), id, id, Deadline(Number(argv[4])));
  if (controls.empty()) return Fail(L"no control " + std::to_wstring(id) + L" in the main window");
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* object = nullptr;
  const HRESULT got = AccessibleObjectFromWindow(controls[0], DWORD(OBJID_CLIENT),
                                                 __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&object));
  if (FAILED(got) || !object) {
    return Fail(L"no accessible object (error " + std::to_wstring(got) + L")");
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  for (const auto& [label, get] : {std::pair{L"name=", &IAccessible::get_accName},
                                   std::pair{L"description=", &IAccessible::get_accDescription}}) {
    BSTR text = nullptr;
    (object->*get)(self, &text);
    Out(label + std::wstring(text ? text : L""));
    SysFreeString(text);
  }
  VARIANT role, state;
  VariantInit(&role);
  VariantInit(&state);
  object->get_accRole(self, &role);
  object->get_accState(self, &state);
  wchar_t hex[16];
  swprintf(hex, 16, L"%lx", state.vt == VT_I4 ? state.lVal : 0L);
  Out(L"role=" + std::to_wstring(role.vt == VT_I4 ? role.lVal : -1));
  Out(L"state=" + std::wstring(hex));
  int status = 0;
  if (argc == 6) {
    const HRESULT done = object->accDoDefaultAction(self);
    if (SUCCEEDED(done)) {
      Out(L"done");
    } else {
      status = Fail(L"the default action failed (error " + std::to_wstring(done) + L")");
    }
  }
  object->Release();
  return status;
}

// Sizes and places are read in real pixels: a process unaware of DPI would be shown scaled
// ones by a system that scales windows for it.
void BePerMonitorAware() {
  using SetContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const auto set_context = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (set_context) set_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

int Run(int argc, wchar_t** argv) {
  const std::wstring command = argv[1];
  if (command == L"start") return CmdStart(argc, argv);
  if (command == L"run") return CmdRun(argc, argv);
  if (command == L"window") return CmdWindow(argc, argv);
  if (command == L"dialog") return CmdDialog(argc, argv);
  if (command == L"press") return CmdPress(argc, argv);
  if (command == L"close") return CmdClose(argc, argv);
  if (command == L"state") return CmdState(argc, argv);
  if (command == L"wait-exit") return CmdWaitExit(argc, argv);
  if (command == L"mutex-free") return CmdMutexFree(argc, argv);
  if (command == L"hold") return CmdHold(argc, argv);
  if (command == L"xwindow") return CmdXWindow(argc, argv);
  if (command == L"foreground") return CmdForeground(argc, argv);
  if (command == L"kill") return CmdKill(argc, argv);
  if (command == L"texts") return CmdTexts(argc, argv);
  if (command == L"rects") return CmdRects(argc, argv);
  if (command == L"centre") return CmdCentre(argc, argv);
  if (command == L"click") return CmdClick(argc, argv);
  if (command == L"rclick") return CmdRightClick(argc, argv);
  if (command == L"wclick") return CmdWindowClick(argc, argv);
  if (command == L"browser") return CmdBrowser(argc, argv);
  if (command == L"startup-time") return CmdStartupTime(argc, argv);
  if (command == L"keys") return CmdKeys(argc, argv);
  if (command == L"where") return CmdWhere(argc, argv);
  if (command == L"acc") return CmdAccessible(argc, argv);
  return Fail(L"unknown command " + command);
}

std::wstring FromUtf8(const std::string& text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(std::size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

// serve: a whole script's commands in one process, one a line on stdin with its fields split by
// tabs; after each command's output, a line of "\x04" and its exit status. A Wine program's start
// costs a tenth of a second of processor time, and a script calls the driver a hundred times.
int Serve() {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  for (;;) {
    std::size_t end;
    while ((end = pending.find('\n')) == std::string::npos) {
      char chunk[4096];
      DWORD got = 0;
      if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr) || got == 0) return 0;
      pending.append(chunk, got);
    }
    std::vector<std::wstring> fields{L"quenda_driver"};
    for (std::size_t at = 0;;) {
      const std::size_t tab = std::min(pending.find('\t', at), end);
      fields.push_back(FromUtf8(pending.substr(at, tab - at)));
      if (tab == end) break;
      at = tab + 1;
    }
    pending.erase(0, end + 1);
    std::vector<wchar_t*> argv;
    for (std::wstring& field : fields) argv.push_back(field.data());
    argv.push_back(nullptr);  // as a program's own argv ends
    const int status = Run(int(fields.size()), argv.data());
    // A driver started for each command gave Quenda that long to handle what the command posted
    // or typed before the next one looked; the scripts were written with that moment in them.
    static const std::wstring kActing[] = {L"click", L"rclick", L"wclick", L"press", L"keys"};
    if (std::find(std::begin(kActing), std::end(kActing), fields[1]) != std::end(kActing)) {
      Sleep(250);
    }
    Out(L"\x04" + std::to_wstring(status));
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Fail(L"usage: quenda_driver COMMAND ARGS...");
  BePerMonitorAware();
  if (std::wstring(argv[1]) == L"serve") return Serve();
  return Run(argc, argv);
}
