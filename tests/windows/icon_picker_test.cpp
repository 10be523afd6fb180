// The icon picker driven by real messages, on program files built beside the tests:
// test_icons5.dll holds icon k in colour kColour[k], test_icons14.dll icon (i + 1) mod 5 as
// its i-th; each icon has a black edge and k + 1 white dots.
#include "windows/icon_picker.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/cp932.h"
#include "platform/icon_bitmap.h"
#include "resources/icon_picker_layout.h"
#include "support/win_test_support.h"
#include "windows/modal_probe.h"

namespace quenda {
namespace {

using namespace picker_ids;
using testing::BesideTests;
using testing::ModalProbe;
using testing::PostClick;

constexpr Rgb kColour[5] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF};
constexpr Rgb kBlack = 0x000000, kWhiteRgb = 0xFFFFFF;

std::string Cp932(const std::filesystem::path& path) { return win::ToCp932(path.wstring()); }

class IconPickerTest : public ::testing::Test {
 protected:
  IconPickerTest() {
    SetCursorPos(0, 0);  // the real pointer must not wander over the strip
    owner = testing::CreateOwnerWindow(0, 0, 300, 200);
    created = picker.Create(owner);
  }
  ~IconPickerTest() override {
    DestroyWindow(picker.hwnd());
    DestroyWindow(owner);
    testing::PumpMessages();
  }

