// Writes the table reader's seed corpus: small table files built from the file layout alone.
// Usage: make_fuzz_corpus DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "table_layout.h"

namespace {

using namespace quenda_test;

void Write(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
}

RawFields SomeFields(const std::string& title) {
  RawFields f;
  f.Put(1, "0").Put(2, title + std::string(1, '\0') + "older").Put(3, "C:\\Tools\\prog.exe");
  f.Put(4, "prog.exe").Put(6, "12").Put(7, "2024/01/02 3:04:05").Put(8, "memo");
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);

  // One whole record as Quenda writes it.
  const Bytes plain = Record(SomeFields("plain"), Pattern(3));
  Write(dir / "one_record", plain);

  // A record cut inside its pixels.
  Write(dir / "cut_in_pixels", Bytes(plain.begin(), plain.begin() + 1000));

  // A 24-bit 16 x 16 picture, then nothing.
  BmpForm rgb;
  rgb.width = rgb.height = 16;
  rgb.pixel = [](int x, int y) { return std::uint32_t(x * 0x100F + y * 0x0F0001); };
  Write(dir / "rgb24_16x16", Record(SomeFields("rgb"), Bmp(rgb)));

  // A 32-bit picture with masks in a 124-byte header, followed by a plain record.
  BmpForm masked;
  masked.width = 16;
  masked.height = -8;
  masked.bits = 32;
  masked.compression = 3;
  masked.header_size = 124;
  masked.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  masked.pixel = [](int x, int y) { return std::uint32_t(0xFF000000u | (x * 16) << 16 | y * 32); };
  Write(dir / "masks_then_record", Concat({Record(SomeFields("masked"), Bmp(masked)),
                                           Record(SomeFields("next"), Pattern(5))}));

  // A 16-bit picture whose masks follow a plain 40-byte header.
  BmpForm rgb565;
  rgb565.width = rgb565.height = 8;
  rgb565.bits = 16;
  rgb565.compression = 3;
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.pixel = [](int x, int y) { return std::uint32_t(x << 11 | y << 5 | (x ^ y)); };
  Write(dir / "rgb565_masks_after_header", Record(SomeFields("565"), Bmp(rgb565)));

  // An 8-bit picture with the old 12-byte header and 3-byte colours.
  BmpForm core;
  core.width = core.height = 8;
  core.bits = 8;
  core.header_size = 12;
  for (int i = 0; i < 256; ++i) core.palette.push_back(kPalette[i % 16]);
  core.pixel = [](int x, int y) { return std::uint32_t(x + 8 * y); };
  Write(dir / "core_header_8bit", Record(SomeFields("core"), Bmp(core)));

  // A 1-bit picture, then a second record.
  BmpForm mono;
  mono.bits = 1;
  mono.palette = {0x000000, 0xFFFFFF};
  mono.pixel = [](int x, int y) { return std::uint32_t((x ^ y) & 1); };
  Write(dir / "mono_then_record",
        Concat({Record(SomeFields("mono"), Bmp(mono)), Record(SomeFields("next"), Filled(15))}));
  return 0;
}
