#include "platform/capture_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp932.h"
#include "platform/fake_browser_process.h"
#include "platform/handle.h"

namespace quenda {
namespace {

// The system's provider, shown only the top-level windows of the fake browsers, so that other
// windows on the shared desktop cannot win the search; it records every control text read.
class FakeBrowsersOnly : public WindowProvider {
 public:
  explicit FakeBrowsersOnly(std::vector<DWORD> pids) : pids_(std::move(pids)) {}

  void EnumTopLevel(const Visit& visit) override {
    system_.EnumTopLevel([&](WindowId window) {
      DWORD pid = 0;
      GetWindowThreadProcessId(ToHwnd(window), &pid);
      return std::find(pids_.begin(), pids_.end(), pid) == pids_.end() || visit(window);
    });
  }
  std::string Caption(WindowId w, std::size_t n) override { return system_.Caption(w, n); }
  bool IsWindow(WindowId w) override { return system_.IsWindow(w); }
  void EnumDescendants(WindowId parent, const Visit& visit) override {
    system_.EnumDescendants(parent, visit);
  }
  std::string ClassName(WindowId w, std::size_t n) override { return system_.ClassName(w, n); }
  std::optional<std::string> ControlText(WindowId w, std::size_t n) override {
    reads.push_back({w, system_.ControlText(w, n)});
    return reads.back().text;
  }
  std::u16string WideCaption(WindowId w, std::size_t n) override {
    return system_.WideCaption(w, n);
  }
  std::optional<std::u16string> AccessibleAddress(WindowId w, BrowserFamily family) override {
    walked.push_back(w);
    return system_.AccessibleAddress(w, family);
  }
  std::string ToCp932(std::u16string_view text) override { return system_.ToCp932(text); }
  std::optional<std::string> ExactCp932(std::u16string_view text) override {
    return system_.ExactCp932(text);
  }

  struct Read {
    WindowId window;
    std::optional<std::string> text;
  };
  std::vector<Read> reads;
  std::vector<WindowId> walked;  // windows whose accessibility tree was searched

 private:
  std::vector<DWORD> pids_;
  WindowProvider& system_ = CurrentWindowProvider();
};

struct Result {
  bool found = false;
  std::string address, title, short_title;
};

Result CaptureOn(WindowProvider& provider) {
  const std::optional<CapturedPage> page = CaptureBrowserPage(provider);
  if (!page) return {};
  return {true, page->address, page->title, page->short_title};
}

// Class names from a window up to its top-level window.
std::vector<std::wstring> ClassChain(HWND hwnd) {
  std::vector<std::wstring> chain;
  for (; hwnd && hwnd != GetDesktopWindow(); hwnd = GetAncestor(hwnd, GA_PARENT)) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    chain.push_back(name);
  }
  return chain;
}

TEST(CaptureWin, ComboAddressBarOfTheCommonControls) {
  FakeBrowser browser(L"combo");
  ASSERT_TRUE(browser.ready());
  FakeBrowsersOnly provider({browser.pid()});
  const Result r = CaptureOn(provider);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.address, "http://example.com/");
  EXPECT_EQ(r.title, "Example Domain");
  EXPECT_EQ(r.short_title, "Example");
  ASSERT_FALSE(provider.reads.empty());
  EXPECT_EQ(ClassChain(ToHwnd(provider.reads.back().window)),
            (std::vector<std::wstring>{L"Edit", L"ComboBox", L"ComboBoxEx32", L"ReBarWindow32",
                                       L"WorkerW", L"IEFrame"}));
}

// Internet Explorer 7 to 11 and Wine's browser: only the edit of the address combo is read.
TEST(CaptureWin, InternetExplorerFramesByTheirAddressCombo) {
  struct Case {
    const wchar_t* scenario;
    std::wstring address, title, short_title;
  };
  const std::wstring local = L"file://C:\\ページ\\Local page file.htm";
  const Case cases[] = {
      {L"explorer", L"http://example.com/", L"Example Domain", L"Example"},
      {L"explorer-untitled", local, local, L"Local"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(win::ToCp932(c.scenario));
    FakeBrowser browser(c.scenario);
    ASSERT_TRUE(browser.ready());
    FakeBrowsersOnly provider({browser.pid()});
    const Result r = CaptureOn(provider);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.address, win::ToCp932(c.address));
    EXPECT_EQ(r.title, win::ToCp932(c.title));
    EXPECT_EQ(r.short_title, win::ToCp932(c.short_title));
    ASSERT_EQ(provider.reads.size(), 1u);
    EXPECT_EQ(ClassChain(ToHwnd(provider.reads[0].window)),
              (std::vector<std::wstring>{L"Edit", L"ComboBox", L"ComboBoxEx32", L"ReBarWindow32",
                                         L"WorkerW", L"IEFrame"}));
  }
}

