#pragma once
// Slot fields as whole UTF-16 texts: the field takes the CP932 cut as it always has, and what
// the cut cannot hold exactly is kept beside the table (slot_table/full_text.h).
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/slot_table.h"

namespace quenda {

// Sets a field from a whole text. Target and WorkFolder keep the text beside the field when
// their cut is not exact; other fields simply take the cut.
void SetSlotFieldWide(int field, PageIndex page, SlotIndex slot, std::wstring_view text);
// A field's whole text: the text kept beside it while that applies, else the field itself.
std::wstring SlotFieldWide(int field, PageIndex page, SlotIndex slot);

// The same for an entry's field and the whole text (UTF-8) it carries beside it.
std::wstring WholeText(std::span<const char> field, const std::optional<std::string>& whole);
void SetWholeText(std::span<char> field, std::optional<std::string>& whole,
                  std::wstring_view text);

}  // namespace quenda
