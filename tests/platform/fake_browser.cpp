// A stand-in browser for the capture tests, in a process of its own:
//   fake_browser.exe SCENARIO READY-EVENT TEST-PID
// builds the hidden window tree of one browser style, sets the named event, then serves its
// windows until the test process ends or kills it. "hung" stops answering once it is ready.
// The current browsers' scenarios answer with an accessibility tree instead of edit controls.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "fake_accessible.h"

namespace {

HINSTANCE g_instance;
HWND g_mdi_client;
FakeAccessible* g_tree;  // what the current browser's frame answers WM_GETOBJECT with

LRESULT CALLBACK AccessibleFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETOBJECT && LONG(lp) == LONG(OBJID_CLIENT) && g_tree) {
    return LresultFromObject(IID_IAccessible, wp, g_tree);
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

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

// IEFrame > WorkerW > ReBarWindow32 > ComboBoxEx32 > ComboBox > Edit, from the common controls;
// a search box may come first.
bool BuildComboAddressBar(const wchar_t* caption, const wchar_t* address,
                          const wchar_t* search = nullptr) {
  Register(L"IEFrame");
  Register(L"WorkerW");
  const HWND frame = Frame(L"IEFrame", caption);
  if (search && !Child(frame, L"Edit", search)) return false;
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
  return edit && SetWindowTextW(edit, address);
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

// Current browsers: a frame of the browser's class whose client object is a scripted tree.
// The page's own document comes first, with a text field of its own that is not the address;
// the field sought lies in a toolbar, `depth` groupings further down.
struct CurrentBrowser {
  const wchar_t* scenario;
  const wchar_t* class_name;
  const wchar_t* caption;
  const wchar_t* field_name;
  const wchar_t* field_value;
  int depth = 0;
};
constexpr CurrentBrowser CurrentBrowsers[] = {
    {L"chrome", L"Chrome_WidgetWin_1", L"Example Domain - Google Chrome",
     L"Address and search bar", L"https://example.com/"},
    // The field's Japanese name, an address shown without its scheme and with a character CP932
    // lacks (U+00FC).
    {L"chrome-ja", L"Chrome_WidgetWin_1", L"日本語のページ・案内 - Google Chrome",
     L"アドレス検索バー", L"example.jp/日本/m\u00FCnchen?q=1"},
    {L"edge", L"Chrome_WidgetWin_1", L"Bing - Personal - Microsoft\u200B Edge",
     L"Address and search bar", L"https://www.bing.com/"},
    {L"no-address", L"Chrome_WidgetWin_1", L"No Address - Google Chrome", L"Find in page",
     L"https://find.example/"},
    // Below more levels than any browser has: the walk gives up before it.
    {L"too-deep", L"Chrome_WidgetWin_1", L"Deep - Google Chrome", L"Address and search bar",
     L"https://deep.example/", 200},
    {L"firefox", L"MozillaWindowClass", L"Example Domain \u2014 Mozilla Firefox",
     L"Search or enter address", L"https://example.net/"},
    // Stops answering once ready.
    {L"chrome-hung", L"Chrome_WidgetWin_1", L"Example Domain - Google Chrome",
     L"Address and search bar", L"https://example.com/"},
};

bool BuildCurrentBrowser(const std::wstring& scenario) {
  for (const CurrentBrowser& b : CurrentBrowsers) {
    if (scenario != b.scenario) continue;
    Register(b.class_name, AccessibleFrameProc);
    g_tree = FakeAccessible::Root(ROLE_SYSTEM_CLIENT, b.caption);
    FakeAccessible* document = g_tree->Add(ROLE_SYSTEM_DOCUMENT, L"Page");
    document->Add(ROLE_SYSTEM_TEXT, L"Search", L"https://wrong.example/");
    document->AddSimple(ROLE_SYSTEM_LINK, L"More information...");
    FakeAccessible* node = g_tree->Add(ROLE_SYSTEM_PANE, L"")->Add(ROLE_SYSTEM_TOOLBAR, L"");
    node->AddSimple(ROLE_SYSTEM_PUSHBUTTON, L"Back");
    for (int level = 0; level < b.depth; ++level) node = node->Add(ROLE_SYSTEM_GROUPING, L"");
    node->Add(ROLE_SYSTEM_TEXT, b.field_name, b.field_value);
    return Frame(b.class_name, b.caption) != nullptr;
  }
  return false;
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

  // The scripted trees are served to other processes through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_COOL_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&icc);
  bool built = false;
  if (scenario == L"combo") {
    built = BuildComboAddressBar(L"Example Domain - Microsoft Internet Explorer",
                                 L"http://example.com/");
  } else if (scenario == L"explorer") {
    built = BuildComboAddressBar(L"Example Domain - Windows Internet Explorer",
                                 L"http://example.com/", L"http://search.example/");
  } else if (scenario == L"explorer-untitled") {
    built = BuildComboAddressBar(L"Wine Internet Explorer", L"file://C:\\ページ\\Local page file.htm",
                                 L"http://search.example/");
  } else if (scenario == L"band") {
    built = BuildAddressBand();
  } else if (scenario == L"title-only") {
    built = BuildTitleOnly();
  } else if (scenario == L"mdi") {
    built = BuildMdi();
  } else if (scenario == L"hung") {
    built = BuildHung();
  } else {
    built = BuildCurrentBrowser(scenario);
  }
  if (!built) return 4;
  SetEvent(ready);

  constexpr DWORD kLifetimeMs = 120000;  // a bound in case nobody kills it
  const ULONGLONG end = GetTickCount64() + kLifetimeMs;
  if (scenario == L"hung" || scenario == L"chrome-hung") {
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