TEST(CaptureWin, AddressBandBehindASearchBoxInCp932) {
  FakeBrowser browser(L"band");
  ASSERT_TRUE(browser.ready());
  FakeBrowsersOnly provider({browser.pid()});
  const Result r = CaptureOn(provider);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.address, win::ToCp932(L"http://example.org/日本/"));
  EXPECT_EQ(r.title, win::ToCp932(L"日本語のページ"));
  EXPECT_EQ(r.short_title, win::ToCp932(L"日本語のペ"));
  // The search box was read, in CP932, and passed over.
  ASSERT_EQ(provider.reads.size(), 2u);
  EXPECT_EQ(provider.reads[0].text, win::ToCp932(L"検http://search/"));
  EXPECT_EQ(ClassChain(ToHwnd(provider.reads[1].window)),
            (std::vector<std::wstring>{L"Edit", L"Address Band Root", L"IEFrame"}));
}

TEST(CaptureWin, FrameWithoutAnEditYieldsNothing) {
  FakeBrowser browser(L"title-only");
  ASSERT_TRUE(browser.ready());
  FakeBrowsersOnly provider({browser.pid()});
  ASSERT_TRUE(browser.Frame(L"Example Domain - Mozilla"));
  const Result r = CaptureOn(provider);
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.address, "");
  EXPECT_EQ(r.title, "");
  EXPECT_TRUE(provider.reads.empty());
}

TEST(CaptureWin, MdiFrameWithTheTitleInBrackets) {
  FakeBrowser browser(L"mdi");
  ASSERT_TRUE(browser.ready());
  FakeBrowsersOnly provider({browser.pid()});
  const Result r = CaptureOn(provider);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.address, "http://example.net/");
  EXPECT_EQ(r.title, "Title");
  ASSERT_FALSE(provider.reads.empty());
  EXPECT_EQ(ClassChain(ToHwnd(provider.reads.back().window)),
            (std::vector<std::wstring>{L"Edit", L"FakeMdiDocument", L"MDIClient", L"FakeMdiFrame"}));
}

// True when EnumWindows reports `first` before `second`.
bool ReportedBefore(HWND first, HWND second) {
  std::vector<HWND> order;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&order));
  const auto a = std::find(order.begin(), order.end(), first);
  const auto b = std::find(order.begin(), order.end(), second);
  return a != order.end() && b != order.end() && a < b;
}

TEST(CaptureWin, TheBrowserInFrontWins) {
  FakeBrowser combo(L"combo"), mdi(L"mdi");
  ASSERT_TRUE(combo.ready());
  ASSERT_TRUE(mdi.ready());
  const HWND combo_frame = combo.Frame(L"Example Domain - Microsoft Internet Explorer");
  const HWND mdi_frame = mdi.Frame(L"Opera - [ Title ]");
  ASSERT_TRUE(combo_frame && mdi_frame);
  const std::pair<HWND, std::string> cases[] = {{combo_frame, "http://example.com/"},
                                                {mdi_frame, "http://example.net/"},
                                                {combo_frame, "http://example.com/"}};
  for (const auto& [front, address] : cases) {
    SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(ReportedBefore(front, front == combo_frame ? mdi_frame : combo_frame));
    FakeBrowsersOnly provider({combo.pid(), mdi.pid()});
    EXPECT_EQ(CaptureOn(provider).address, address);
  }
}

