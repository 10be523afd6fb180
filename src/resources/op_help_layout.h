#pragma once
// The help dialog's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace help_ids {
inline constexpr int Label1 = 101, Label2 = 102, StaticText1 = 103, Label3 = 104,
                     SpeedButton1 = 105;
}  // namespace help_ids

// The product's home page: the link's text and the address it opens.
inline constexpr const wchar_t* kHomePage = L"https://quenda.example.com/manual/";

std::span<const LayoutRow> OpHelpLayout();

}  // namespace quenda
