#include "resources/key_in_url_layout.h"

namespace quenda {

namespace {

using namespace url_ids;

constexpr LayoutRow kLayout[] = {
    // The bevel lies behind the other controls (the window puts it last in Z-order).
    {ControlKind::RaisedPanel, L"Bevel1", Bevel1, 0, 5, 8, 578, 215, L""},
    {ControlKind::Label, L"LabeledEdit2.Label", LabeledEdit2Label, 0, 218, 13, 0, 0, L"ＵＲＬ"},
    {ControlKind::Edit, L"LabeledEdit2", LabeledEdit2, 0, 218, 28, 350, 20, L""},
    {ControlKind::Label, L"LabeledEdit1.Label", LabeledEdit1Label, 0, 218, 62, 0, 0, L"見出し"},
    {ControlKind::Edit, L"LabeledEdit1", LabeledEdit1, 0, 218, 77, 350, 20, L""},
    {ControlKind::Label, L"Label1", Label1, 0, 322, 111, 0, 0, L"ｱｸｾｽ回数"},
    {ControlKind::ValuePanel, L"Panel1", Panel1, 0, 322, 126, 66, 20, L""},
    {ControlKind::Label, L"Label2", Label2, 0, 407, 111, 0, 0, L"最終アクセス日"},
    {ControlKind::ValuePanel, L"Panel2", Panel2, 0, 407, 126, 161, 20, L""},
    {ControlKind::Label, L"Label5", Label5, 0, 218, 151, 60, 14, L"Memo"},
    {ControlKind::Memo, L"RichEdit1", RichEdit1, 0, 218, 166, 350, 43, L""},
    {ControlKind::Panel, L"GroupBox1", GroupBox1, 0, 18, 22, 182, 187, L""},
    {ControlKind::GroupBox, L"GroupBox1.Frame", GroupFrame, GroupBox1, 0, 0, 182, 187,
     L"Keyの表示方法"},
    {ControlKind::Button, L"SpeedButton18", SpeedButton18, GroupBox1, 53, 28, 70, 40, L""},
    {ControlKind::CheckBox, L"CheckBox1", CheckBox1, GroupBox1, 20, 90, 120, 17, L"文字表示"},
    {ControlKind::Edit, L"MaskEdit1", MaskEdit1, GroupBox1, 18, 108, 153, 20, L""},
    {ControlKind::Button, L"SpeedButton5", SpeedButton5, GroupBox1, 96, 148, 72, 28, L"Fileから"},
    {ControlKind::Image, L"Image1", Image1, GroupBox1, 20, 148, 32, 32, L"", 0, false},
    {ControlKind::Button, L"SpeedButton7", SpeedButton7, 0, 173, 230, 79, 20, L"ファイル起動"},
    {ControlKind::Button, L"SpeedButton2", SpeedButton2, 0, 262, 230, 70, 20, L"ＵＲＬ取得", 0, true,
     kMaroonText},
    {ControlKind::Button, L"SpeedButton6", SpeedButton6, 0, 355, 230, 70, 20, L"クリヤー", 0, true,
     kMaroonText},
    {ControlKind::Button, L"SpeedButton3", SpeedButton3, 0, 435, 230, 70, 20, L"設　定", 0, true,
     kBlueText},
    {ControlKind::Button, L"SpeedButton4", SpeedButton4, 0, 515, 230, 70, 20, L"ｷｬﾝｾﾙ"},
};

}  // namespace

std::span<const LayoutRow> KeyInUrlLayout() { return kLayout; }

}  // namespace quenda
