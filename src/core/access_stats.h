#pragma once
// A slot's access statistics: the count of openings and the time of the last one.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/errors.h"
#include "core/slot_table.h"

namespace quenda {

// A signed 32-bit decimal: leading blanks and a sign allowed, nothing after the digits.
std::optional<std::int32_t> ParseCount(std::string_view text);

// The slot's AccessCount as a number; an empty or all-blank count is 0. nullopt when it holds
// anything else that is no number.
std::optional<std::int32_t> ReadAccessCount(PageIndex page, SlotIndex slot);

// LastAccess := NowText; then AccessCount := count + 1. A count that is not a number fails
// with "'%s' は整数ではありません" (LastAccess already written). At the largest count the
// count stays where it is.
MaybeError UpdateAccessStatistics(PageIndex page, SlotIndex slot);

}  // namespace quenda
