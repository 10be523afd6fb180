#include "ui/speed_button.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "platform/handle.h"
#include "ui/font.h"
#include "ui/window.h"
#include "support/win_test_support.h"

namespace quenda::win {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kSentinel = RGB(1, 2, 3);

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
int Luminance(COLORREF c) { return GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c); }
LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// What the parent window received from its children.
struct Received {
  struct Command {
    int id;
    WORD code;
    HWND from;
  };
  std::vector<Command> commands;
  struct ContextMenu {
    HWND from;
    POINT at;
  };
  std::vector<ContextMenu> context_menus;

  int Count(WORD code, HWND from) const {
    int n = 0;
    for (const auto& c : commands) n += c.code == code && c.from == from;
    return n;
  }
};

LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
  }
  auto* received = reinterpret_cast<Received*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (received && message == WM_COMMAND) {
    received->commands.push_back(
        {LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)});
    return 0;
  }
  if (received && message == WM_CONTEXTMENU) {
    received->context_menus.push_back({reinterpret_cast<HWND>(wparam),
                                       POINT{short(LOWORD(lparam)), short(HIWORD(lparam))}});
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

POINT ClientSize(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return POINT{r.right, r.bottom};
}

// A 32-bit top-down canvas whose pixels the test reads back directly.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<DWORD*>(bits);
    old_ = SelectObject(dc_.get(), bitmap_.get());
    Fill(kSentinel);
  }
  // `button` painted through WM_PRINTCLIENT, on a canvas larger than it by `extra`.
  explicit Canvas(HWND button, int extra = 0)
      : Canvas(ClientSize(button).x + extra, ClientSize(button).y + extra) {
    SendMessageW(button, WM_PRINTCLIENT, WPARAM(dc()), PRF_CLIENT);
  }
  ~Canvas() { SelectObject(dc_.get(), old_); }
  HDC dc() const { return dc_.get(); }
  void Fill(COLORREF c) {
    UniqueBrush brush(CreateSolidBrush(c));
    RECT r{0, 0, width_, height_};
    FillRect(dc_.get(), &r, brush.get());
  }
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const DWORD p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // The smallest rectangle holding every pixel for which `match` holds; empty when none does.
  RECT Bounds(const std::function<bool(COLORREF)>& match, RECT within) const {
    RECT box{within.right, within.bottom, within.left, within.top};
    for (int y = within.top; y < within.bottom; ++y) {
      for (int x = within.left; x < within.right; ++x) {
        if (!match(Pixel(x, y))) continue;
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
    return box;
  }

 private:
  int width_, height_;
  UniqueBitmap bitmap_;
  MemoryDC dc_;
  HGDIOBJ old_ = nullptr;
  DWORD* bits_ = nullptr;
};

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

enum class GlyphKind { Dib24, Dib32, Dib8, Compatible };

// A glyph of the given kind whose pixel (x, y) (top row first) is colour(x, y).
UniqueBitmap MakeGlyph(GlyphKind kind, int width, int height,
                       const std::function<COLORREF(int, int)>& colour) {
  WindowDC screen(nullptr);
  UniqueBitmap glyph;
  if (kind == GlyphKind::Compatible) {
    glyph.reset(CreateCompatibleBitmap(screen.get(), width, height));
  } else {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[256];
    } format{};
    const WORD depth = kind == GlyphKind::Dib24 ? 24 : kind == GlyphKind::Dib32 ? 32 : 8;
    format.header = {sizeof(BITMAPINFOHEADER), width, height, 1, depth, BI_RGB, 0, 0, 0, 0, 0};
    if (depth == 8) {
      const COLORREF palette[] = {RGB(0, 0, 0), kMagenta, kRed, kGreen, kBlue, kYellow};
      format.header.biClrUsed = 6;
      for (int i = 0; i < 6; ++i) {
        const COLORREF p = palette[i];
        format.colours[i] = {GetBValue(p), GetGValue(p), GetRValue(p), 0};
      }
    }
    void* bits = nullptr;
    glyph.reset(CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&format),
                                 DIB_RGB_COLORS, &bits, nullptr, 0));
  }
  MemoryDC dc(screen.get());
  {
    SelectGuard select(dc.get(), glyph.get());
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) SetPixelV(dc.get(), x, y, colour(x, y));
    }
  }
  GdiFlush();
  return glyph;
}

