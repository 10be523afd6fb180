#pragma once
// The backup chooser's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace backup_ids {
inline constexpr int Heading = 101, List = 102, RestoreButton = 103, CancelButton = 104;
}  // namespace backup_ids

// What the heading says over the list, and instead when there is nothing to list.
inline constexpr const wchar_t* kChooseBackupText = L"戻すバックアップを選んでください。";
inline constexpr const wchar_t* kNoBackupText = L"バックアップはまだありません。";

inline constexpr WindowSize kBackupChooserSize{300, 252};
std::span<const LayoutRow> BackupChooserLayout();

}  // namespace quenda
