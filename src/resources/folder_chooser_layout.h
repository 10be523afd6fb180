#pragma once
// The folder chooser's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace folder_ids {
inline constexpr int Tree = 100;
inline constexpr int Bar = 110, ButtonPanel = 111;  // the bottom bar, and the panel at its right
inline constexpr int CancelButton = 120, SetButton = 121;
// Heights and widths of the aligned controls; their places follow the window's size.
inline constexpr int kBarHeight = 30, kButtonPanelWidth = 156;
}  // namespace folder_ids

inline constexpr WindowSize kFolderChooserSize{589, 321, true};
std::span<const LayoutRow> FolderChooserLayout();

}  // namespace quenda
