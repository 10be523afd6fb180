#pragma once
// The main window's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace main_ids {
inline constexpr int Client = 100, PageBank = 101, SlotGrid = 102, Details = 103,
                     AccessCountPanel = 104, LastAccessPanel = 105;
inline constexpr int InfoLine = 110, MemoBox = 111, AccessCountLabel = 112, LastAccessLabel = 113;
inline constexpr int BlankIconImage = 120, IconImage = 121;
// The button of the layout row "SpeedButtonN" has the identifier 200 + N, "LabelN" 300 + N.
constexpr int ButtonId(int n) { return 200 + n; }
constexpr int LabelId(int n) { return 300 + n; }
inline constexpr int FirstSlotButton = ButtonId(18), LastSlotButton = ButtonId(42);
}  // namespace main_ids

inline constexpr WindowSize kMainWindowSize{366, 362};
std::span<const LayoutRow> MainWindowLayout();

}  // namespace quenda
