// A stand-in browser for the capture tests, in a process of its own:
//   fake_browser.exe SCENARIO READY-EVENT TEST-PID
// builds the hidden window tree of one browser style, sets the named event, then serves its
// windows until the test process ends or kills it. "hung" stops answering once it is ready.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

HINSTANCE g_instance;
HWND g_mdi_client;

LRESULT CALLBACK MdiFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefFrameProcW(hwnd, g_mdi_client, msg, wp, lp);
}

void Register(const wchar_t* name, WNDPROC proc = DefWindowProcW) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = g_instance;
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

// Frames stay hidden: showing a window under Wine costs seconds, and the capture ignores it.
HWND Frame(const wchar_t* class_name, const wchar_t* caption) {
  return CreateWindowExW(0, class_name, caption, WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                         nullptr, g_instance, nullptr);
}

HWND Child(HWND parent, const wchar_t* class_name, const wchar_t* text = L"", DWORD style = 0,
           void* create = nullptr) {
  return CreateWindowExW(0, class_name, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 400, 200,
                         parent, nullptr, g_instance, create);
}

// IEFrame > WorkerW > ReBarWindow32 > ComboBoxEx32 > ComboBox > Edit, from the common controls.
bool BuildComboAddressBar() {
  Register(L"IEFrame");
  Register(L"WorkerW");
  const HWND frame = Frame(L"IEFrame", L"Example Domain - Microsoft Internet Explorer");
  const HWND rebar = Child(Child(frame, L"WorkerW"), REBARCLASSNAMEW, L"", RBS_VARHEIGHT);
  const HWND combo = Child(rebar, WC_COMBOBOXEXW, L"", CBS_DROPDOWN);
  REBARBANDINFOW band{};
  band.cbSize = REBARBANDINFOW_V6_SIZE;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
  band.hwndChild = combo;
  band.cxMinChild = 300;
  band.cyMinChild = 22;
  SendMessageW(rebar, RB_INSERTBANDW, WPARAM(-1), reinterpret_cast<LPARAM>(&band));
  const auto edit = reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0));
  return edit && SetWindowTextW(edit, L"http://example.com/");
}

// A search box, then "Address Band Root" > Edit; a Japanese page title and address.
bool BuildAddressBand() {
  Register(L"IEFrame");
  Register(L"Address Band Root");
  const HWND frame = Frame(L"IEFrame", L"日本語のページ - Microsoft Internet Explorer");
  // "http" begins at byte 3 of the CP932 text, though at character 2.
  const HWND search = Child(frame, L"Edit", L"検http://search/");
  const HWND band = Child(frame, L"Address Band Root");
  return search && Child(band, L"Edit", L"http://example.org/日本/");
}

// Only the page title: no edit anywhere in the frame.
bool BuildTitleOnly() {
  Register(L"FakeBrowserFrame");
  Register(L"FakeBrowserContent");
  const HWND frame = Frame(L"FakeBrowserFrame", L"Example Domain - Mozilla");
  return Child(Child(frame, L"FakeBrowserContent"), L"FakeBrowserContent") != nullptr;
}

// A real MDI frame whose document window holds the address edit.
bool BuildMdi() {
  Register(L"FakeMdiFrame", MdiFrameProc);
  Register(L"FakeMdiDocument", DefMDIChildProcW);
  const HWND frame = Frame(L"FakeMdiFrame", L"Fake MDI");
  CLIENTCREATESTRUCT client{nullptr, 0xFF00};
  g_mdi_client = Child(frame, L"MDICLIENT", L"", WS_CLIPCHILDREN, &client);
  const HWND document = CreateMDIWindowW(L"FakeMdiDocument", L"Title", 0, 0, 0, 300, 200,
                                         g_mdi_client, g_instance, 0);
  return document && Child(document, L"Edit", L"http://example.net/") &&
         SetWindowTextW(frame, L"Opera - [ Title ]");
}

bool BuildHung() {
  Register(L"FakeBrowserFrame");
  const HWND frame = Frame(L"FakeBrowserFrame", L"Hung Page - Microsoft Internet Explorer");
  return Child(frame, L"Edit", L"http://hung.example/") != nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  g_instance = instance;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc != 4) return 2;
  const std::wstring scenario = argv[1];
  const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  // TEST-PID 0: no process to outlive; the caller kills it (or the lifetime bound ends it).
  const DWORD test_pid = DWORD(wcstoul(argv[3], nullptr, 10));
  const HANDLE test = test_pid ? OpenProcess(SYNCHRONIZE, FALSE, test_pid) : nullptr;
  if (!ready || (test_pid && !test)) return 3;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_COOL_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&icc);
  bool built = false;
  if (scenario == L"combo") built = BuildComboAddressBar();
  else if (scenario == L"band") built = BuildAddressBand();
  else if (scenario == L"title-only") built = BuildTitleOnly();
  else if (scenario == L"mdi") built = BuildMdi();
  else if (scenario == L"hung") built = BuildHung();
  if (!built) return 4;
  SetEvent(ready);

  constexpr DWORD kLifetimeMs = 120000;  // a bound in case nobody kills it
  const ULONGLONG end = GetTickCount64() + kLifetimeMs;
  if (scenario == L"hung") {
    if (test) WaitForSingleObject(test, kLifetimeMs);
    else Sleep(kLifetimeMs);
    return 0;
  }
  for (ULONGLONG now; (now = GetTickCount64()) < end;) {
    if (MsgWaitForMultipleObjects(test ? 1 : 0, &test, FALSE, DWORD(end - now), QS_ALLINPUT) ==
            WAIT_OBJECT_0 &&
        test) {
      return 0;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