  HWND control(int id) { return picker.Control(id); }
  RECT RectIn(HWND hwnd, HWND relative_to) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, relative_to, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  Picture Preview() {
    return win::PictureFromBitmap(reinterpret_cast<HBITMAP>(
        SendMessageW(control(PreviewImage), STM_GETIMAGE, IMAGE_BITMAP, 0)));
  }
  // The strip as it paints itself.
  Picture PaintedStrip() {
    RECT r;
    GetClientRect(control(Strip), &r);
    win::WindowDC screen(nullptr);
    win::MemoryDC dc(screen.get());
    win::UniqueBitmap surface(CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
    {
      win::SelectGuard select(dc.get(), surface.get());
      SendMessageW(control(Strip), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
                   PRF_CLIENT);
    }
    return win::PictureFromBitmap(surface.get());
  }

  HWND owner = nullptr;
  IconPicker picker;
  bool created = false;
  const std::filesystem::path five = BesideTests(L"test_icons5.dll");
  const std::filesystem::path fourteen = BesideTests(L"test_icons14.dll");
};

TEST_F(IconPickerTest, WindowAndControlsLieWhereTheLayoutPutsThem) {
  ASSERT_TRUE(created);
  RECT w;
  GetWindowRect(picker.hwnd(), &w);
  EXPECT_EQ(w.right - w.left, kIconPickerSize.width);
  EXPECT_EQ(w.bottom - w.top, kIconPickerSize.height);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(w.left + w.right, work.left + work.right, 1);
  EXPECT_NEAR(w.top + w.bottom, work.top + work.bottom, 1);
  EXPECT_EQ(win::GetText(picker.hwnd()), L"Ｉｃｏｎ取り出し");
  EXPECT_TRUE(GetWindowLongW(picker.hwnd(), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(GetWindow(picker.hwnd(), GW_OWNER), owner);

  // In the window's client coordinates, whatever panel a control lies on.
  struct Expected {
    int id;
    int x, y, width, height;  // width 0: a label, sized to its text
    const wchar_t* text;
  };
  const Expected expected[] = {
      {Frame, 6, 9, 436, 151, nullptr},  {PreviewFrame, 57, 33, 38, 38, nullptr},
      {PreviewImage, 60, 36, 32, 32, nullptr},  {ChoiceLabel, 106, 50, 0, 0, L"アイコン選択"},
      {ChosenIndex, 178, 50, 0, 0, L"Label2"}, {StripBox, 27, 87, 394, 57, nullptr},
      {OkButton, 382, 164, 59, 25, L"OK"},
  };
  for (const Expected& e : expected) {
    const HWND hwnd = control(e.id);
    ASSERT_TRUE(IsChild(picker.hwnd(), hwnd)) << e.id;
    EXPECT_EQ(GetDlgCtrlID(hwnd), e.id);
    const RECT r = RectIn(hwnd, picker.hwnd());
    EXPECT_EQ(r.left, e.x) << e.id;
    EXPECT_EQ(r.top, e.y) << e.id;
    if (e.width) {
      EXPECT_EQ(r.right - r.left, e.width) << e.id;
      EXPECT_EQ(r.bottom - r.top, e.height) << e.id;
    }
    if (e.text) {
      EXPECT_EQ(win::GetText(hwnd), e.text) << e.id;
    }
  }
  // The strip one pixel left of the box's inside edge.
  const RECT strip = RectIn(control(Strip), control(StripBox));
  EXPECT_EQ(strip.left, -1);
  EXPECT_EQ(strip.top, 0);
  EXPECT_EQ(GetDlgCtrlID(control(Strip)), Strip);
}

TEST_F(IconPickerTest, TheStripHoldsEveryIconAndScrollsWhenWiderThanTheBox) {
  ASSERT_TRUE(created);
  ASSERT_EQ(IconCount(Cp932(five)), 5);
  ASSERT_EQ(IconCount(Cp932(fourteen)), 14);
  const HWND strip = control(Strip), box = control(StripBox);
  auto scroll_bar_shown = [&] { return (GetWindowLongW(box, GWL_STYLE) & WS_HSCROLL) != 0; };

  picker.DrawStrip(Cp932(five), 5);
  RECT r;
  GetClientRect(strip, &r);
  EXPECT_EQ(r.right, 160);
  EXPECT_EQ(r.bottom, 32);
  for (const Picture& p : {win::PictureFromBitmap(picker.StripBitmap()), PaintedStrip()}) {
    ASSERT_EQ(p.width, 160);
    for (int k = 0; k < 5; ++k) {
      EXPECT_EQ(p.At(32 * k + 8, 24), kColour[k]) << k;
      EXPECT_EQ(p.At(32 * k, 0), kBlack) << k;
      EXPECT_EQ(p.At(32 * k + 31, 31), kBlack) << k;  // drawn whole, at 32 x 32
      int dots = 0;
      for (int j = 0; j < 5; ++j) dots += p.At(32 * k + 4 + 5 * j, 14) == kWhiteRgb;
      EXPECT_EQ(dots, k + 1) << k;
    }
  }
  EXPECT_FALSE(scroll_bar_shown());

  picker.DrawStrip(Cp932(fourteen), 14);
  const Picture many = win::PictureFromBitmap(picker.StripBitmap());
  ASSERT_EQ(many.width, 14 * 32);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(many.At(32 * i + 8, 24), kColour[(i + 1) % 5]) << i;
  EXPECT_TRUE(scroll_bar_shown());
  RECT inside;
  GetClientRect(box, &inside);

  // Scrolled to the end, the last cell ends at the box's right edge, and the cell under the
  // pointer follows the strip's own coordinates.
  SendMessageW(box, WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(RectIn(strip, box).right, inside.right);
  POINT near_right{inside.right - 5, 10};
  MapWindowPoints(box, strip, &near_right, 1);
  SendMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(near_right.x, near_right.y));
  EXPECT_EQ(picker.HoverIcon(), 13);
  SendMessageW(box, WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(RectIn(strip, box).left, -1);
  near_right = {inside.right - 5, 10};
  MapWindowPoints(box, strip, &near_right, 1);
  SendMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(near_right.x, near_right.y));
  EXPECT_EQ(picker.HoverIcon(), (inside.right - 5 + 1) / 32);
  SendMessageW(box, WM_HSCROLL, SB_LINERIGHT, 0);
  const int moved = -1 - RectIn(strip, box).left;
  EXPECT_GT(moved, 0);
  EXPECT_LT(moved, inside.right);  // a line is a small step, not a page

  // Scrolled away, a narrower strip comes back to the start and the bar goes.
  SendMessageW(box, WM_HSCROLL, SB_RIGHT, 0);
  picker.DrawStrip(Cp932(five), 5);
  EXPECT_FALSE(scroll_bar_shown());
  EXPECT_EQ(RectIn(strip, box).left, -1);

  picker.EmptyStrip();
  EXPECT_EQ(picker.StripBitmap(), nullptr);
  const long before = win::LiveHandles();
  for (int i = 0; i < 50; ++i) picker.DrawStrip(Cp932(fourteen), 14);
  picker.EmptyStrip();
  EXPECT_EQ(win::LiveHandles(), before);
}

TEST_F(IconPickerTest, CellsAndThePreviewFollowTheWindowsDpi) {
  ASSERT_TRUE(created);
  RECT client;
  GetClientRect(picker.hwnd(), &client);
  const SIZE at_96{client.right, client.bottom};
  picker.DrawStrip(Cp932(five), 5);
  const Picture icons = win::PictureFromBitmap(picker.StripBitmap());  // 32 x 32 each
  // A cell is 32 pixels scaled; the icon in it a whole multiple of 32, centred.
  const struct {
    int dpi, cell, factor;
  } cases[] = {{144, 48, 1}, {192, 64, 2}, {96, 32, 1}};
  bool clicked = false;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    testing::SendDpiChanged(picker.hwnd(), c.dpi,
                            {MulDiv(at_96.cx, c.dpi, 96), MulDiv(at_96.cy, c.dpi, 96)});
    const int inset = (c.cell - 32 * c.factor) / 2;
    // The colour at (x, y) of a cell showing icon k; `last` false: the icon's last column and
    // row are left white, as the preview leaves them.
    auto expected = [&](int k, int x, int y, bool last) {
      const int ix = (x - inset) / c.factor, iy = (y - inset) / c.factor;
      const bool in_icon = x >= inset && y >= inset && ix < 32 && iy < 32 &&
                           (last || (ix < 31 && iy < 31));
      return in_icon ? icons.At(32 * k + ix, iy) : kWhiteRgb;
    };
    if (clicked) {
      // The preview of the earlier click, drawn again for this DPI.
      const Picture preview = Preview();
      ASSERT_EQ(preview.width, c.cell);
      int wrong = 0;
      for (int y = 0; y < c.cell; ++y) {
        for (int x = 0; x < c.cell; ++x) wrong += preview.At(x, y) != expected(3, x, y, false);
      }
      EXPECT_EQ(wrong, 0);
    }

    RECT r;
    GetClientRect(control(Strip), &r);
    EXPECT_EQ(r.right, 5 * c.cell);
    EXPECT_EQ(r.bottom, c.cell);
    const Picture painted = PaintedStrip();
    int wrong = 0;
    for (int k = 0; k < 5; ++k) {
      for (int y = 0; y < c.cell; ++y) {
        for (int x = 0; x < c.cell; ++x) {
          wrong += painted.At(k * c.cell + x, y) != expected(k, x, y, true);
        }
      }
    }
    EXPECT_EQ(wrong, 0) << "pixels off the strip";

    // The last pixel of cell 3 is cell 3, and a click there previews icon 3 at the cell's size.
    SendMessageW(control(Strip), WM_MOUSEMOVE, 0, MAKELPARAM(4 * c.cell - 1, 5));
    EXPECT_EQ(picker.HoverIcon(), 3);
    picker.ChooseHoveredIcon();
    clicked = true;
    EXPECT_EQ(picker.SelectedIcon(), 3);
    const Picture preview = Preview();
    ASSERT_EQ(preview.width, c.cell);
    wrong = 0;
    for (int y = 0; y < c.cell; ++y) {
      for (int x = 0; x < c.cell; ++x) wrong += preview.At(x, y) != expected(3, x, y, false);
    }
    EXPECT_EQ(wrong, 0) << "pixels off the preview";
    const RECT image = RectIn(control(PreviewImage), control(PreviewFrame));
    EXPECT_EQ(image.right - image.left, c.cell);
    EXPECT_EQ(image.bottom - image.top, c.cell);
  }

  // Scrolled when the DPI changes to one at which the strip is still wider than the box: the
  // strip starts again at the box's left, stays there when scrolled left, and scrolls to its
  // new end.
  const HWND strip = control(Strip), box = control(StripBox);
  picker.DrawStrip(Cp932(fourteen), 14);
  testing::SendDpiChanged(picker.hwnd(), 192, {at_96.cx * 2, at_96.cy * 2});
  SendMessageW(box, WM_HSCROLL, SB_RIGHT, 0);
  ASSERT_LT(RectIn(strip, box).left, -64);
  testing::SendDpiChanged(picker.hwnd(), 144, {MulDiv(at_96.cx, 3, 2), MulDiv(at_96.cy, 3, 2)});
  EXPECT_EQ(RectIn(strip, box).left, -2);
  EXPECT_EQ(RectIn(strip, box).right - RectIn(strip, box).left, 14 * 48);
  SendMessageW(box, WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(RectIn(strip, box).left, -2) << "the box still counts the old scrolling";
  SendMessageW(box, WM_HSCROLL, SB_RIGHT, 0);
  RECT inside;
  GetClientRect(box, &inside);
  EXPECT_EQ(RectIn(strip, box).right, inside.right);
  testing::SendDpiChanged(picker.hwnd(), 96, at_96);
  EXPECT_EQ(RectIn(strip, box).left, -1);
}

TEST_F(IconPickerTest, TheChoiceShowsThePickerForSeveralIconsAndKeepsTheLastClick) {
  ASSERT_TRUE(created);
  testing::ScopedTempDir dir;
  const auto program = dir.path() / L"アイコン集.dll";  // a CP932 path
  std::filesystem::copy_file(five, program);
  const HWND strip = control(Strip), label = control(ChosenIndex);
  ModalProbe probe;

  // First use: move to x = 70, click, move on, OK.
  std::vector<std::wstring> labels;
  bool shown_modally = false;
  int hover_at_click = -1;
  probe.Post([&] {
    shown_modally = IsWindowVisible(picker.hwnd()) && !IsWindowEnabled(owner);
    labels.push_back(win::GetText(label));
  });
  PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(70, 5));
  probe.Post([&] {
    labels.push_back(win::GetText(label));
    hover_at_click = picker.HoverIcon();
  });
  PostClick(strip, 70, 5);
  probe.Post([&] { labels.push_back(win::GetText(label)); });
  PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(100, 5));
  probe.Post([&] { labels.push_back(win::GetText(label)); });
  PostClick(control(OkButton));

  EXPECT_EQ(picker.IconChoice(owner, Cp932(program)), 2);
  EXPECT_TRUE(shown_modally);
  EXPECT_FALSE(IsWindowVisible(picker.hwnd()));
  EXPECT_TRUE(IsWindowEnabled(owner));
  // The index last clicked, from the showing on, not the one under the pointer; a click shows
  // only at the next move.
  EXPECT_EQ(labels, (std::vector<std::wstring>{L"0", L"0", L"0", L"2"}));
  EXPECT_EQ(hover_at_click, 2);
  EXPECT_EQ(picker.SelectedIcon(), 2);
  EXPECT_EQ(picker.HoverIcon(), 3);
  // The preview is the cell's top-left 31 x 31; its last column and row stay white.
  Picture preview = Preview();
  ASSERT_EQ(preview.width, 32);
  EXPECT_EQ(preview.At(0, 0), kBlack);
  EXPECT_EQ(preview.At(8, 24), kColour[2]);
  EXPECT_EQ(preview.At(30, 30), kColour[2]);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(preview.At(31, i), kWhiteRgb) << i;
    EXPECT_EQ(preview.At(i, 31), kWhiteRgb) << i;
  }
  // The picture shown before goes with the next, a copy the static made of it too.
  const HGDIOBJ shown = reinterpret_cast<HGDIOBJ>(
      SendMessageW(control(PreviewImage), STM_GETIMAGE, IMAGE_BITMAP, 0));
  picker.HoverStrip(70);  // the same cell again
  picker.ChooseHoveredIcon();
  EXPECT_EQ(GetObjectType(shown), 0u);

