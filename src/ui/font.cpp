#include "ui/font.h"

#include <string>

namespace quenda::win {

namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool HasFace(HDC dc, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &lf, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

const std::wstring& UiFontFace() {
  static const std::wstring face = [] {
    const wchar_t* candidates[] = {L"ＭＳ Ｐゴシック", L"MS PGothic",  L"IPAPGothic",
                                   L"IPAexGothic",     L"VL PGothic", L"Noto Sans CJK JP",
                                   L"IPAGothic",       L"ＭＳ ゴシック"};
    WindowDC dc(nullptr);
    for (const wchar_t* f : candidates) {
      if (HasFace(dc.get(), f)) return std::wstring(f);
    }
    return std::wstring(L"ＭＳ Ｐゴシック");  // let the font mapper pick a Shift-JIS face
  }();
  return face;
}

UniqueFont CreateUiFont(int pixel_height) {
  LOGFONTW lf{};
  lf.lfHeight = -pixel_height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  lstrcpynW(lf.lfFaceName, UiFontFace().c_str(), LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace quenda::win
