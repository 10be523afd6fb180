#pragma once
// What a dropped file makes of a slot: its fields, and which way its icon is found.
#include <string>
#include <string_view>

#include "core/slot_table.h"

namespace quenda {

// A shortcut by its extension: exactly ".lnk"; ".LNK" is a plain file.
bool IsShortcutPath(std::string_view path);

// Writes the entry of a dropped file into a cleared slot: Target the path as dropped, Title and
// DisplayName its file name, Flag1 "0", and a new entry's count, date and memo.
void WriteDroppedEntry(SlotTable& table, PageIndex page, SlotIndex slot, std::string_view path);

}  // namespace quenda
