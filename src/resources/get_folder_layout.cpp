#include "resources/get_folder_layout.h"

namespace quenda {

namespace {

using namespace folder_ids;

// The tree fills the window above the bar; the bar lies along the bottom and the button panel
// at the bar's right: the window places them on every size change.
constexpr LayoutRow kLayout[] = {
    {ControlKind::RaisedPanel, L"Panel1", Panel1, 0, 0, 0, 0, kBarHeight, L""},
    {ControlKind::SunkenPanel, L"Panel2", Panel2, Panel1, 0, 1, kButtonPanelWidth, kBarHeight - 2,
     L""},
    {ControlKind::Button, L"SpeedButton2", SpeedButton2, Panel2, 13, 3, 56, 22, L"設　定", 0, true,
     kBlueText},
    {ControlKind::Button, L"SpeedButton1", SpeedButton1, Panel2, 87, 3, 56, 22, L"ｷｬﾝｾﾙ"},
    {ControlKind::TreeView, L"ShellTreeView1", ShellTreeView1, 0, 0, 0, 0, 0, L""},
};

}  // namespace

std::span<const LayoutRow> GetFolderLayout() { return kLayout; }

}  // namespace quenda
