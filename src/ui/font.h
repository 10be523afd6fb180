#pragma once
// The user-interface font: the proportional Japanese Gothic at a pixel height, Shift-JIS.
#include "platform/handle.h"

namespace quenda::win {

// The face used: "ＭＳ Ｐゴシック" when the system has it, else another Japanese Gothic.
const std::wstring& UiFontFace();
UniqueFont CreateUiFont(int pixel_height);

}  // namespace quenda::win
