#pragma once
// The icon picker's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace picker_ids {
inline constexpr int Frame = 100, PreviewFrame = 101;  // the frame, and the bevel round the preview
inline constexpr int PreviewImage = 110, ChoiceLabel = 111, ChosenIndex = 112;
inline constexpr int StripBox = 120, Strip = 121;  // the scroll box and the icon strip in it
inline constexpr int OkButton = 130;
}  // namespace picker_ids

inline constexpr WindowSize kIconPickerSize{457, 224, true};
std::span<const LayoutRow> IconPickerLayout();

}  // namespace quenda
