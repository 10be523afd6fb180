#include "resources/folder_chooser_layout.h"

namespace quenda {

namespace {

using namespace folder_ids;

// The tree fills the window above the bar; the bar lies along the bottom and the button panel
// at the bar's right: the window places them on every size change.
constexpr LayoutRow kLayout[] = {
    {ControlKind::RaisedPanel, L"Panel1", Bar, 0, 0, 0, 0, kBarHeight, L""},
    {ControlKind::SunkenPanel, L"Panel2", ButtonPanel, Bar, 0, 1, kButtonPanelWidth, kBarHeight - 2,
     L""},
    ColouredButton(L"SpeedButton2", SetButton, ButtonPanel, 13, 3, 56, 22, L"設　定", kBlueText),
    {ControlKind::Button, L"SpeedButton1", CancelButton, ButtonPanel, 87, 3, 56, 22, L"ｷｬﾝｾﾙ"},
    {ControlKind::TreeView, L"ShellTreeView1", Tree, 0, 0, 0, 0, 0, L""},
};

}  // namespace

std::span<const LayoutRow> FolderChooserLayout() { return kLayout; }

}  // namespace quenda
