// One "URL取得" under Wine against a stand-in browser in another process: an older browser
// whose address is an edit control, and a current one whose address is read from its
// accessibility tree.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/capture.h"
#include "platform/fake_browser_process.h"

namespace quenda {
namespace {

std::filesystem::path StandIn() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / L"tests" / L"fake_browser.exe";
}

void BM_Capture(benchmark::State& state, const wchar_t* scenario) {
  FakeBrowser browser(scenario, StandIn());
  if (!browser.ready()) {
    state.SkipWithError("the stand-in browser did not start");
    return;
  }
  for (auto _ : state) {
    const std::optional<CapturedPage> page = CaptureBrowserPage();
    if (!page) state.SkipWithError("nothing captured");
    benchmark::DoNotOptimize(page);
  }
}
BENCHMARK_CAPTURE(BM_Capture, edit_control, L"combo")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Capture, accessibility_tree, L"chrome")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenda

BENCHMARK_MAIN();
