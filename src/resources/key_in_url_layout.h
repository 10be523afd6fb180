#pragma once
// The URL entry editor's controls.
#include "ui/layout_row.h"

namespace quenda {

// Panel1 shows the access count, Panel2 the last access time (the other way round from the
// program editor's).
namespace url_ids {
inline constexpr int Bevel1 = 100, LabeledEdit2Label = 101, LabeledEdit2 = 102,
                     LabeledEdit1Label = 103, LabeledEdit1 = 104, Label1 = 105, Panel1 = 106,
                     Label2 = 107, Panel2 = 108, Label5 = 109, RichEdit1 = 110, GroupBox1 = 111,
                     GroupFrame = 112, SpeedButton18 = 113, CheckBox1 = 114, MaskEdit1 = 115,
                     SpeedButton5 = 116, Image1 = 117, SpeedButton7 = 118, SpeedButton2 = 119,
                     SpeedButton6 = 120, SpeedButton3 = 121, SpeedButton4 = 122;
}  // namespace url_ids

std::span<const LayoutRow> KeyInUrlLayout();

}  // namespace quenda