// A strip of `count` images `size` pixels square, image k filled with colours[k]; the strip's
// bottom-left pixel alone is magenta, so that magenta is the transparent colour.
UniqueBitmap MakeStrip(const std::vector<COLORREF>& colours, int size) {
  const int count = int(colours.size());
  return MakeGlyph(GlyphKind::Dib24, size * count, size, [&](int x, int y) {
    return x == 0 && y == size - 1 ? kMagenta : colours[x / size];
  });
}

class SpeedButtonTest : public ::testing::Test {
 protected:
  SpeedButtonTest() {
    static const ATOM registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = ParentProcedure;
      wc.hInstance = ModuleInstance();
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"QuendaSpeedButtonTestParent";
      return RegisterClassExW(&wc);
    }();
    EXPECT_NE(registered, 0);
    parent_ = MakeParent(&received_);
  }
  ~SpeedButtonTest() override {
    for (HWND p : parents_) DestroyWindow(p);
  }

  // Hidden, and shown without activation where a test needs the screen: under Wine without a
  // window manager, activating a window and destroying it costs two seconds each time.
  HWND MakeParent(Received* received) {
    HWND p = CreateWindowExW(WS_EX_TOOLWINDOW, L"QuendaSpeedButtonTestParent", L"parent",
                             WS_POPUP, 10, 10, 300, 200, nullptr, nullptr,
                             ModuleInstance(), received);
    EXPECT_NE(p, nullptr);
    parents_.push_back(p);
    return p;
  }

  HWND Make(int id, const std::wstring& caption = L"", const SpeedButtonOptions& options = {},
            int x = 0, int y = 0, int width = 40, int height = 30, HWND parent = nullptr) {
    HWND b = SpeedButton::Create(parent ? parent : parent_, id, x, y, width, height, caption,
                                 options, /*tag=*/id * 10);
    EXPECT_NE(b, nullptr);
    EXPECT_NE(SpeedButton::From(b), nullptr);
    return b;
  }

  static void Click(HWND b, int x = 5, int y = 5) { testing::Click(b, x, y); }

  Received received_;
  HWND parent_ = nullptr;
  std::vector<HWND> parents_;
};

