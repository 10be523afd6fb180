#include "core/bmp.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace quenda {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kRgb = 0, kBitFields = 3;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::uint32_t Get16(const std::uint8_t* p) { return p[0] | (std::uint32_t(p[1]) << 8); }
std::uint32_t Get32(const std::uint8_t* p) { return Get16(p) | (Get16(p + 2) << 16); }

// Header fields that decide how the image is sized and decoded.
struct ImageHeader {
  std::int64_t width = 0, height = 0;  // height < 0: rows stored top row first
  std::uint32_t planes = 0, bits = 0, compression = kRgb, size_image = 0, colours_used = 0;
  std::uint32_t masks[3] = {0, 0, 0};
  bool core = false;  // 12-byte header: 3-byte colour entries
};

// Pixel of a channel mask, scaled to 0..255.
std::uint32_t MaskChannel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const std::uint32_t m = mask >> shift;
  const std::uint64_t v = (value >> shift) & m;
  return static_cast<std::uint32_t>(v * 255 / m);
}

// Decodes the top-left corner of the image; bytes missing from a short pixel block read as 0.
Picture DecodeCorner(const ImageHeader& h, std::span<const std::uint8_t> palette,
                     std::span<const std::uint8_t> pixels) {
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  const int w = int(std::min<std::int64_t>(h.width, kIconSize));
  const int ht = int(std::min<std::int64_t>(rows, kIconSize));
  const std::uint64_t row_bytes = (std::uint64_t(h.width) * h.bits + 31) / 32 * 4;
  const std::size_t entry = h.core ? 3 : 4;
  const std::size_t entries = palette.size() / entry;
  auto byte_at = [&](std::uint64_t offset) -> std::uint32_t {
    return offset < pixels.size() ? pixels[offset] : 0;
  };
  auto palette_colour = [&](std::uint32_t i) -> Rgb {
    if (i >= entries) return 0;
    const std::uint8_t* p = palette.data() + i * entry;
    return (Rgb(p[2]) << 16) | (Rgb(p[1]) << 8) | p[0];
  };
  Picture picture(w, ht);
  for (int y = 0; y < ht; ++y) {
    const std::uint64_t stored_row = h.height < 0 ? std::uint64_t(y) : std::uint64_t(rows - 1 - y);
    const std::uint64_t row = stored_row * row_bytes;
    for (int x = 0; x < w; ++x) {
      Rgb colour = 0;
      switch (h.bits) {
        case 1:
          colour = palette_colour((byte_at(row + x / 8) >> (7 - x % 8)) & 1);
          break;
        case 4:
          colour = palette_colour((byte_at(row + x / 2) >> (x % 2 ? 0 : 4)) & 0xF);
          break;
        case 8:
          colour = palette_colour(byte_at(row + x));
          break;
        case 16: {
          const std::uint32_t v = byte_at(row + 2 * x) | (byte_at(row + 2 * x + 1) << 8);
          const std::uint32_t r = h.compression == kBitFields ? h.masks[0] : 0x7C00;
          const std::uint32_t g = h.compression == kBitFields ? h.masks[1] : 0x03E0;
          const std::uint32_t b = h.compression == kBitFields ? h.masks[2] : 0x001F;
          colour = (MaskChannel(v, r) << 16) | (MaskChannel(v, g) << 8) | MaskChannel(v, b);
          break;
        }
        case 24:
          colour = (byte_at(row + 3 * x + 2) << 16) | (byte_at(row + 3 * x + 1) << 8) |
                   byte_at(row + 3 * x);
          break;
        case 32: {
          const std::uint64_t o = row + 4 * std::uint64_t(x);
          const std::uint32_t v = byte_at(o) | (byte_at(o + 1) << 8) | (byte_at(o + 2) << 16) |
                                  (byte_at(o + 3) << 24);
          if (h.compression == kBitFields) {
            colour = (MaskChannel(v, h.masks[0]) << 16) | (MaskChannel(v, h.masks[1]) << 8) |
                     MaskChannel(v, h.masks[2]);
          } else {
            colour = v & 0xFFFFFF;
          }
          break;
        }
      }
      picture.Set(x, y, colour);
    }
  }
  return picture;
}

