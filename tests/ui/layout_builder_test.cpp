// Layouts at 96, 144 and 192 DPI: built from the published tables into a plain window, and laid
// out anew by each of Quenda's windows when it is told that its DPI changed. The expected places
// are the tables' 96-DPI numbers times the scale, with a pixel of rounding either way.
#include "ui/layout_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "app/forms.h"
#include "platform/table_storage_win.h"
#include "resources/folder_chooser_layout.h"
#include "resources/help_dialog_layout.h"
#include "resources/icon_picker_layout.h"
#include "resources/main_window_layout.h"
#include "resources/program_editor_layout.h"
#include "resources/url_editor_layout.h"
#include "support/win_test_support.h"
#include "ui/font.h"
#include "ui/speed_button.h"

namespace quenda {
namespace {

constexpr int kDpis[] = {96, 144, 192};

struct NamedLayout {
  const char* name;
  std::span<const LayoutRow> layout;
};
const NamedLayout kLayouts[] = {
    {"main window", MainWindowLayout()},    {"program editor", ProgramEditorLayout()},
    {"URL editor", UrlEditorLayout()},     {"help", HelpDialogLayout()},
    {"icon picker", IconPickerLayout()}, {"folder chooser", FolderChooserLayout()},
};

RECT RectInParent(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return SIZE{r.right, r.bottom};
}

int FontHeight(HWND control) {
  LOGFONTW lf{};
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return 0;
  return std::abs(lf.lfHeight);
}

SIZE TextExtent(HWND control) {
  const std::wstring text = win::GetText(control);
  win::WindowDC dc(control);
  win::SelectGuard select(dc.get(),
                         reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), int(text.size()), &size);
  return size;
}

// The controls of `layout` that lie wholly inside their parent's client area now.
std::set<int> Fitting(std::span<const LayoutRow> layout, const win::ControlMap& controls) {
  std::set<int> fitting;
  for (const LayoutRow& c : layout) {
    const auto found = controls.find(c.id);
    if (found == controls.end()) continue;
    const RECT r = RectInParent(found->second);
    const SIZE parent = ClientSize(GetParent(found->second));
    if (r.left >= 0 && r.top >= 0 && r.right <= parent.cx && r.bottom <= parent.cy) {
      fitting.insert(c.id);
    }
  }
  return fitting;
}

// Each control of `layout` against the layout scaled to `dpi`: its place, its size unless the
// table leaves it to the text or the window, its font; a label sized to its text holds it, and
// a control that fitted its parent at 96 DPI still does. `placed_by_window`: controls the window
// places itself.
void ExpectScaled(std::span<const LayoutRow> layout, const win::ControlMap& controls, int dpi,
                  const std::set<int>& fitting_at_96, const std::set<int>& placed_by_window = {}) {
  const double s = dpi / 96.0;
  for (const LayoutRow& c : layout) {
    SCOPED_TRACE(::testing::Message() << "control " << c.id << " at " << dpi << " DPI");
    const auto found = controls.find(c.id);
    if (found == controls.end()) {
      EXPECT_EQ(c.kind, ControlKind::Custom) << "every control but a custom one is built";
      continue;
    }
    const HWND hwnd = found->second;
    EXPECT_EQ(GetParent(hwnd), controls.at(c.parent));
    if (placed_by_window.count(c.id)) continue;
    const RECT r = RectInParent(hwnd);
    EXPECT_NEAR(r.left, c.x * s, 1);
    EXPECT_NEAR(r.top, c.y * s, 1);
    if (c.width > 0 && c.height > 0) {
      EXPECT_NEAR(r.right, (c.x + c.width) * s, 1);
      EXPECT_NEAR(r.bottom, (c.y + c.height) * s, 1);
    }
    if (c.kind != ControlKind::Custom && c.kind != ControlKind::Image) {
      EXPECT_NEAR(FontHeight(hwnd), c.font_height * s, 1);
    }
    if (c.kind == ControlKind::Label && c.width == 0 && c.height == 0) {
      const SIZE text = TextExtent(hwnd), client = ClientSize(hwnd);
      EXPECT_GT(text.cx, 0);
      EXPECT_GE(client.cx, text.cx) << "the label clips its text";
      EXPECT_GE(client.cy, text.cy) << "the label clips its text";
    }
    if (fitting_at_96.count(c.id)) {
      const SIZE parent = ClientSize(GetParent(hwnd));
      EXPECT_GE(r.left, 0);
      EXPECT_GE(r.top, 0);
      EXPECT_LE(r.right, parent.cx) << "reaches past its parent";
      EXPECT_LE(r.bottom, parent.cy) << "reaches past its parent";
    }
    if (const win::SpeedButton* button = win::SpeedButton::From(hwnd)) {
      EXPECT_EQ(button->GetDpi().value(), dpi) << "its glyph is drawn for another DPI";
    }
  }
}

LRESULT CALLBACK PlainProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// A hidden window with room for any layout at 192 DPI.
HWND MakePlainWindow() {
  static const ATOM registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PlainProcedure;
    wc.hInstance = win::ModuleInstance();
    wc.lpszClassName = L"QuendaLayoutTestWindow";
    return RegisterClassExW(&wc);
  }();
  EXPECT_NE(registered, 0);
  return CreateWindowExW(WS_EX_TOOLWINDOW, L"QuendaLayoutTestWindow", L"", WS_POPUP, 0, 0, 1260,
                         1000, nullptr, nullptr, win::ModuleInstance(), nullptr);
}