TEST_F(SpeedButtonTest, ClicksOnlyWhenPressedAndReleasedOverTheButton) {
  HWND b = Make(7);
  HWND other = Make(8, L"", {}, 50, 0);

  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(GetCapture(), b) << "the button holds the mouse while pressed";
  EXPECT_EQ(received_.Count(BN_CLICKED, b), 0) << "no click before the release";
  SendMessageW(b, WM_LBUTTONUP, 0, At(39, 29));
  EXPECT_NE(GetCapture(), b);
  ASSERT_EQ(received_.Count(BN_CLICKED, b), 1);
  const auto& click = received_.commands.back();
  EXPECT_EQ(click.id, 7);
  EXPECT_EQ(click.from, b);

  // Releases outside the button, on either side and over a neighbour: no click.
  const POINT outside[] = {{40, 5}, {-1, 5}, {5, 30}, {5, -1}, {55, 5}, {-300, -300}};
  for (POINT at : outside) {
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, At(at.x, at.y));
    SendMessageW(b, WM_LBUTTONUP, 0, At(at.x, at.y));
    EXPECT_EQ(received_.Count(BN_CLICKED, b), 1) << at.x << "," << at.y;
    EXPECT_NE(GetCapture(), b);
  }
  // Dragged out and back in, the release clicks.
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, At(80, 5));
  SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, At(6, 6));
  SendMessageW(b, WM_LBUTTONUP, 0, At(6, 6));
  EXPECT_EQ(received_.Count(BN_CLICKED, b), 2);

  // A release without a press on this button is no click.
  SendMessageW(b, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(received_.Count(BN_CLICKED, b), 2);

  // Another window taking the mouse cancels the press.
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SetCapture(parent_);
  ReleaseCapture();
  SendMessageW(b, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(received_.Count(BN_CLICKED, b), 2);

  EXPECT_EQ(received_.Count(BN_CLICKED, other), 0);
}

TEST_F(SpeedButtonTest, KeepsExactlyOneButtonOfAGroupDown) {
  SpeedButtonOptions group1;
  group1.group = 1;
  SpeedButtonOptions group2;
  group2.group = 2;
  HWND a = Make(1, L"", group1, 0, 0);
  HWND b = Make(2, L"", group1, 40, 0);
  HWND c = Make(3, L"", group1, 80, 0);
  HWND other_group = Make(4, L"", group2, 120, 0);
  HWND ungrouped = Make(5, L"", {}, 160, 0);
  Received elsewhere_received;
  HWND elsewhere = Make(6, L"", group1, 0, 0, 40, 30, MakeParent(&elsewhere_received));
  SpeedButton::From(other_group)->SetDown(true);
  SpeedButton::From(elsewhere)->SetDown(true);

  auto down = [](HWND h) { return SpeedButton::From(h)->Down(); };
  struct Step {
    HWND click;
    bool a, b, c;
  };
  const Step steps[] = {
      {a, true, false, false},
      {b, false, true, false},
      {b, false, true, false},  // the one that is down stays down
      {c, false, false, true},
      {a, true, false, false},
      {a, true, false, false},
  };
  int clicks = 0;
  for (const Step& s : steps) {
    Click(s.click);
    ++clicks;
    EXPECT_EQ(down(a), s.a);
    EXPECT_EQ(down(b), s.b);
    EXPECT_EQ(down(c), s.c);
    EXPECT_EQ(int(received_.commands.size()), clicks) << "every click notifies, also repeated";
    EXPECT_EQ(received_.commands.back().code, BN_CLICKED);
    EXPECT_EQ(received_.commands.back().from, s.click);
  }
  // Other groups and other parents' buttons of the same group number are left alone.
  EXPECT_TRUE(down(other_group));
  EXPECT_TRUE(down(elsewhere));

  // Putting one down from code raises the others too.
  SpeedButton::From(c)->SetDown(true);
  EXPECT_FALSE(down(a));
  EXPECT_TRUE(down(c));
  EXPECT_TRUE(down(other_group));

  // A button outside any group clicks without staying down.
  Click(ungrouped);
  EXPECT_FALSE(down(ungrouped));
  EXPECT_EQ(received_.Count(BN_CLICKED, ungrouped), 1);
  EXPECT_TRUE(down(c));
}

// To accessibility clients a push button, named by its caption or by what its owner gives;
// its default action is a click, run from the message loop after the client's call.
TEST_F(SpeedButtonTest, IsAPushButtonToAccessibilityClientsWhoseDefaultActionClicks) {
  SpeedButtonOptions grouped;
  grouped.group = 1;
  HWND plain = Make(1, L"ｷｬﾝｾﾙ", grouped);
  HWND given = Make(2, L"", grouped, 40, 0);
  SpeedButton::From(given)->SetAccessibleText(
      [] { return SpeedButton::AccessibleText{L"D1", L"the first page", true}; });
  SpeedButton::From(given)->SetFocusMark(true);
  SpeedButton::From(given)->SetDown(true);
  HWND hidden = Make(3, L"F1", {}, 80, 0);
  SpeedButton::From(hidden)->SetAccessibleText(
      [] { return SpeedButton::AccessibleText{L"F1", L"", true}; });
  ShowWindow(hidden, SW_HIDE);
  testing::AccessiblePtr plain_object = testing::AccessibleOf(plain);
  testing::AccessiblePtr given_object = testing::AccessibleOf(given);
  testing::AccessiblePtr hidden_object = testing::AccessibleOf(hidden);
  ASSERT_TRUE(plain_object && given_object && hidden_object);
  constexpr DWORD kStates = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PRESSED |
                            STATE_SYSTEM_UNAVAILABLE;
  struct Row {
    IAccessible* object;
    const wchar_t* name;
    const wchar_t* description;
    DWORD state;
  };
  const Row rows[] = {
      {plain_object.get(), L"ｷｬﾝｾﾙ", L"", 0},
      // The parent is in the background: the mark is no focus.
      {given_object.get(), L"D1", L"the first page",
       STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_PRESSED},
      {hidden_object.get(), L"F1", L"", 0},  // not reachable while hidden
  };
  for (const Row& row : rows) {
    const testing::AccessibleReading read = testing::Read(row.object);
    EXPECT_EQ(read.name, row.name);
    EXPECT_EQ(read.description, row.description) << row.name;
    EXPECT_EQ(read.role, ROLE_SYSTEM_PUSHBUTTON) << row.name;
    EXPECT_EQ(read.state & kStates, row.state) << row.name;
    EXPECT_EQ(read.default_action, L"押す") << row.name;
  }

  EXPECT_EQ(plain_object->accDoDefaultAction(testing::Self()), S_OK);
  EXPECT_EQ(received_.Count(BN_CLICKED, plain), 0);
  testing::PumpMessages();
  EXPECT_EQ(received_.Count(BN_CLICKED, plain), 1);
  EXPECT_TRUE(SpeedButton::From(plain)->Down());
  EXPECT_EQ(testing::Read(given_object.get()).state & kStates, DWORD(STATE_SYSTEM_FOCUSABLE));

  EnableWindow(plain, FALSE);
  EXPECT_EQ(testing::Read(plain_object.get()).state & kStates,
            DWORD(STATE_SYSTEM_PRESSED | STATE_SYSTEM_UNAVAILABLE));
  EXPECT_NE(plain_object->accDoDefaultAction(testing::Self()), S_OK);
  testing::PumpMessages();
  EXPECT_EQ(received_.Count(BN_CLICKED, plain), 1);

  // A client holding the object of a button that has gone reads nothing.
  DestroyWindow(given);
  BSTR name = nullptr;
  EXPECT_TRUE(FAILED(given_object->get_accName(testing::Self(), &name)));
  EXPECT_EQ(name, nullptr);
}

TEST_F(SpeedButtonTest, ReportsEveryMouseMoveAndLeavesTheRightButtonToTheParentChain) {
  HWND a = Make(11);
  HWND b = Make(12, L"", {}, 40, 0);
  SendMessageW(a, WM_MOUSEMOVE, 0, At(1, 1));
  SendMessageW(a, WM_MOUSEMOVE, 0, At(2, 1));
  SendMessageW(b, WM_MOUSEMOVE, 0, At(3, 3));
  SendMessageW(a, WM_MOUSEMOVE, 0, At(2, 2));
  ASSERT_EQ(received_.commands.size(), 4u);
  const HWND order[] = {a, a, b, a};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(received_.commands[i].code, kSpeedButtonMouseMove);
    EXPECT_EQ(received_.commands[i].from, order[i]);
    EXPECT_EQ(received_.commands[i].id, order[i] == a ? 11 : 12);
  }

  received_.commands.clear();
  SendMessageW(b, WM_RBUTTONDOWN, MK_RBUTTON, At(4, 6));
  SendMessageW(b, WM_RBUTTONUP, 0, At(4, 6));
  ASSERT_EQ(received_.context_menus.size(), 1u);
  EXPECT_EQ(received_.context_menus[0].from, b);
  POINT screen{4, 6};
  ClientToScreen(b, &screen);
  EXPECT_EQ(received_.context_menus[0].at.x, screen.x);
  EXPECT_EQ(received_.context_menus[0].at.y, screen.y);
  EXPECT_EQ(received_.Count(BN_CLICKED, b), 0);
}

