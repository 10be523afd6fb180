// The main window under Wine: a full redisplay of the 25 slot buttons, and a page switch as a
// click on a page button gives it, on a shown window with a table of icons and titles.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/forms.h"
#include "core/std_table_storage.h"
#include "platform/prompts.h"
#include "ui/speed_button.h"

namespace quenda {
namespace {

class SilentPrompts : public Prompts {
 public:
  int Show(HWND, const std::wstring&, const std::wstring&, UINT) override { return IDOK; }
};

// One main window for all runs, on a table whose address page shows titles and whose program
// page shows icons.
Forms& SharedForms() {
  static Forms* forms = [] {
    static SilentPrompts prompts;
    SetPrompts(&prompts);
    static StdTableStorage storage;
    const auto dir = std::filesystem::temp_directory_path() / L"quenda-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    SlotTable table;
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
      SetSlotField(table, Title, 0, slot, "\x83\x65\x83\x58\x83\x67 title " + std::to_string(slot));
      SetSlotField(table, Flag1, 8, slot, "0");
      Picture picture(32, 32, 0xFFFFFF);
      for (int i = 4; i < 28; ++i) picture.Set(i, i, 0x0000FF), picture.Set(31 - i, i, 0xFF0000);
      StoreSlotIcon(table, 8, slot, picture);
    }
    (void)TableFile(dir.wstring(), storage).Save(table);
    auto* f = new Forms;
    f->Create(dir.wstring(), storage, "BENCH");
    ShowWindow(f->main.hwnd(), SW_SHOWNOACTIVATE);
    return f;
  }();
  return *forms;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void Click(HWND button) {
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

void BM_RedisplayTitles(benchmark::State& state) {
  Forms& forms = SharedForms();
  Click(forms.main.PageButtonByTag(0));
  for (auto _ : state) forms.main.ShowPage();
  Pump();
}
BENCHMARK(BM_RedisplayTitles)->Unit(benchmark::kMicrosecond);

void BM_RedisplayIcons(benchmark::State& state) {
  Forms& forms = SharedForms();
  Click(forms.main.PageButtonByTag(200));
  for (auto _ : state) forms.main.ShowPage();
  Pump();
}
BENCHMARK(BM_RedisplayIcons)->Unit(benchmark::kMicrosecond);

void BM_PageSwitch(benchmark::State& state) {
  Forms& forms = SharedForms();
  const HWND pages[2] = {forms.main.PageButtonByTag(0), forms.main.PageButtonByTag(200)};
  int i = 0;
  for (auto _ : state) Click(pages[i++ & 1]);
  Pump();
}
BENCHMARK(BM_PageSwitch)->Unit(benchmark::kMicrosecond);

// The floor of a page switch: 25 child windows at the slot buttons' places, each painting only
// its background, given a new window text each and redrawn as a page switch redraws the grid.
// Above it is Quenda's own work.
LRESULT CALLBACK BackgroundOnly(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  EndPaint(window, &paint);
  return 0;
}

HWND FloorGrid() {
  static const HWND grid = [] {
    Forms& forms = SharedForms();
    const HWND quenda_grid = GetParent(forms.main.SlotButton(0));
    WNDCLASSW plain{};
    plain.lpfnWndProc = BackgroundOnly;
    plain.hInstance = GetModuleHandleW(nullptr);
    plain.lpszClassName = L"BenchBackgroundOnly";
    RegisterClassW(&plain);
    RECT frame, area;
    GetWindowRect(forms.main.hwnd(), &frame);
    GetClientRect(quenda_grid, &area);
    const HWND top = CreateWindowExW(0, plain.lpszClassName, L"floor", WS_OVERLAPPEDWINDOW,
                                     frame.right, frame.top, frame.right - frame.left,
                                     frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    const HWND panel = CreateWindowExW(0, plain.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                       area.right, area.bottom, top, nullptr, nullptr, nullptr);
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
      RECT r;
      GetWindowRect(forms.main.SlotButton(slot), &r);
      MapWindowPoints(nullptr, quenda_grid, reinterpret_cast<POINT*>(&r), 2);
      CreateWindowExW(0, plain.lpszClassName, L"", WS_CHILD | WS_VISIBLE, r.left, r.top,
                      r.right - r.left, r.bottom - r.top, panel, nullptr, nullptr, nullptr);
    }
    ShowWindow(top, SW_SHOWNOACTIVATE);
    Pump();
    return panel;
  }();
  return grid;
}

void BM_PageSwitchFloor(benchmark::State& state) {
  const HWND grid = FloorGrid();
  const wchar_t* texts[2] = {L"\u30c6\u30b9\u30c8 title", L""};
  int i = 0;
  for (auto _ : state) {
    const wchar_t* text = texts[i++ & 1];
    for (HWND child = GetWindow(grid, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      SetWindowTextW(child, text);
    }
    RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  Pump();
}
BENCHMARK(BM_PageSwitchFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quenda

BENCHMARK_MAIN();
