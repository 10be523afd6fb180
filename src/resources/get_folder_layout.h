#pragma once
// The folder chooser's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace folder_ids {
inline constexpr int ShellTreeView1 = 100;
inline constexpr int Panel1 = 110, Panel2 = 111;  // the bottom bar, and the panel at its right
inline constexpr int SpeedButton1 = 120, SpeedButton2 = 121;
// Heights and widths of the aligned controls; their places follow the window's size.
inline constexpr int kBarHeight = 30, kButtonPanelWidth = 156;
}  // namespace folder_ids

std::span<const LayoutRow> GetFolderLayout();

}  // namespace quenda