TEST_F(SpeedButtonTest, IsAWindowOfItsOwnClassWithItsCaptionAsText) {
  HWND b = SpeedButton::Create(parent_, 21, 0, 0, 60, 20, L"ｱｸｾｽ &File", {}, 42);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(GetText(b), L"ｱｸｾｽ &File");
  wchar_t name[64];
  GetClassNameW(b, name, 64);
  EXPECT_STREQ(name, L"QuendaSpeedButton");
  EXPECT_EQ(GetDlgCtrlID(b), 21);
  EXPECT_EQ(GetParent(b), parent_);
  EXPECT_TRUE(GetWindowLongPtrW(b, GWL_STYLE) & WS_CHILD);
  ASSERT_NE(SpeedButton::From(b), nullptr);
  EXPECT_EQ(SpeedButton::From(b)->Tag(), 42);
  EXPECT_EQ(SpeedButton::From(b)->hwnd(), b);

  SetWindowTextW(b, L"Quenda");
  EXPECT_EQ(GetText(b), L"Quenda");

  UniqueFont font = CreateUiFont(12);
  SendMessageW(b, WM_SETFONT, WPARAM(font.get()), TRUE);
  EXPECT_EQ(HFONT(SendMessageW(b, WM_GETFONT, 0, 0)), font.get());

  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 40, 50, 20, parent_, nullptr,
                              ModuleInstance(), nullptr);
  EXPECT_EQ(SpeedButton::From(edit), nullptr);
  EXPECT_EQ(SpeedButton::From(parent_), nullptr);
  EXPECT_EQ(SpeedButton::From(nullptr), nullptr);
  DestroyWindow(b);
  EXPECT_EQ(SpeedButton::From(b), nullptr);
}

