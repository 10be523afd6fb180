#include "core/access_stats.h"

#include <limits>
#include <string>

#include "core/now_text.h"

namespace quenda {

std::optional<std::int32_t> ParseCount(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t ReadAccessCount(const SlotTable& table, PageIndex page, SlotIndex slot) {
  // The URL editor leaves the count empty for an address typed by hand: never opened yet.
  return ParseCount(GetSlotField(table, AccessCount, page, slot)).value_or(0);
}

void UpdateAccessStatistics(SlotTable& table, PageIndex page, SlotIndex slot) {
  SetSlotField(table, LastAccess, page, slot, NowText());
  const std::int32_t value = ReadAccessCount(table, page, slot);
  const std::int32_t next = value == std::numeric_limits<std::int32_t>::max() ? value : value + 1;
  SetSlotField(table, AccessCount, page, slot, std::to_string(next));
}

}  // namespace quenda
