#include "resources/backup_chooser_layout.h"

namespace quenda {

namespace {

using namespace backup_ids;

constexpr LayoutRow kLayout[] = {
    {ControlKind::Label, L"Label1", Heading, 0, 12, 12, 276, 14, kChooseBackupText},
    {ControlKind::ListBox, L"ListBox1", List, 0, 12, 32, 276, 180, L""},
    ColouredButton(L"SpeedButton1", RestoreButton, 0, 150, 220, 62, 22, L"戻す", kBlueText),
    {ControlKind::Button, L"SpeedButton2", CancelButton, 0, 226, 220, 62, 22, L"ｷｬﾝｾﾙ"},
};

}  // namespace

std::span<const LayoutRow> BackupChooserLayout() { return kLayout; }

}  // namespace quenda
