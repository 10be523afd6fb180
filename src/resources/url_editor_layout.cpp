#include "resources/url_editor_layout.h"

namespace quenda {

namespace {

using namespace url_ids;

constexpr LayoutRow kLayout[] = {
    // The bevel lies behind the other controls (the window puts it last in Z-order).
    {ControlKind::RaisedPanel, L"Bevel1", Frame, 0, 5, 8, 578, 215, L""},
    {ControlKind::Label, L"LabeledEdit2.Label", AddressLabel, 0, 218, 13, 0, 0, L"ＵＲＬ"},
    {ControlKind::Edit, L"LabeledEdit2", AddressEdit, 0, 218, 28, 350, 20, L""},
    {ControlKind::Label, L"LabeledEdit1.Label", HeadingLabel, 0, 218, 62, 0, 0, L"見出し"},
    {ControlKind::Edit, L"LabeledEdit1", HeadingEdit, 0, 218, 77, 350, 20, L""},
    {ControlKind::Label, L"Label1", AccessCountLabel, 0, 322, 111, 0, 0, L"ｱｸｾｽ回数"},
    {ControlKind::ValuePanel, L"Panel1", AccessCountPanel, 0, 322, 126, 66, 20, L""},
    {ControlKind::Label, L"Label2", LastAccessLabel, 0, 407, 111, 0, 0, L"最終アクセス日"},
    {ControlKind::ValuePanel, L"Panel2", LastAccessPanel, 0, 407, 126, 161, 20, L""},
    {ControlKind::Label, L"Label5", MemoLabel, 0, 218, 151, 60, 14, L"Memo"},
    {ControlKind::Memo, L"RichEdit1", MemoBox, 0, 218, 166, 350, 43, L""},
    {ControlKind::Panel, L"GroupBox1", KeyGroup, 0, 18, 22, 182, 187, L""},
    {ControlKind::GroupBox, L"GroupBox1.Frame", KeyGroupFrame, KeyGroup, 0, 0, 182, 187,
     L"Keyの表示方法"},
    {ControlKind::Button, L"SpeedButton18", KeyPreview, KeyGroup, 53, 28, 70, 40, L""},
    {ControlKind::CheckBox, L"CheckBox1", ShowTitleBox, KeyGroup, 20, 90, 120, 17, L"文字表示"},
    {ControlKind::Edit, L"MaskEdit1", KeyTitleEdit, KeyGroup, 18, 108, 153, 20, L""},
    {ControlKind::Button, L"SpeedButton5", IconFileButton, KeyGroup, 96, 148, 72, 28, L"Fileから"},
    {ControlKind::Image, L"Image1", IconImage, KeyGroup, 20, 148, 32, 32, L"", 0, false},
    {ControlKind::Button, L"SpeedButton7", LocalPageButton, 0, 173, 230, 79, 20, L"ファイル起動"},
    ColouredButton(L"SpeedButton2", CaptureButton, 0, 262, 230, 70, 20, L"ＵＲＬ取得", kMaroonText),
    ColouredButton(L"SpeedButton6", ClearButton, 0, 355, 230, 70, 20, L"クリヤー", kMaroonText),
    ColouredButton(L"SpeedButton3", SetButton, 0, 435, 230, 70, 20, L"設　定", kBlueText),
    {ControlKind::Button, L"SpeedButton4", CancelButton, 0, 515, 230, 70, 20, L"ｷｬﾝｾﾙ"},
};

}  // namespace

std::span<const LayoutRow> UrlEditorLayout() { return kLayout; }

}  // namespace quenda
