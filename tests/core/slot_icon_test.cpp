#include "core/slot_icon.h"

#include <gtest/gtest.h>

#include "table_layout.h"

namespace quenda {
namespace {

TEST(SlotIcon, PaletteIsTheBlankIconsColourTable) {
  for (int i = 0; i < 16; ++i) EXPECT_EQ(kIconPalette[i], quenda_test::kPalette[i]) << i;
  for (std::uint8_t i : BlankIcon().index) ASSERT_EQ(i, kBlack);
}

TEST(SlotIcon, NearestPaletteIndex) {
  const std::pair<Rgb, std::uint8_t> cases[] = {
      {0x7F0101, 1},     // next to dark red
      {0x600000, 1},     // nearer dark red than black
      {0x200000, 0},     // nearer black
      {0xC8C8C8, 8},     // light grey
      {0xE0E0E0, 15},    // just nearer white than light grey
      {0xA0A0A0, 7},     // halfway between the greys: the lower index
      {0x404040, 0},     // halfway between black and grey: the lower index
      {0xFE0000, 9},     // red
      {0x00FE01, 10},    // green
      {0x0000F0, 12},    // blue
      {0xF0F000, 11},    // yellow
      {0x10F0F0, 14},    // cyan
      {0xFF000080, 4},   // a 32-bit surface's alpha byte does not count
      {0x80FFFFFF, 15},  // nor here
  };
  for (auto [colour, index] : cases) {
    EXPECT_EQ(NearestPaletteIndex(colour), index) << std::hex << colour;
  }
  for (std::uint8_t i = 0; i < 16; ++i) EXPECT_EQ(NearestPaletteIndex(kIconPalette[i]), i);
}

TEST(SlotIcon, PictureOfAnIconDrawsBackToTheSameIcon) {
  IconBitmap icon;
  const quenda_test::Indices px = quenda_test::Pattern(5);
  for (int i = 0; i < 32 * 32; ++i) icon.index[i] = px[i];

  const Picture picture = IconPicture(icon);
  ASSERT_EQ(picture.width, 32);
  ASSERT_EQ(picture.height, 32);
  EXPECT_EQ(picture.At(31, 0), kIconPalette[px[31]]);
  EXPECT_EQ(picture.At(0, 31), kIconPalette[px[32 * 31]]);

  IconBitmap drawn;
  DrawPictureOnWhite(drawn, picture);
  EXPECT_EQ(drawn, icon);
}

}  // namespace
}  // namespace quenda
