#pragma once
// Table file bytes and BMP images written out by hand from the file layout, so that the tests
// never take their expectations from the reader or writer they check. The fuzz corpus maker
// uses it too.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

namespace quenda_test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kFieldsSize = 738;
inline constexpr std::size_t kImageSize = 630;
inline constexpr std::size_t kRecordSize = 1368;
inline constexpr std::size_t kRecordCount = 350;
inline constexpr std::size_t kFileSize = 478800;

// Record offsets and widths of the nine fields, in field order.
inline constexpr std::size_t kFieldOffset[9] = {0, 2, 4, 68, 196, 324, 452, 462, 482};
inline constexpr std::size_t kFieldWidth[9] = {2, 2, 64, 128, 128, 128, 10, 20, 256};

// The blank icon's colour table as 0x00RRGGBB.
inline constexpr std::uint32_t kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

inline void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void Patch16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = std::uint8_t(v);
  b[at + 1] = std::uint8_t(v >> 8);
}
inline void Patch32(Bytes& b, std::size_t at, std::uint32_t v) {
  Patch16(b, at, v & 0xFFFF);
  Patch16(b, at + 2, v >> 16);
}

// A record's 738 field bytes. Put writes raw bytes (junk behind a NUL included) at the start of
// a field and leaves the rest of the field as it was.
struct RawFields {
  std::array<std::uint8_t, kFieldsSize> bytes{};

  RawFields& Put(int field, std::string_view raw) {
    for (std::size_t i = 0; i < raw.size() && i < kFieldWidth[field]; ++i) {
      bytes[kFieldOffset[field] + i] = std::uint8_t(raw[i]);
    }
    return *this;
  }
};

// Palette indices of a 32 x 32 icon, top row first (x + 32 * y).
using Indices = std::array<std::uint8_t, 32 * 32>;

inline Indices Filled(std::uint8_t index) {
  Indices px;
  px.fill(index);
  return px;
}

// An asymmetric pattern, so that flipped rows or swapped nibbles show.
inline Indices Pattern(int seed) {
  Indices px;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) px[x + 32 * y] = std::uint8_t((x + 3 * y + seed) % 16);
  }
  return px;
}

// The 630-byte image of an icon as the table file holds it.
inline Bytes IconImage(const Indices& px) {
  Bytes b{'B', 'M'};
  Put32(b, 630);
  Put16(b, 0);
  Put16(b, 0);
  Put32(b, 118);
  Put32(b, 40);
  Put32(b, 32);
  Put32(b, 32);
  Put16(b, 1);
  Put16(b, 4);
  Put32(b, 0);
  Put32(b, 512);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 16);
  Put32(b, 0);
  for (std::uint32_t c : kPalette) {
    b.push_back(std::uint8_t(c));
    b.push_back(std::uint8_t(c >> 8));
    b.push_back(std::uint8_t(c >> 16));
    b.push_back(0);
  }
  for (int y = 31; y >= 0; --y) {
    for (int x = 0; x < 32; x += 2) {
      b.push_back(std::uint8_t((px[x + 32 * y] << 4) | px[x + 1 + 32 * y]));
    }
  }
  return b;
}

inline Bytes Record(const RawFields& fields, const Bytes& image) {
  Bytes b(kFieldsSize + image.size());
  std::copy(fields.bytes.begin(), fields.bytes.end(), b.begin());
  std::copy(image.begin(), image.end(), b.begin() + kFieldsSize);
  return b;
}

inline Bytes Record(const RawFields& fields, const Indices& px) {
  return Record(fields, IconImage(px));
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  std::size_t size = 0;
  for (const Bytes& p : parts) size += p.size();
  Bytes b(size);
  auto at = b.begin();
  for (const Bytes& p : parts) at = std::copy(p.begin(), p.end(), at);
  return b;
}