TEST_F(SpeedButtonTest, FreesEveryGlyphItIsGivenOrDestroyedWith) {
  HWND b = Make(31, L"", {}, 0, 0, 40, 40);
  Canvas{b};  // the first paint makes the thread's paint buffer, which lives on
  const long before = LiveHandles();
  SpeedButton* button = SpeedButton::From(b);
  auto solid = [](COLORREF c) {
    return MakeGlyph(GlyphKind::Dib24, 32, 32, [c](int x, int y) {
      return x == 0 && y == 31 ? kMagenta : c;
    });
  };

  button->SetGlyph(solid(kRed));
  EXPECT_GT(LiveHandles(), before);
  button->ClearGlyph();
  EXPECT_EQ(LiveHandles(), before);
  button->ClearGlyph();
  EXPECT_EQ(LiveHandles(), before);

  UniqueBitmap red = solid(kRed), blue = solid(kBlue);
  for (int i = 0; i < 20; ++i) {
    // Copies, as a caller's slot icons would be, alternating so that a stale one shows.
    HANDLE original = i % 2 ? blue.get() : red.get();
    UniqueBitmap copy(HBITMAP(CopyImage(original, IMAGE_BITMAP, 0, 0, 0)));
    ASSERT_TRUE(copy) << i;
    const HBITMAP given = copy.get();
    button->SetGlyph(std::move(copy));
    ASSERT_EQ(GetObjectType(given), 0u) << "the given bitmap is the button's to free, at once";
  }
  // A bitmap kept is caught in the first round by the check above and the exact count below.
  EXPECT_EQ(Canvas(b).Pixel(20, 20), kBlue);
  button->SetGlyph(UniqueBitmap());
  EXPECT_EQ(Canvas(b).Pixel(20, 20), Face()) << "an empty glyph clears";
  red.reset();
  blue.reset();
  EXPECT_EQ(LiveHandles(), before);

  SpeedButton::From(b)->SetGlyph(solid(kGreen));
  DestroyWindow(b);
  EXPECT_EQ(LiveHandles(), before) << "the glyph goes with the window";
}

TEST_F(SpeedButtonTest, ShowsTheFaceWhereTheGlyphHasItsBottomLeftColour) {
  struct Case {
    GlyphKind kind;
    COLORREF transparent, inner, corner;
  };
  const Case cases[] = {
      {GlyphKind::Dib24, kMagenta, kRed, kGreen},
      {GlyphKind::Dib32, kBlue, kMagenta, kYellow},  // magenta is no colour of its own
      {GlyphKind::Dib8, kMagenta, kBlue, kRed},
      {GlyphKind::Compatible, kGreen, kRed, kMagenta},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.kind));
    HWND b = Make(41);
    // 20 x 20: the transparent colour around a 10 x 10 inner square, a 2 x 2 corner top left.
    auto colour = [&](int x, int y) {
      if (x < 2 && y < 2) return c.corner;
      if (x >= 5 && x < 15 && y >= 5 && y < 15) return c.inner;
      return c.transparent;
    };
    SpeedButton::From(b)->SetGlyph(MakeGlyph(c.kind, 20, 20, colour));
    const Canvas canvas(b);
    const int left = (40 - 20) / 2, top = (30 - 20) / 2;  // centred
    int mismatches = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        const COLORREF want = colour(x, y) == c.transparent ? Face() : colour(x, y);
        mismatches += canvas.Pixel(left + x, top + y) != want;
      }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(canvas.Pixel(left - 1, top + 10), Face());
    EXPECT_EQ(canvas.Pixel(left + 20, top + 10), Face());
    DestroyWindow(b);
  }
}

