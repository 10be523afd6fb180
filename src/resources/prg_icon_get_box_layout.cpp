#include "resources/prg_icon_get_box_layout.h"

namespace quenda {

namespace {

using namespace icon_get_ids;

// The frame is a real parent, so what lies on it is placed relative to it: Image2 at (60,36) in
// the window is (3,3) in its bevel at (51,24) in the frame at (6,9).
constexpr LayoutRow kLayout[] = {
    {ControlKind::RaisedPanel, L"Bevel1", Bevel1, 0, 6, 9, 436, 151, L""},
    {ControlKind::RaisedPanel, L"Bevel2", Bevel2, Bevel1, 51, 24, 38, 38, L""},
    {ControlKind::Image, L"Image2", Image2, Bevel2, 3, 3, 32, 32, L""},
    {ControlKind::Label, L"Label1", Label1, Bevel1, 100, 41, 0, 0, L"アイコン選択"},
    {ControlKind::Label, L"Label2", Label2, Bevel1, 172, 41, 0, 0, L"Label2"},
    // A white scroll box and the strip inside it, one pixel left of its edge; the strip's width
    // follows the file's icon count.
    {ControlKind::Custom, L"IconForm", IconForm, Bevel1, 21, 78, 394, 57, L""},
    {ControlKind::Custom, L"Image1", Image1, IconForm, -1, 0, 0, 32, L""},
    {ControlKind::Button, L"SpeedButton1", SpeedButton1, 0, 382, 164, 59, 25, L"OK"},
};

}  // namespace

std::span<const LayoutRow> PrgIconGetBoxLayout() { return kLayout; }

}  // namespace quenda