// The form this program writes: 32 x 32, 4 bits, the icon palette. Its indices are taken as
// they are, which is what mapping their colours would give, only without the search.
bool IsOwnIconFormat(const ImageHeader& h, std::span<const std::uint8_t> palette) {
  if (h.core || h.bits != 4 || h.compression != kRgb || h.width != kIconSize ||
      (h.height != kIconSize && h.height != -kIconSize) || palette.size() < 16 * 4) {
    return false;
  }
  for (int i = 0; i < 16; ++i) {
    const Rgb c = kIconPalette[i];
    const std::uint8_t* p = palette.data() + 4 * i;
    if (p[0] != (c & 0xFF) || p[1] != ((c >> 8) & 0xFF) || p[2] != ((c >> 16) & 0xFF)) return false;
  }
  return true;
}

// Splits a row of 4-bit pixels into one index a byte. The two never overlap (file bytes into
// the table's picture); saying so lets the split run in vector registers straight from the file.
void SplitRow(const std::uint8_t* __restrict in, std::uint8_t* __restrict out) {
  for (int i = 0; i < kIconSize / 2; ++i) {
    out[2 * i] = in[i] >> 4;
    out[2 * i + 1] = in[i] & 0xF;
  }
}

// Bytes missing from a short pixel block read as 0, as in DecodeCorner.
void CopyIconIndices(const ImageHeader& h, std::span<const std::uint8_t> pixels, IconBitmap& icon) {
  constexpr std::size_t kRowBytes = kIconSize / 2;
  for (int y = 0; y < kIconSize; ++y) {
    const std::size_t start = std::size_t(h.height < 0 ? y : kIconSize - 1 - y) * kRowBytes;
    std::uint8_t* out = icon.index.data() + std::size_t(y) * kIconSize;
    if (start + kRowBytes <= pixels.size()) {
      SplitRow(pixels.data() + start, out);
    } else {
      std::array<std::uint8_t, kRowBytes> row{};
      if (start < pixels.size()) std::copy(pixels.begin() + start, pixels.end(), row.begin());
      SplitRow(row.data(), out);
    }
  }
}

bool Decodable(const ImageHeader& h) {
  if (h.width <= 0 || h.height == 0) return false;
  switch (h.bits) {
    case 1:
    case 4:
    case 8:
    case 24:
      return h.compression == kRgb;
    case 16:
    case 32:
      return h.compression == kRgb || (h.compression == kBitFields && !h.core);
    default:
      return false;
  }
}

}  // namespace

void AppendIconBmp(const IconBitmap& icon, std::vector<std::uint8_t>& out) {
  constexpr std::uint32_t kPaletteBytes = 16 * 4, kPixelBytes = 32 * 16;
  constexpr std::uint32_t kOffset = kFileHeaderBytes + kInfoHeaderBytes + kPaletteBytes;
  out.push_back('B');
  out.push_back('M');
  Put32(out, kOffset + kPixelBytes);  // 630
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, kOffset);  // 118
  Put32(out, kInfoHeaderBytes);
  Put32(out, kIconSize);
  Put32(out, kIconSize);
  Put16(out, 1);
  Put16(out, 4);
  Put32(out, kRgb);
  Put32(out, kPixelBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 16);
  Put32(out, 0);
  for (Rgb c : kIconPalette) {
    out.push_back(c & 0xFF);
    out.push_back((c >> 8) & 0xFF);
    out.push_back((c >> 16) & 0xFF);
    out.push_back(0);
  }
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int x = 0; x < kIconSize; x += 2) {
      out.push_back(static_cast<std::uint8_t>((icon.At(x, y) << 4) | icon.At(x + 1, y)));
    }
  }
}