TEST_F(SpeedButtonTest, ChoosesTheImageOfTheStripByState) {
  const std::vector<COLORREF> strip = {kRed, kGreen, kBlue, kYellow};
  struct Case {
    const char* name;
    int num_glyphs;
    std::function<void(HWND)> state;
    COLORREF shown;
    int shift;  // content moves right and down while sunken
  };
  const Case cases[] = {
      {"up", 4, [](HWND) {}, kRed, 0},
      {"down", 4, [](HWND b) { SpeedButton::From(b)->SetDown(true); }, kYellow, 1},
      {"disabled", 4, [](HWND b) { EnableWindow(b, FALSE); }, kGreen, 0},
      {"pressed", 4, [](HWND b) { SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5)); },
       kBlue, 1},
      {"pressed, dragged off", 4,
       [](HWND b) {
         SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
         SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, At(50, 5));
       },
       kRed, 0},
      {"down, two images", 2, [](HWND b) { SpeedButton::From(b)->SetDown(true); }, kRed, 1},
      {"disabled, one image", 1, [](HWND b) { EnableWindow(b, FALSE); }, kRed, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpeedButtonOptions options;
    options.group = 1;
    options.num_glyphs = c.num_glyphs;
    // With fewer images than the strip holds, each image is the strip's width over their number.
    std::vector<COLORREF> colours(strip.begin(), strip.begin() + c.num_glyphs);
    HWND b = Make(51, L"", options, 0, 0, 30, 20);
    SpeedButton::From(b)->SetGlyph(MakeStrip(colours, 10));
    c.state(b);
    const Canvas canvas(b);
    SendMessageW(b, WM_LBUTTONUP, 0, At(50, 5));
    const RECT box = canvas.Bounds([&](COLORREF p) { return p == c.shown; }, RECT{0, 0, 30, 20});
    EXPECT_EQ(box.left, 10 + c.shift);
    EXPECT_EQ(box.top, 5 + c.shift);
    EXPECT_EQ(box.right, 20 + c.shift);
    EXPECT_EQ(box.bottom, 15 + c.shift);
    for (COLORREF other : strip) {
      if (other == c.shown) continue;
      const auto is_other = [&](COLORREF p) { return p == other; };
      EXPECT_TRUE(Empty(canvas.Bounds(is_other, RECT{0, 0, 30, 20})));
    }
    DestroyWindow(b);
  }
}

TEST_F(SpeedButtonTest, ClipsAGlyphLargerThanTheButtonToIt) {
  // As the page bank's: 34 x 18 images on 32 x 16 buttons.
  SpeedButtonOptions options;
  options.flat = true;
  options.num_glyphs = 4;
  HWND b = Make(61, L"", options, 0, 0, 32, 16);
  SpeedButton::From(b)->SetGlyph(MakeGlyph(GlyphKind::Dib24, 138, 18, [](int x, int y) {
    return x == 0 && y == 17 ? kMagenta : x < 34 ? kGreen : kRed;
  }));
  const Canvas canvas(b, /*extra=*/16);
  EXPECT_EQ(canvas.Pixel(0, 0), kGreen);
  EXPECT_EQ(canvas.Pixel(31, 15), kGreen);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(canvas.Pixel(32 + i, i), kSentinel) << "nothing drawn right of the button";
    EXPECT_EQ(canvas.Pixel(i, 16 + i % 16), kSentinel) << "nothing drawn below the button";
  }
}