// A BMP file image of any of the usual forms. Coordinates are top row first whatever the
// stored order; `pixel` gives a palette index (up to 8 bits), a raw 16-bit value, or 0x00RRGGBB.
struct BmpForm {
  std::int32_t width = 32;
  std::int32_t height = 32;  // negative: stored top row first
  std::uint16_t bits = 24;
  std::uint16_t planes = 1;
  std::uint32_t compression = 0;
  std::uint32_t header_size = 40;  // 12: the old core header with 3-byte colour entries
  std::vector<std::uint32_t> palette;
  std::optional<std::uint32_t> colours_used;  // default: palette size
  std::optional<std::uint32_t> size_image;    // default: the pixel block's real size
  std::array<std::uint32_t, 3> masks{};       // with compression 3
  std::function<std::uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };
};

inline std::size_t BmpRowBytes(const BmpForm& s) {
  return (std::size_t(s.width) * s.bits + 31) / 32 * 4;
}

inline Bytes Bmp(const BmpForm& s) {
  const bool core = s.header_size == 12;
  const std::size_t rows = std::size_t(s.height < 0 ? -std::int64_t(s.height) : s.height);
  const std::size_t row_bytes = BmpRowBytes(s);
  const bool masks_after = s.compression == 3 && s.header_size == 40;
  const std::size_t palette_bytes = s.palette.size() * (core ? 3 : 4);
  const std::size_t offset = 14 + s.header_size + (masks_after ? 12 : 0) + palette_bytes;

  Bytes b{'B', 'M'};
  Put32(b, std::uint32_t(offset + row_bytes * rows));
  Put32(b, 0);
  Put32(b, std::uint32_t(offset));
  Put32(b, s.header_size);
  if (core) {
    Put16(b, std::uint32_t(s.width));
    Put16(b, std::uint32_t(s.height));
    Put16(b, s.planes);
    Put16(b, s.bits);
  } else {
    Put32(b, std::uint32_t(s.width));
    Put32(b, std::uint32_t(s.height));
    Put16(b, s.planes);
    Put16(b, s.bits);
    Put32(b, s.compression);
    Put32(b, s.size_image.value_or(std::uint32_t(row_bytes * rows)));
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, s.colours_used.value_or(std::uint32_t(s.palette.size())));
    Put32(b, 0);
    if (s.header_size >= 52) {
      for (std::uint32_t m : s.masks) Put32(b, m);
    }
    while (b.size() < 14 + s.header_size) b.push_back(0);
    if (masks_after) {
      for (std::uint32_t m : s.masks) Put32(b, m);
    }
  }
  for (std::uint32_t c : s.palette) {
    b.push_back(std::uint8_t(c));
    b.push_back(std::uint8_t(c >> 8));
    b.push_back(std::uint8_t(c >> 16));
    if (!core) b.push_back(0);
  }
  for (std::size_t stored = 0; stored < rows; ++stored) {
    const int y = int(s.height < 0 ? stored : rows - 1 - stored);
    Bytes row(row_bytes, 0);
    for (int x = 0; x < s.width; ++x) {
      const std::uint32_t v = s.pixel(x, y);
      switch (s.bits) {
        case 1:
          row[x / 8] |= std::uint8_t((v & 1) << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= std::uint8_t((v & 0xF) << (x % 2 ? 0 : 4));
          break;
        case 8:
          row[x] = std::uint8_t(v);
          break;
        case 16:
          row[2 * x] = std::uint8_t(v);
          row[2 * x + 1] = std::uint8_t(v >> 8);
          break;
        case 24:
          row[3 * x] = std::uint8_t(v);
          row[3 * x + 1] = std::uint8_t(v >> 8);
          row[3 * x + 2] = std::uint8_t(v >> 16);
          break;
        case 32:
          row[4 * x] = std::uint8_t(v);
          row[4 * x + 1] = std::uint8_t(v >> 8);
          row[4 * x + 2] = std::uint8_t(v >> 16);
          row[4 * x + 3] = std::uint8_t(v >> 24);
          break;
      }
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

}  // namespace quenda_test
