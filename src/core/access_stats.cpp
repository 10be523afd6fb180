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

std::optional<std::int32_t> ReadAccessCount(PageIndex page, SlotIndex slot) {
  const std::string count = GetSlotField(AccessCount, page, slot);
  // The URL editor leaves the count empty for an address typed by hand: never opened yet.
  if (count.find_first_not_of(' ') == std::string::npos) return 0;
  return ParseCount(count);
}

MaybeError UpdateAccessStatistics(PageIndex page, SlotIndex slot) {
  SetSlotField(LastAccess, page, slot, NowText());
  const std::optional<std::int32_t> value = ReadAccessCount(page, slot);
  if (!value) {
    return Error::WithText(msg::kNotInteger, GetSlotField(AccessCount, page, slot));
  }
  const std::int32_t next = *value == std::numeric_limits<std::int32_t>::max() ? *value : *value + 1;
  SetSlotField(AccessCount, page, slot, std::to_string(next));
  return std::nullopt;
}

}  // namespace quenda
