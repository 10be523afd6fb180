#pragma once
// The help dialog's controls.
#include <quenda_config.h>

#include "ui/layout_row.h"

namespace quenda {

namespace help_ids {
inline constexpr int Heading = 101, Note = 102, Link = 103, Version = 104,
                     OkButton = 105;
}  // namespace help_ids

// The product's home page as built: a file name is looked for beside Quenda.exe (the manual
// the package puts there); without that file the web address is opened, when one is set.
inline constexpr const wchar_t* kHomePage = QUENDA_HOME_PAGE;
inline constexpr const wchar_t* kHomePageAddress = QUENDA_HOME_PAGE_ADDRESS;

inline constexpr WindowSize kHelpDialogSize{393, 114};
std::span<const LayoutRow> HelpDialogLayout();

}  // namespace quenda