TEST_F(SpeedButtonTest, DrawsItsGlyphAtAWholeMultipleOfItsPixelsCentred) {
  // One-pixel checks, a green top row and a transparent corner: any blending, shift or
  // mirroring shows.
  auto colour = [](int x, int y) -> COLORREF {
    if (x < 4 && y >= 28) return kMagenta;
    if (y == 0) return kGreen;
    return (x + y) % 2 ? kRed : kBlue;
  };
  // A slot button's cell (70 x 40 at 96 DPI) and its 32 x 32 icon.
  const struct {
    int dpi, factor;
  } cases[] = {{96, 1}, {144, 1}, {192, 2}, {288, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    const int width = MulDiv(70, c.dpi, 96), height = MulDiv(40, c.dpi, 96);
    HWND b = Make(70, L"", {}, 0, 0, width, height);
    SpeedButton::From(b)->SetDpi(Dpi(c.dpi));
    SpeedButton::From(b)->SetGlyph(MakeGlyph(GlyphKind::Dib24, 32, 32, colour));
    const Canvas canvas(b);
    const int size = 32 * c.factor;
    const int left = (width - size) / 2, top = (height - size) / 2;
    int wrong = 0;
    for (int y = -1; y <= size; ++y) {
      for (int x = -1; x <= size; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < size && y < size;
        COLORREF expected = inside ? colour(x / c.factor, y / c.factor) : Face();
        if (expected == kMagenta) expected = Face();
        wrong += canvas.Pixel(left + x, top + y) != expected;
      }
    }
    EXPECT_EQ(wrong, 0) << "pixels off the glyph scaled " << c.factor << " times";
    DestroyWindow(b);
  }

  // A strip: the image for the button's state and none of its neighbours, twice its size.
  SpeedButtonOptions options;
  options.flat = true;
  options.group = 1;
  options.num_glyphs = 4;
  HWND b = Make(71, L"", options, 0, 0, 64, 32);
  SpeedButton::From(b)->SetDpi(Dpi(192));
  SpeedButton::From(b)->SetGlyph(MakeStrip({kRed, kGreen, kBlue, kYellow}, 10));
  SpeedButton::From(b)->SetDown(true);
  const Canvas canvas(b);
  const RECT all{0, 0, 64, 32};
  const RECT down = canvas.Bounds([](COLORREF p) { return p == kYellow; }, all);
  // Centred, and one pixel right and down as a sunken button's content is.
  EXPECT_EQ(down.left, 23);
  EXPECT_EQ(down.top, 7);
  EXPECT_EQ(down.right, 43);
  EXPECT_EQ(down.bottom, 27);
  EXPECT_TRUE(Empty(canvas.Bounds(
      [](COLORREF p) { return p == kRed || p == kGreen || p == kBlue; }, all)));
}

TEST_F(SpeedButtonTest, DrawsRaisedSunkenOrFlatEdges) {
  enum Look { Raised, Sunken, None };
  struct Case {
    const char* name;
    bool flat;
    std::function<void(HWND)> state;
    Look look;
  };
  const Case cases[] = {
      {"up", false, [](HWND) {}, Raised},
      {"down", false, [](HWND b) { SpeedButton::From(b)->SetDown(true); }, Sunken},
      {"pressed", false, [](HWND b) { SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5)); },
       Sunken},
      {"flat", true, [](HWND) {}, None},
      {"flat, mouse over", true, [](HWND b) { SendMessageW(b, WM_MOUSEMOVE, 0, At(5, 5)); },
       Raised},
      {"flat, mouse gone", true,
       [](HWND b) {
         SendMessageW(b, WM_MOUSEMOVE, 0, At(5, 5));
         SendMessageW(b, WM_MOUSELEAVE, 0, 0);
       },
       None},
      {"flat, down", true, [](HWND b) { SpeedButton::From(b)->SetDown(true); }, Sunken},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpeedButtonOptions options;
    options.flat = c.flat;
    options.group = 1;
    HWND b = Make(71, L"", options);
    c.state(b);
    const Canvas canvas(b);
    SendMessageW(b, WM_LBUTTONUP, 0, At(50, 5));
    const COLORREF top_left = canvas.Pixel(0, 0), bottom_right = canvas.Pixel(39, 29);
    switch (c.look) {
      case Raised:
        EXPECT_GT(Luminance(top_left), Luminance(bottom_right));
        break;
      case Sunken:
        EXPECT_LT(Luminance(top_left), Luminance(bottom_right));
        break;
      case None:
        EXPECT_EQ(top_left, Face());
        EXPECT_EQ(bottom_right, Face());
        break;
    }
    EXPECT_EQ(canvas.Pixel(20, 15), Face());
    DestroyWindow(b);
  }
}

TEST_F(SpeedButtonTest, DrawsTheCaptionCentredInItsFontAndColour) {
  UniqueFont small = CreateUiFont(10), large = CreateUiFont(24);
  SpeedButtonOptions options;
  options.text_colour = kRed;
  HWND b = Make(81, L"Quenda", options, 0, 0, 160, 50);
  const RECT inside{3, 3, 157, 47};
  auto ink = [](COLORREF p) { return p != Face(); };
  auto reddish = [](COLORREF p) { return GetRValue(p) > 200 && GetGValue(p) < 80; };

  SendMessageW(b, WM_SETFONT, WPARAM(small.get()), FALSE);
  const RECT small_box = Canvas(b).Bounds(ink, inside);
  ASSERT_FALSE(Empty(small_box));
  EXPECT_NEAR(small_box.left + small_box.right, 160, 3) << "centred across";
  EXPECT_NEAR(small_box.top + small_box.bottom, 50, 4) << "centred down";
  EXPECT_FALSE(Empty(Canvas(b).Bounds(reddish, inside))) << "in the text colour";

  SendMessageW(b, WM_SETFONT, WPARAM(large.get()), FALSE);
  const RECT large_box = Canvas(b).Bounds(ink, inside);
  EXPECT_GT(large_box.bottom - large_box.top, small_box.bottom - small_box.top + 5);
  EXPECT_GT(large_box.right - large_box.left, small_box.right - small_box.left + 10);

  SpeedButton::From(b)->SetDown(true);
  RECT down_box = Canvas(b).Bounds(ink, inside);
  EXPECT_EQ(down_box.left, large_box.left + 1);
  EXPECT_EQ(down_box.top, large_box.top + 1);
  SpeedButton::From(b)->SetDown(false);

  EnableWindow(b, FALSE);
  const Canvas disabled(b);
  EXPECT_FALSE(Empty(disabled.Bounds(ink, inside)));
  EXPECT_TRUE(Empty(disabled.Bounds(reddish, inside))) << "grey when disabled";
  EnableWindow(b, TRUE);

  // "&" is shown, not taken as an accelerator prefix: "&&" must come out wider than "&".
  SetWindowTextW(b, L"&");
  const RECT one = Canvas(b).Bounds(ink, inside);
  SetWindowTextW(b, L"&&");
  const RECT two = Canvas(b).Bounds(ink, inside);
  ASSERT_FALSE(Empty(one));
  EXPECT_GT(two.right - two.left, one.right - one.left);

  SetWindowTextW(b, L"");
  EXPECT_TRUE(Empty(Canvas(b).Bounds(ink, inside))) << "no caption, nothing drawn";
}