  // Second use, closed with the close box: the earlier click is the answer, and the preview
  // and ChosenIndex are as they were, though cell 2 of this file is another icon.
  std::wstring label_on_show;
  probe.Post([&] { label_on_show = win::GetText(label); });
  PostMessageW(picker.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(picker.IconChoice(owner, Cp932(fourteen)), 2);
  EXPECT_EQ(label_on_show, L"2");
  EXPECT_EQ(Preview().At(8, 24), kColour[2]);
  EXPECT_EQ(win::PictureFromBitmap(picker.StripBitmap()).At(2 * 32 + 8, 24), kColour[3]);
  EXPECT_TRUE(IsWindow(picker.hwnd()));  // closed, not destroyed: shown again next time

  // One icon or none: no picker, index 0, the strip emptied, the last click kept.
  const auto single = dir.path() / L"one.ico";
  testing::WriteIconFile(single, 0x00FF00);
  const auto text = dir.path() / L"readme.txt";
  std::ofstream(text) << "no icons here";
  ASSERT_EQ(IconCount(Cp932(single)), 1);
  for (const auto& path : {single, text, dir.path() / L"missing.exe"}) {
    EXPECT_LT(IconCount(Cp932(path)), 2) << path;
    bool in_call = true, shown = false;
    probe.Post([&] {
      if (!in_call) return;
      shown = true;  // the picker was shown: close it so the test goes on
      PostMessageW(picker.hwnd(), WM_CLOSE, 0, 0);
    });
    picker.DrawStrip(Cp932(five), 5);
    EXPECT_EQ(picker.IconChoice(owner, Cp932(path)), 0) << path;
    in_call = false;
    testing::PumpMessages();
    EXPECT_FALSE(shown) << path;
    EXPECT_EQ(picker.StripBitmap(), nullptr) << path;
  }
  EXPECT_EQ(picker.SelectedIcon(), 2);
}

}  // namespace
}  // namespace quenda
