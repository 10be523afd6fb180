#pragma once
// The icon model: every slot holds a 32 x 32 picture of palette indices into the 16 colours
// of the blank icon; pictures drawn into it are reduced to those colours.
#include <array>
#include <cstdint>
#include <vector>

namespace quenda {

inline constexpr int kIconSize = 32;

// Colours as 0x00RRGGBB.
using Rgb = std::uint32_t;

// The blank icon's colour table, entries 0 to 15.
extern const std::array<Rgb, 16> kIconPalette;
inline constexpr std::uint8_t kBlack = 0;
inline constexpr std::uint8_t kWhite = 15;

// A 32-bit picture, top row first, as the window layer composes icons.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // width * height

  Picture() = default;
  Picture(int w, int h, Rgb fill = 0) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
  Rgb At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  void Set(int x, int y, Rgb c) { pixels[std::size_t(y) * width + x] = c; }
};

// A slot's 32 x 32, 4-bit bitmap: one palette index per pixel, top row first.
struct IconBitmap {
  std::array<std::uint8_t, kIconSize * kIconSize> index{};

  std::uint8_t At(int x, int y) const { return index[y * kIconSize + x]; }
  void Set(int x, int y, std::uint8_t i) { index[y * kIconSize + x] = i; }
  Rgb ColourAt(int x, int y) const { return kIconPalette[At(x, y)]; }
  void Fill(std::uint8_t i) { index.fill(i); }
  bool operator==(const IconBitmap&) const = default;
};

// The picture of the hidden blank image: every pixel black (index 0).
const IconBitmap& BlankIcon();

// The palette entry nearest to a colour (squared RGB distance; ties go to the lower index).
std::uint8_t NearestPaletteIndex(Rgb colour);

// Copies the top-left 32 x 32 of a picture onto white, each pixel mapped to its nearest colour;
// what lies outside a smaller picture stays white.
void DrawPictureOnWhite(IconBitmap& icon, const Picture& picture);

// The icon as a 32-bit picture.
Picture IconPicture(const IconBitmap& icon);

// The object a slot owns for its icon; records refer to it, never copy it.
struct SlotIcon {
  IconBitmap bitmap;
};

}  // namespace quenda
