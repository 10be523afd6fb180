#include "resources/program_editor_layout.h"

namespace quenda {

namespace {

using namespace prg_ids;

constexpr LayoutRow kLayout[] = {
    {ControlKind::SunkenPanel, L"Bevel1", KeyFrame, 0, 40, 31, 78, 48, L""},
    {ControlKind::Button, L"SpeedButton7", KeyPreview, 0, 44, 35, 70, 40, L""},
    {ControlKind::Label, L"Label6", TitleLabel, 0, 159, 21, 0, 0, L"プログラム名"},
    {ControlKind::Label, L"Label7", TitleText, 0, 159, 39, 350, 14, L""},
    {ControlKind::Label, L"Label11", HeadingLabel, 0, 159, 67, 0, 0, L"タイトル"},
    {ControlKind::Edit, L"Edit1", HeadingEdit, 0, 159, 82, 350, 20, L""},
    {ControlKind::Label, L"Label1", ProgramLabel, 0, 35, 113, 0, 0, L"プログラム名"},
    {ControlKind::Label, L"Label2", ProgramPath, 0, 35, 129, 474, 14, L""},
    {ControlKind::Button, L"SpeedButton6", ProgramButton, 0, 519, 107, 44, 21, L"参照"},
    {ControlKind::Label, L"Label4", WorkFolderLabel, 0, 35, 161, 0, 0, L"作業フォルダー"},
    {ControlKind::Label, L"Label5", WorkFolderPath, 0, 35, 177, 474, 14, L""},
    {ControlKind::Button, L"SpeedButton2", WorkFolderButton, 0, 519, 157, 45, 21, L"参照"},
    {ControlKind::Label, L"Label10", LastAccessLabel, 0, 36, 223, 0, 0, L"最終ｱｸｾｽ日"},
    {ControlKind::ValuePanel, L"Panel1", LastAccessPanel, 0, 36, 238, 137, 20, L""},
    {ControlKind::Label, L"Label8", AccessCountLabel, 0, 204, 223, 0, 0, L"アクセス回数"},
    {ControlKind::ValuePanel, L"Panel2", AccessCountPanel, 0, 200, 238, 40, 20, L""},
    {ControlKind::Label, L"Label9", MemoLabel, 0, 307, 207, 0, 0, L"備　考"},
    {ControlKind::Memo, L"Memo1", MemoBox, 0, 306, 223, 256, 36, L""},
    ColouredButton(L"SpeedButton8", ClearButton, 0, 376, 277, 64, 22, L"クリヤー", kMaroonText),
    ColouredButton(L"SpeedButton3", SetButton, 0, 446, 277, 64, 22, L"設　定", kBlueText),
    {ControlKind::Button, L"SpeedButton4", CancelButton, 0, 516, 277, 64, 22, L"ｷｬﾝｾﾙ"},
};

}  // namespace

std::span<const LayoutRow> ProgramEditorLayout() { return kLayout; }

}  // namespace quenda
