#include "resources/help_dialog_layout.h"

namespace quenda {

namespace {

using namespace help_ids;

constexpr LayoutRow kLayout[] = {
    {ControlKind::Label, L"Label1", Heading, 0, 12, 12, 0, 0, L"操作説明に付いて", 0, true,
     0xFFFFFFFF, 13},
    {ControlKind::Label, L"Label2", Note, 0, 12, 30, 0, 0,
     L"当プログラムの操作説明はホームページをご覧下さい。　m(_　_)m", 0, true, 0xFFFFFFFF, 13},
    {ControlKind::Label, L"Label3", Version, 0, 14, 88, 0, 0, QUENDA_VERSION_LABEL},
    {ControlKind::Button, L"SpeedButton1", OkButton, 0, 324, 83, 47, 22, L"OK"},
    // The window colours it blue and gives it the hand cursor.
    {ControlKind::Link, L"StaticText1", Link, 0, 12, 54, 341, 17, kHomePage, 0, true,
     0xFFFFFFFF, 13},
};

}  // namespace

std::span<const LayoutRow> HelpDialogLayout() { return kLayout; }

}  // namespace quenda
