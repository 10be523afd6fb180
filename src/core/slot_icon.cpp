#include "core/slot_icon.h"

#include <algorithm>

namespace quenda {

const std::array<Rgb, 16> kIconPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

const IconBitmap& BlankIcon() {
  static const IconBitmap blank{};
  return blank;
}

std::uint8_t NearestPaletteIndex(Rgb colour) {
  const int r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
  std::uint8_t best = 0;
  int best_distance = 1 << 30;
  for (std::uint8_t i = 0; i < kIconPalette.size(); ++i) {
    const Rgb p = kIconPalette[i];
    const int dr = r - int((p >> 16) & 0xFF), dg = g - int((p >> 8) & 0xFF), db = b - int(p & 0xFF);
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = i;
    }
  }
  return best;
}

void DrawPictureOnWhite(IconBitmap& icon, const Picture& picture) {
  icon.Fill(kWhite);
  const int w = std::min(picture.width, kIconSize), h = std::min(picture.height, kIconSize);
  // Icons hold long runs of one colour: the search runs once per run.
  Rgb last_colour = 0;
  std::uint8_t last_index = NearestPaletteIndex(last_colour);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Rgb colour = picture.At(x, y);
      if (colour != last_colour) {
        last_colour = colour;
        last_index = NearestPaletteIndex(colour);
      }
      icon.Set(x, y, last_index);
    }
  }
}

Picture IconPicture(const IconBitmap& icon) {
  Picture picture(kIconSize, kIconSize);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) picture.Set(x, y, icon.ColourAt(x, y));
  }
  return picture;
}

}  // namespace quenda
