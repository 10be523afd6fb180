#pragma once
// Whole texts: what a field's CP932 bytes could not hold exactly (a long path, characters
// CP932 lacks) is kept as UTF-8 beside the field, in the table file's own block. An earlier
// version kept the texts of Target and WorkFolder in a file beside the table,
// "Quenda.Tbl.utf8"; it is read once and carried into the table file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/slot_table.h"

namespace quenda {

// The longest Windows path, 32,767 UTF-16 units, at three UTF-8 bytes each at most.
inline constexpr std::size_t kMaxWholeTextBytes = 3 * 32767;

// An entry of the earlier file: the text applies to the record's field only while that holds
// exactly the cut it was written with.
struct LegacyWholeText {
  int record;  // page * 25 + slot
  int field;
  std::string cut, utf8;
  bool operator==(const LegacyWholeText&) const = default;
};

// The earlier file beside a table file.
PathText LegacyWholeTextPath(const PathText& table_path);
// Its entries: a first line naming format and version, then one entry a line. A file without
// the first line gives none; a line that is not a whole entry is skipped.
std::vector<LegacyWholeText> ParseLegacyWholeTexts(std::span<const std::uint8_t> bytes);
// Keeps beside each field the text of the entries that still belong to it; returns how many.
std::size_t ApplyLegacyWholeTexts(SlotTable& table, const std::vector<LegacyWholeText>& entries);

// Whether the bytes are well-formed UTF-8 (no surrogates, no overlong forms).
bool IsUtf8(std::string_view text);

}  // namespace quenda