TEST(LayoutAtDpi, EveryLayoutIsBuiltAtItsScaledPlacesSizesAndFonts) {
  for (const NamedLayout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    std::set<int> fitting_at_96;
    for (int dpi : kDpis) {
      const HWND window = MakePlainWindow();
      ASSERT_NE(window, nullptr);
      const win::UniqueFont font = win::CreateUiFont(dpi * kUiFontHeight / 96);
      const win::ControlMap controls =
          win::BuildControls(window, l.layout, font.get(), win::Dpi(dpi));
      if (dpi == 96) fitting_at_96 = Fitting(l.layout, controls);
      ExpectScaled(l.layout, controls, dpi, fitting_at_96);
      DestroyWindow(window);
    }
  }
}

class WindowsAtDpi : public ::testing::Test {
 protected:
  ~WindowsAtDpi() override { testing::PumpMessages(); }

  testing::ScopedTempDir dir;
  testing::ScopedPrompts prompts;  // the missing table's message
  Win32TableStorage storage;
};

TEST_F(WindowsAtDpi, EveryWindowLaysItselfOutAnewWhenItsDpiChanges) {
  Forms forms;
  ASSERT_TRUE(forms.Create(dir.path().wstring(), storage, "TEST"));
  ASSERT_TRUE(forms.CreateDialogsNow());
  using namespace folder_ids;
  struct Subject {
    const char* name;
    win::LayoutWindow& window;
    std::span<const LayoutRow> layout;
    std::set<int> placed_by_window;
    SIZE client_at_96{};
    std::set<int> fitting_at_96;
  };
  Subject subjects[] = {
      {"main window", forms.main, MainWindowLayout(), {}, {}, {}},
      {"program editor", forms.program_editor, ProgramEditorLayout(), {}, {}, {}},
      {"URL editor", forms.url_editor, UrlEditorLayout(), {}, {}, {}},
      {"help", forms.help, HelpDialogLayout(), {}, {}, {}},
      {"icon picker", forms.icon_picker, IconPickerLayout(), {}, {}, {}},
      {"folder chooser", forms.folder, FolderChooserLayout(), {Tree, Bar, ButtonPanel}, {}, {}},
  };
  auto controls_of = [](const Subject& s) {
    win::ControlMap controls{{0, s.window.hwnd()}};
    for (const LayoutRow& c : s.layout) {
      if (HWND hwnd = s.window.Control(c.id)) controls[c.id] = hwnd;
    }
    return controls;
  };
  for (Subject& s : subjects) {
    ASSERT_EQ(s.window.dpi().value(), 96) << "the tests' prefix runs at 96 DPI";
    s.client_at_96 = ClientSize(s.window.hwnd());
    s.fitting_at_96 = Fitting(s.layout, controls_of(s));
  }
  EXPECT_EQ(subjects[0].client_at_96.cx, kMainWindowSize.width);
  EXPECT_EQ(subjects[0].client_at_96.cy, kMainWindowSize.height);

  long handles_after_first_round = 0;
  for (int round = 0; round < 2; ++round) {
    for (int dpi : {144, 192, 96}) {
      for (Subject& s : subjects) {
        SCOPED_TRACE(::testing::Message() << s.name << " at " << dpi << " DPI");
        const HWND hwnd = s.window.hwnd();
        const SIZE client{MulDiv(s.client_at_96.cx, dpi, 96), MulDiv(s.client_at_96.cy, dpi, 96)};
        testing::SendDpiChanged(hwnd, dpi, client);
        EXPECT_EQ(s.window.dpi().value(), dpi);
        const SIZE now = ClientSize(hwnd);
        EXPECT_EQ(now.cx, client.cx) << "the suggested rectangle is not taken";
        EXPECT_EQ(now.cy, client.cy) << "the suggested rectangle is not taken";
        ExpectScaled(s.layout, controls_of(s), dpi, s.fitting_at_96, s.placed_by_window);
      }
      const double s = dpi / 96.0;
      // Controls the windows place or make themselves.
      const HWND tree = forms.folder.Control(Tree), bar = forms.folder.Control(Bar),
                 right = forms.folder.Control(ButtonPanel);
      const SIZE folder = ClientSize(forms.folder.hwnd());
      const RECT bar_rect = RectInParent(bar), right_rect = RectInParent(right);
      EXPECT_NEAR(bar_rect.bottom - bar_rect.top, kBarHeight * s, 1);
      EXPECT_EQ(bar_rect.bottom, folder.cy);
      EXPECT_EQ(bar_rect.right - bar_rect.left, folder.cx);
      EXPECT_EQ(RectInParent(tree).bottom, bar_rect.top);
      EXPECT_NEAR(right_rect.right - right_rect.left, kButtonPanelWidth * s, 1);
      EXPECT_EQ(right_rect.right, folder.cx - 1);
      EXPECT_NEAR(FontHeight(tree), kUiFontHeight * s, 1);
      EXPECT_NEAR(SendMessageW(tree, TVM_GETINDENT, 0, 0), FolderChooser::kIndent * s, 1);
      EXPECT_NEAR(FontHeight(forms.help.Control(help_ids::Link)), 13 * s, 1);
      EXPECT_NEAR(FontHeight(forms.url_editor.Control(url_ids::KeyGroupFrame)), kUiFontHeight * s,
                  1);
    }
    // Each change frees the fonts of the one before: a second round holds no more handles.
    if (round == 0) handles_after_first_round = win::LiveHandles();
  }
  EXPECT_EQ(win::LiveHandles(), handles_after_first_round);
}

}  // namespace
}  // namespace quenda
