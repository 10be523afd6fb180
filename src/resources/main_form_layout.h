#pragma once
// The main window's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace main_ids {
inline constexpr int Panel1 = 100, Panel2 = 101, Panel4 = 102, Panel5 = 103, Panel8 = 104,
                     Panel10 = 105;
inline constexpr int Edit1 = 110, Memo1 = 111, Label17 = 112, Label18 = 113;
inline constexpr int IconClr_Imag = 120, Image1 = 121;
// SpeedButtonN has the identifier 200 + N; LabelN 300 + N.
constexpr int SpeedButton(int n) { return 200 + n; }
constexpr int Label(int n) { return 300 + n; }
inline constexpr int FirstSlotButton = SpeedButton(18), LastSlotButton = SpeedButton(42);
}  // namespace main_ids

std::span<const LayoutRow> MainFormLayout();

}  // namespace quenda
