#include "platform/icon_bitmap.h"

namespace quenda::win {

UniqueBitmap CreateTopDownSurface(int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0));
}

void SetStaticBitmap(HWND image, HBITMAP bitmap, HBITMAP previous) {
  const auto returned = reinterpret_cast<HBITMAP>(
      SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  if (returned && returned != previous) DeleteObject(returned);
}

UniqueBitmap BitmapFromIcon(const IconBitmap& icon) {
  void* bits = nullptr;
  UniqueBitmap bitmap = CreateTopDownSurface(kIconSize, kIconSize, &bits);
  if (!bitmap) return bitmap;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) pixels[y * kIconSize + x] = icon.ColourAt(x, y);
  }
  return bitmap;
}

UniqueIcon FileIcon32(const std::wstring& path, int index) {
  // ExtractIcon and a plain LoadImage give the system's icon size (48 at 150 %) or a file's
  // first image; this asks for 32 x 32, which takes the 32-pixel image where there is one.
  HICON icon = nullptr;
  const UINT got = PrivateExtractIconsW(path.c_str(), index, kIconSize, kIconSize, &icon, nullptr,
                                        1, LR_DEFAULTCOLOR);
  return AdoptExtractedIcon(got == 0 || got == UINT(-1) ? nullptr : icon);
}

Picture ComposeIcon(HICON icon, Rgb background) {
  void* bits = nullptr;
  UniqueBitmap surface = CreateTopDownSurface(kIconSize, kIconSize, &bits);
  Picture picture(kIconSize, kIconSize, background);
  if (!surface) return picture;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  std::fill(pixels, pixels + kIconSize * kIconSize, background);
  if (IsDrawableIcon(icon)) {
    MemoryDC dc;
    SelectGuard select(dc.get(), surface.get());
    DrawIconEx(dc.get(), 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    GdiFlush();
  }
  for (int i = 0; i < kIconSize * kIconSize; ++i) picture.pixels[i] = pixels[i] & 0xFFFFFF;
  return picture;
}

Picture PictureFromBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
  Picture picture(info.bmWidth, info.bmHeight);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = info.bmWidth;
  bi.bmiHeader.biHeight = -info.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  MemoryDC dc;
  GetDIBits(dc.get(), bitmap, 0, info.bmHeight, picture.pixels.data(), &bi, DIB_RGB_COLORS);
  for (Rgb& p : picture.pixels) p &= 0xFFFFFF;
  return picture;
}

}  // namespace quenda::win
