#pragma once
// The icon picker's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace icon_get_ids {
inline constexpr int Bevel1 = 100, Bevel2 = 101;  // the frame, and the bevel round Image2
inline constexpr int Image2 = 110, Label1 = 111, Label2 = 112;
inline constexpr int IconForm = 120, Image1 = 121;  // the scroll box and the icon strip in it
inline constexpr int SpeedButton1 = 130;
}  // namespace icon_get_ids

std::span<const LayoutRow> PrgIconGetBoxLayout();

}  // namespace quenda
