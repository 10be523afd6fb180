#pragma once
// A slot's access statistics: the count of openings and the time of the last one.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/slot_table.h"

namespace quenda {

// A signed 32-bit decimal: leading blanks and a sign allowed, nothing after the digits.
std::optional<std::int32_t> ParseCount(std::string_view text);

// The slot's AccessCount as a number; an empty, all-blank or unreadable count is 0, so a slot
// whose count some other program garbled still opens and counts on.
std::int32_t ReadAccessCount(const SlotTable& table, PageIndex page, SlotIndex slot);

// LastAccess := NowText; then AccessCount := count + 1. At the largest count the count stays
// where it is.
void UpdateAccessStatistics(SlotTable& table, PageIndex page, SlotIndex slot);

}  // namespace quenda
