#pragma once
// The program entry editor's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace prg_ids {
inline constexpr int KeyFrame = 100, KeyPreview = 101, TitleLabel = 102, TitleText = 103,
                     HeadingLabel = 104, HeadingEdit = 105;
inline constexpr int ProgramLabel = 106, ProgramPath = 107, ProgramButton = 108,
                     WorkFolderLabel = 109, WorkFolderPath = 110, WorkFolderButton = 111;
inline constexpr int LastAccessLabel = 112, LastAccessPanel = 113, AccessCountLabel = 114,
                     AccessCountPanel = 115, MemoLabel = 116, MemoBox = 117;
inline constexpr int ClearButton = 118, SetButton = 119, CancelButton = 120;
}  // namespace prg_ids

inline constexpr WindowSize kProgramEditorSize{595, 314};
std::span<const LayoutRow> ProgramEditorLayout();

}  // namespace quenda
