#include "resources/icon_picker_layout.h"

namespace quenda {

namespace {

using namespace picker_ids;

// The frame is a real parent, so what lies on it is placed relative to it: the preview at
// (60,36) in the window is (3,3) in its bevel at (51,24) in the frame at (6,9).
constexpr LayoutRow kLayout[] = {
    {ControlKind::RaisedPanel, L"Bevel1", Frame, 0, 6, 9, 436, 151, L""},
    {ControlKind::RaisedPanel, L"Bevel2", PreviewFrame, Frame, 51, 24, 38, 38, L""},
    {ControlKind::Image, L"Image2", PreviewImage, PreviewFrame, 3, 3, 32, 32, L""},
    {ControlKind::Label, L"Label1", ChoiceLabel, Frame, 100, 41, 0, 0, L"アイコン選択"},
    {ControlKind::Label, L"Label2", ChosenIndex, Frame, 172, 41, 0, 0, L"Label2"},
    // A white scroll box and the strip inside it, one pixel left of its edge; the strip's width
    // follows the file's icon count.
    {ControlKind::Custom, L"IconForm", StripBox, Frame, 21, 78, 394, 57, L""},
    {ControlKind::Custom, L"Image1", Strip, StripBox, -1, 0, 0, 32, L""},
    {ControlKind::Button, L"SpeedButton1", OkButton, 0, 382, 164, 59, 25, L"OK"},
};

}  // namespace

std::span<const LayoutRow> IconPickerLayout() { return kLayout; }

}  // namespace quenda