TEST_F(SpeedButtonTest, RepaintsOnScreenWithoutErasing) {
  HWND b = Make(91, L"", {}, 20, 20, 40, 30);
  SpeedButton::From(b)->SetGlyph(MakeGlyph(GlyphKind::Dib24, 16, 16, [](int x, int y) {
    return x == 0 && y == 15 ? kMagenta : kBlue;
  }));
  ShowWindow(parent_, SW_SHOWNOACTIVATE);
  UpdateWindow(parent_);

  // WM_PAINT reaches the screen.
  auto on_screen = [&] {
    WindowDC dc(b);
    return GetPixel(dc.get(), 20, 15);
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  while (on_screen() != kBlue && std::chrono::steady_clock::now() < deadline) {
    RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Sleep(10);
  }
  EXPECT_EQ(on_screen(), kBlue);

  // Changing the caption, the font or the state asks for a repaint.
  UniqueFont font = CreateUiFont(12);
  ValidateRect(b, nullptr);
  SendMessageW(b, WM_SETFONT, WPARAM(font.get()), TRUE);
  EXPECT_TRUE(GetUpdateRect(b, nullptr, FALSE));
  ValidateRect(b, nullptr);
  SetWindowTextW(b, L"x");
  EXPECT_TRUE(GetUpdateRect(b, nullptr, FALSE));
  ValidateRect(b, nullptr);
  SpeedButton::From(b)->SetDown(true);
  EXPECT_TRUE(GetUpdateRect(b, nullptr, FALSE));

  // Erasing leaves the surface alone: painting covers all of it.
  Canvas canvas(40, 30);
  EXPECT_NE(SendMessageW(b, WM_ERASEBKGND, WPARAM(canvas.dc()), 0), 0);
  EXPECT_EQ(canvas.Pixel(20, 15), kSentinel);
}

// A control on the window base that owns itself, as the speed button does: it counts its paints
// and notes its deletion.
class Probe : public Window {
 public:
  static HWND Make(HWND parent, int* paints, bool* deleted) {
    RegisterClassOnce(L"QuendaProbe", 0, nullptr, nullptr);
    return CreateOwned(std::make_unique<Probe>(paints, deleted), L"QuendaProbe", L"", WS_VISIBLE,
                       0, RECT{0, 0, 20, 20}, parent, 1);
  }
  Probe(int* paints, bool* deleted) : paints_(paints), deleted_(deleted) {}
  ~Probe() override { *deleted_ = true; }

 protected:
  void Paint(HDC dc) override {
    ++*paints_;
    UniqueBrush green(CreateSolidBrush(kGreen));
    RECT r{0, 0, 20, 20};
    FillRect(dc, &r, green.get());
  }

 private:
  int* paints_;
  bool* deleted_;
};

TEST_F(SpeedButtonTest, TheWindowBasePaintsThroughOneFunctionAndDeletesAControlOwningItself) {
  int paints = 0;
  bool deleted = false;
  const HWND probe = Probe::Make(parent_, &paints, &deleted);
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(Canvas(probe).Pixel(10, 10), kGreen) << "WM_PRINTCLIENT";
  ShowWindow(parent_, SW_SHOWNOACTIVATE);
  const int printed = paints;
  RedrawWindow(probe, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(paints, printed) << "WM_PAINT";
  EXPECT_FALSE(GetUpdateRect(probe, nullptr, FALSE)) << "the paint validated the window";
  DestroyWindow(probe);
  EXPECT_TRUE(deleted);

  bool never_made = false;
  EXPECT_EQ(Probe::Make(HWND(INT_PTR(0x7FFF0)), &paints, &never_made), nullptr);
  EXPECT_TRUE(never_made) << "a control whose window cannot be made is deleted at once";
}

}  // namespace
}  // namespace quenda::win
