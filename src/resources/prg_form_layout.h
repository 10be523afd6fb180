#pragma once
// The program entry editor's controls.
#include "ui/layout_row.h"

namespace quenda {

// Panel1 shows the last access time, Panel2 the access count (the other way round from the URL
// editor's).
namespace prg_ids {
inline constexpr int Bevel1 = 100, SpeedButton7 = 101, Label6 = 102, Label7 = 103, Label11 = 104,
                     Edit1 = 105, Label1 = 106, Label2 = 107, SpeedButton6 = 108, Label4 = 109,
                     Label5 = 110, SpeedButton2 = 111, Label10 = 112, Panel1 = 113, Label8 = 114,
                     Panel2 = 115, Label9 = 116, Memo1 = 117, SpeedButton8 = 118,
                     SpeedButton3 = 119, SpeedButton4 = 120;
}  // namespace prg_ids

std::span<const LayoutRow> PrgFormLayout();

}  // namespace quenda