// On a thread of its own, so that a capture that waits for a hung window fails the test
// instead of hanging it: killing the browser releases the wait. nullopt when it took longer.
std::optional<Result> CaptureWithin(FakeBrowser& browser, WindowProvider& provider,
                                    DWORD limit_ms) {
  Result r;
  win::UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread capture([&] {
    r = CaptureOn(provider);
    SetEvent(done.get());
  });
  const bool in_time = WaitForSingleObject(done.get(), limit_ms) == WAIT_OBJECT_0;
  if (!in_time) browser.Kill();
  capture.join();
  if (!in_time) return std::nullopt;
  return r;
}

TEST(CaptureWin, HungBrowserIsPassedOverWithinTheTimeout) {
  FakeBrowser browser(L"hung");
  ASSERT_TRUE(browser.ready());
  FakeBrowsersOnly provider({browser.pid()});
  const std::optional<Result> r = CaptureWithin(browser, provider, 5000);
  ASSERT_TRUE(r);
  // Its caption is still read; its edit does not answer, so nothing is accepted from it.
  EXPECT_TRUE(r->found);
  EXPECT_EQ(r->title, "Hung Page");
  EXPECT_EQ(r->address, "");
  ASSERT_EQ(provider.reads.size(), 1u);
  EXPECT_EQ(provider.reads[0].text, std::nullopt);
}

// Today's browsers, whose address is read from their accessibility tree in another process.
TEST(CaptureWin, CurrentBrowsersThroughTheirAccessibilityTree) {
  struct Case {
    const wchar_t* scenario;
    std::wstring address, title;
  };
  const Case cases[] = {
      {L"chrome", L"https://example.com/", L"Example Domain"},
      // No scheme shown: one is added; U+00FC has no CP932 form and is kept as UTF-8.
      {L"chrome-ja", L"https://example.jp/日本/m%C3%BCnchen?q=1", L"日本語のページ・案内"},
      {L"edge", L"https://www.bing.com/", L"Bing"},
      {L"firefox", L"https://example.net/", L"Example Domain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(win::ToCp932(c.scenario));
    FakeBrowser browser(c.scenario);
    ASSERT_TRUE(browser.ready());
    FakeBrowsersOnly provider({browser.pid()});
    const Result r = CaptureOn(provider);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.address, win::ToCp932(c.address));
    EXPECT_EQ(r.title, win::ToCp932(c.title));
    EXPECT_EQ(r.short_title, MakeShortName(r.title));
    EXPECT_EQ(provider.walked.size(), 1u);
  }
}

TEST(CaptureWin, CurrentBrowserWithoutAReachableAddressFieldYieldsNothing) {
  for (const wchar_t* scenario : {L"no-address", L"too-deep"}) {
    SCOPED_TRACE(win::ToCp932(scenario));
    FakeBrowser browser(scenario);
    ASSERT_TRUE(browser.ready());
    FakeBrowsersOnly provider({browser.pid()});
    const Result r = CaptureOn(provider);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.address, "");
    EXPECT_EQ(r.title, "");
    // The tree was searched: the window was recognised, its address was not there to find.
    EXPECT_EQ(provider.walked.size(), 1u);
  }
}

TEST(CaptureWin, HungCurrentBrowserCostsAtMostTheWalkTimeout) {
  FakeBrowser browser(L"chrome-hung");
  ASSERT_TRUE(browser.ready());
  FakeBrowsersOnly provider({browser.pid()});
  const std::optional<Result> r = CaptureWithin(browser, provider, 10000);
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->found);
  EXPECT_EQ(r->address, "");
  EXPECT_EQ(provider.walked.size(), 1u);
}

TEST(CaptureWin, OlderBrowsersWinOverCurrentOnes) {
  FakeBrowser chrome(L"chrome"), combo(L"combo");
  ASSERT_TRUE(chrome.ready());
  ASSERT_TRUE(combo.ready());
  // Whichever is in front.
  for (const wchar_t* front : {L"Example Domain - Google Chrome",
                               L"Example Domain - Microsoft Internet Explorer"}) {
    const HWND frame = (front[17] == L'G' ? chrome : combo).Frame(front);
    ASSERT_TRUE(frame);
    SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FakeBrowsersOnly provider({chrome.pid(), combo.pid()});
    const Result r = CaptureOn(provider);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.address, "http://example.com/");
    EXPECT_TRUE(provider.walked.empty());
  }
}

}  // namespace
}  // namespace quenda
