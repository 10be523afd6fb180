#pragma once
// Slot fields as whole UTF-16 texts: the field takes the CP932 cut as it always has, and what
// the cut cannot hold exactly is kept beside it in the table (core/full_text.h).
#include <string>
#include <string_view>

#include "core/slot_table.h"

namespace quenda {

// Sets a field from a whole text, keeping the text beside the field when its cut is not exact.
void SetSlotFieldWide(SlotTable& table, int field, PageIndex page, SlotIndex slot,
                      std::wstring_view text);
// A field's whole text: the text kept beside it, else the field itself.
std::wstring SlotFieldWide(const SlotTable& table, int field, PageIndex page, SlotIndex slot);

// The same for an entry's field.
std::wstring WholeText(const SlotEntry& entry, int field);
void SetWholeText(SlotEntry& entry, int field, std::wstring_view text);

// The start of a text that takes at most `bytes` bytes as CP932 would write it (a character
// CP932 lacks counted as two), ended on a whole character: a button's short caption.
std::wstring FirstColumns(std::wstring_view text, std::size_t bytes);

}  // namespace quenda
