#pragma once
// The URL entry editor's controls.
#include "ui/layout_row.h"

namespace quenda {

namespace url_ids {
inline constexpr int Frame = 100, AddressLabel = 101, AddressEdit = 102, HeadingLabel = 103,
                     HeadingEdit = 104, AccessCountLabel = 105, AccessCountPanel = 106,
                     LastAccessLabel = 107, LastAccessPanel = 108, MemoLabel = 109, MemoBox = 110;
// The group that shows how the slot's key looks: its preview, title or icon.
inline constexpr int KeyGroup = 111, KeyGroupFrame = 112, KeyPreview = 113, ShowTitleBox = 114,
                     KeyTitleEdit = 115, IconFileButton = 116, IconImage = 117;
inline constexpr int LocalPageButton = 118, CaptureButton = 119, ClearButton = 120,
                     SetButton = 121, CancelButton = 122;
}  // namespace url_ids

inline constexpr WindowSize kUrlEditorSize{592, 255};
std::span<const LayoutRow> UrlEditorLayout();

}  // namespace quenda
