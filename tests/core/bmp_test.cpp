#include "core/bmp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/errors.h"
#include "table_layout.h"

namespace quenda {
namespace {

using quenda_test::Bmp;
using quenda_test::BmpForm;
using quenda_test::Bytes;
using quenda_test::kPalette;

IconBitmap IconOf(const quenda_test::Indices& px) {
  IconBitmap icon;
  for (std::size_t i = 0; i < px.size(); ++i) icon.index[i] = px[i];
  return icon;
}

TEST(Bmp, IconImageMatchesTheFileLayout) {
  for (int seed : {0, 7}) {
    const quenda_test::Indices px = quenda_test::Pattern(seed);
    Bytes out{0xAA};  // appends, never replaces
    AppendIconBmp(IconOf(px), out);
    ASSERT_EQ(out.size(), 1 + quenda_test::kImageSize);
    EXPECT_EQ(Bytes(out.begin() + 1, out.end()), quenda_test::IconImage(px)) << seed;
  }
}

// A colour index that does not repeat along rows or columns within 32 pixels.
std::uint8_t Shade(int x, int y) { return std::uint8_t((x * 5 + y * 3 + (x * y) % 7) % 16); }

std::uint32_t To555(std::uint32_t rgb) {
  auto five = [](std::uint32_t v) { return (v * 31 + 127) / 255; };
  return (five((rgb >> 16) & 0xFF) << 10) | (five((rgb >> 8) & 0xFF) << 5) | five(rgb & 0xFF);
}
std::uint32_t To565(std::uint32_t rgb) {
  auto bits = [](std::uint32_t v, std::uint32_t max) { return (v * max + 127) / 255; };
  return (bits((rgb >> 16) & 0xFF, 31) << 11) | (bits((rgb >> 8) & 0xFF, 63) << 5) |
         bits(rgb & 0xFF, 31);
}

std::vector<std::uint32_t> Palette256() {
  std::vector<std::uint32_t> p(256);
  for (int i = 0; i < 256; ++i) p[i] = kPalette[(i * 7) % 16];
  return p;
}

// Images of other sizes, depths and header forms: each is read by its own headers (the reader
// stops at its last byte) and its top-left corner lands on a white 32 x 32 icon.
TEST(Bmp, ForeignImagesAreConvertedAndSizedByTheirHeaders) {
  struct Case {
    const char* name;
    BmpForm form;
    std::function<std::uint8_t(int, int)> want;  // palette index at a pixel of the picture
  };
  const auto rgb = [](int x, int y) { return kPalette[Shade(x, y)]; };
  // 8-bit pictures index a 256-entry table whose entry i holds colour (i * 7) % 16.
  const auto index8 = [](int x, int y) { return std::uint32_t(x + 17 * y) % 256; };
  const auto want8 = [&](int x, int y) { return std::uint8_t(index8(x, y) * 7 % 16); };
  std::vector<Case> cases;
  {
    BmpForm s;
    s.width = s.height = 48;
    s.pixel = rgb;
    cases.push_back({"24-bit 48x48", s, Shade});
    s.size_image = 0;
    cases.push_back({"24-bit 48x48, pixel size 0", s, Shade});
    s.height = -48;
    cases.push_back({"24-bit 48x48 top-down", s, Shade});
    s.height = 48;
    s.size_image.reset();
    s.palette = {0x123456, 0x654321, 0xABCDEF};
    cases.push_back({"24-bit with a colour table it does not use", s, Shade});
  }
  {
    BmpForm s;
    s.bits = 32;
    s.pixel = [&](int x, int y) { return 0xAA000000u | rgb(x, y); };
    cases.push_back({"32-bit", s, Shade});
  }
  {
    BmpForm s;
    s.width = s.height = 16;
    s.bits = 8;
    s.palette = Palette256();
    s.pixel = index8;
    cases.push_back({"8-bit 16x16", s, want8});
    s.width = 40;
    s.height = 20;
    s.colours_used = 0;
    cases.push_back({"8-bit 40x20, colours used 0", s, want8});
  }
  {
    BmpForm s;
    s.width = 33;
    s.height = 35;
    s.bits = 4;
    for (int i = 0; i < 16; ++i) s.palette.push_back(kPalette[15 - i]);
    s.pixel = [](int x, int y) { return std::uint32_t(15 - Shade(x, y)); };
    cases.push_back({"4-bit 33x35, reversed palette", s, Shade});
  }
  {
    BmpForm s;
    s.bits = 1;
    s.palette = {0x0000FF, 0xFFFF00};
    auto bit = [](int x, int y) { return std::uint32_t((x * y + x + (y >> 2)) & 1); };
    auto want = [bit](int x, int y) { return std::uint8_t(bit(x, y) ? 11 : 12); };
    s.pixel = bit;
    cases.push_back({"1-bit 32x32", s, want});
    s.width = 50;
    s.height = 3;
    cases.push_back({"1-bit 50x3", s, want});
  }
  {
    BmpForm s;
    s.bits = 16;
    s.pixel = [&](int x, int y) { return To555(rgb(x, y)); };
    cases.push_back({"16-bit 555", s, Shade});
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.pixel = [&](int x, int y) { return To565(rgb(x, y)); };
    cases.push_back({"16-bit 565, masks after the header", s, Shade});
  }
  {
    BmpForm s;
    s.bits = 32;
    s.compression = 3;
    s.header_size = 124;
    s.masks = {0x0000FF00, 0x00FF0000, 0xFF000000};
    s.pixel = [&](int x, int y) {
      const std::uint32_t c = rgb(x, y);
      return ((c >> 16) & 0xFF) << 8 | ((c >> 8) & 0xFF) << 16 | (c & 0xFF) << 24;
    };
    cases.push_back({"32-bit, masks in a 124-byte header", s, Shade});
  }
  {
    BmpForm s;
    s.header_size = 12;
    s.pixel = rgb;
    cases.push_back({"core header, 24-bit", s, Shade});
    s.bits = 8;
    s.width = s.height = 20;
    s.palette = Palette256();
    s.pixel = index8;
    cases.push_back({"core header, 8-bit 20x20", s, want8});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes image = Bmp(c.form);
    Bytes bytes = image;
    bytes.insert(bytes.end(), {0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
    std::size_t pos = 0;
    IconBitmap icon;
    icon.Fill(3);
    const MaybeError error = ReadIconBmp(bytes, pos, icon);
    ASSERT_FALSE(error.has_value()) << ErrorText(*error);
    EXPECT_EQ(pos, image.size());
    const int w = c.form.width, h = c.form.height < 0 ? -c.form.height : c.form.height;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const std::uint8_t want = x < w && y < h ? c.want(x, y) : kWhite;
        ASSERT_EQ(icon.At(x, y), want) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace quenda