MaybeError ReadIconBmp(std::span<const std::uint8_t> bytes, std::size_t& pos, IconBitmap& icon) {
  auto left = [&] { return bytes.size() - pos; };
  // Made only when returned: 350 icons are read at every start.
  const auto read_error = [] { return Error::Plain(msg::kReadError); };
  const auto invalid = [] { return Error::Plain(msg::kInvalidBitmap); };

  if (left() < kFileHeaderBytes) {
    pos = bytes.size();
    return read_error();
  }
  if (bytes[pos] != 'B' || bytes[pos + 1] != 'M') return invalid();
  pos += kFileHeaderBytes;

  if (left() < 4) {
    pos = bytes.size();
    return read_error();
  }
  const std::uint32_t header_size = Get32(&bytes[pos]);
  if (header_size != kCoreHeaderBytes && header_size < kInfoHeaderBytes) return invalid();
  if (header_size > left()) {
    pos = bytes.size();
    return read_error();
  }
  const std::uint8_t* p = &bytes[pos];
  ImageHeader h;
  if (header_size == kCoreHeaderBytes) {
    h.core = true;
    h.width = Get16(p + 4);
    h.height = Get16(p + 6);
    h.planes = Get16(p + 8);
    h.bits = Get16(p + 10);
  } else {
    h.width = static_cast<std::int32_t>(Get32(p + 4));
    h.height = static_cast<std::int32_t>(Get32(p + 8));
    h.planes = Get16(p + 12);
    h.bits = Get16(p + 14);
    h.compression = Get32(p + 16);
    h.size_image = Get32(p + 20);
    h.colours_used = Get32(p + 32);
  }
  pos += header_size;
  if (h.planes != 1) return invalid();

  // Bit-field masks follow a header too short to hold them (the plain 40-byte one).
  if (!h.core && h.compression == kBitFields) {
    if (header_size < kInfoHeaderBytes + 12) {
      if (left() < 12) {
        pos = bytes.size();
        return read_error();
      }
      for (int i = 0; i < 3; ++i) h.masks[i] = Get32(&bytes[pos + 4 * i]);
      pos += 12;
    } else {
      for (int i = 0; i < 3; ++i) h.masks[i] = Get32(p + 40 + 4 * i);
    }
  }

  std::uint64_t colours = h.colours_used;
  if (h.core || colours == 0) colours = h.bits <= 8 ? (std::uint64_t(1) << h.bits) : 0;
  const std::uint64_t palette_bytes = colours * (h.core ? 3 : 4);
  if (palette_bytes > left()) {
    pos = bytes.size();
    return read_error();
  }
  const std::span<const std::uint8_t> palette = bytes.subspan(pos, std::size_t(palette_bytes));
  pos += std::size_t(palette_bytes);

  if (!Decodable(h)) return invalid();

  // Sized by the headers; the product saturates so hostile sizes cannot wrap.
  std::uint64_t pixel_bytes = h.size_image;
  if (pixel_bytes == 0) {
    const std::uint64_t rows = h.height < 0 ? std::uint64_t(-h.height) : std::uint64_t(h.height);
    const std::uint64_t row_bytes = (std::uint64_t(h.width) * h.bits + 31) / 32 * 4;
    pixel_bytes = row_bytes > UINT64_MAX / rows ? UINT64_MAX : row_bytes * rows;
  }
  const std::size_t taken = std::size_t(std::min<std::uint64_t>(pixel_bytes, left()));
  const std::span<const std::uint8_t> pixels = bytes.subspan(pos, taken);
  pos += taken;

  if (IsOwnIconFormat(h, palette)) {
    CopyIconIndices(h, pixels, icon);
  } else {
    DrawPictureOnWhite(icon, DecodeCorner(h, palette, pixels));
  }
  return std::nullopt;
}

}  // namespace quenda
