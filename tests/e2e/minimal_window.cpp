// The floors the start-up benchmark sets Quenda beside: a bare Win32 window program and, built
// with QUENDA_FLOOR_LIKE_QUENDA, a window like Quenda's: a menu, 69 child buttons in a Japanese
// font, and the same system libraries loaded as Quenda.exe imports. What Quenda takes beyond
// the second is its own work.
#include <windows.h>
#ifdef QUENDA_FLOOR_LIKE_QUENDA
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#endif

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

#ifdef QUENDA_FLOOR_LIKE_QUENDA
constexpr const wchar_t* kClassName = L"FloorWindow";

// One call into each library Quenda imports at load time, so each is loaded here too.
void TouchImports() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  SHFILEINFOW info{};
  SHGetFileInfoW(L".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_USEFILEATTRIBUTES);
  CoTaskMemFree(nullptr);
  SysFreeString(nullptr);
  CommDlgExtendedError();
}

HMENU Menu() {
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 1, L"終了(&X)");
  return menu;
}

void AddButtons(HWND hwnd, HINSTANCE instance) {
  static HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  VARIABLE_PITCH | FF_SWISS, L"ＭＳ Ｐゴシック");
  for (int i = 0; i < 69; ++i) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"ボタン", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  (i % 9) * 38, (i / 9) * 38, 36, 36, hwnd,
                                  reinterpret_cast<HMENU>(INT_PTR(100 + i)), instance, nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}
#else
constexpr const wchar_t* kClassName = L"MinimalWindow";
void TouchImports() {}
HMENU Menu() { return nullptr; }
void AddButtons(HWND, HINSTANCE) {}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  TouchImports();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 366, 362, nullptr, Menu(), instance, nullptr);
  if (!hwnd) return 1;
  AddButtons(hwnd, instance);
  ShowWindow(hwnd, show_command);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}
