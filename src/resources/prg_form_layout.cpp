#include "resources/prg_form_layout.h"

namespace quenda {

namespace {

using namespace prg_ids;

constexpr LayoutRow kLayout[] = {
    {ControlKind::SunkenPanel, L"Bevel1", Bevel1, 0, 40, 31, 78, 48, L""},
    {ControlKind::Button, L"SpeedButton7", SpeedButton7, 0, 44, 35, 70, 40, L""},
    {ControlKind::Label, L"Label6", Label6, 0, 159, 21, 0, 0, L"プログラム名"},
    {ControlKind::Label, L"Label7", Label7, 0, 159, 39, 350, 14, L""},
    {ControlKind::Label, L"Label11", Label11, 0, 159, 67, 0, 0, L"タイトル"},
    {ControlKind::Edit, L"Edit1", Edit1, 0, 159, 82, 350, 20, L""},
    {ControlKind::Label, L"Label1", Label1, 0, 35, 113, 0, 0, L"プログラム名"},
    {ControlKind::Label, L"Label2", Label2, 0, 35, 129, 474, 14, L""},
    {ControlKind::Button, L"SpeedButton6", SpeedButton6, 0, 519, 107, 44, 21, L"参照"},
    {ControlKind::Label, L"Label4", Label4, 0, 35, 161, 0, 0, L"作業フォルダー"},
    {ControlKind::Label, L"Label5", Label5, 0, 35, 177, 474, 14, L""},
    {ControlKind::Button, L"SpeedButton2", SpeedButton2, 0, 519, 157, 45, 21, L"参照"},
    {ControlKind::Label, L"Label10", Label10, 0, 36, 223, 0, 0, L"最終ｱｸｾｽ日"},
    {ControlKind::ValuePanel, L"Panel1", Panel1, 0, 36, 238, 137, 20, L""},
    {ControlKind::Label, L"Label8", Label8, 0, 204, 223, 0, 0, L"アクセス回数"},
    {ControlKind::ValuePanel, L"Panel2", Panel2, 0, 200, 238, 40, 20, L""},
    {ControlKind::Label, L"Label9", Label9, 0, 307, 207, 0, 0, L"備　考"},
    {ControlKind::Memo, L"Memo1", Memo1, 0, 306, 223, 256, 36, L""},
    {ControlKind::Button, L"SpeedButton8", SpeedButton8, 0, 376, 277, 64, 22, L"クリヤー", 0, true,
     kMaroonText},
    {ControlKind::Button, L"SpeedButton3", SpeedButton3, 0, 446, 277, 64, 22, L"設　定", 0, true,
     kBlueText},
    {ControlKind::Button, L"SpeedButton4", SpeedButton4, 0, 516, 277, 64, 22, L"ｷｬﾝｾﾙ"},
};

}  // namespace

std::span<const LayoutRow> PrgFormLayout() { return kLayout; }

}  // namespace quenda
