#pragma once
// The whole texts of Target and WorkFolder fields that their 128 CP932 bytes could not hold
// exactly (a long path, characters CP932 lacks). Each entry keeps the field value it was cut
// to, and applies only while the field still holds exactly that value, so a table that some
// other program changed never opens a stale text. Kept in a UTF-8 file beside the table.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/slot_table.h"

namespace quenda {

// Whether a field (Target or WorkFolder) can have a whole text beside it.
bool HasFullText(int field);

// Records the whole text (UTF-8) of a slot's field whose value is now `cut`. Other fields are
// ignored.
void SetFullText(PageIndex page, SlotIndex slot, int field, std::string_view cut,
                 std::string_view utf8);
// The whole text when an entry exists and the field still equals its cut.
std::optional<std::string> FullText(PageIndex page, SlotIndex slot, int field);
// Forgets the entry of one field, or every entry.
void ForgetFullText(PageIndex page, SlotIndex slot, int field);
void ForgetFullTexts();

// Every entry as kept, whether it applies or not, in record and field order.
struct FullTextEntry {
  int record;  // page * 25 + slot
  int field;
  std::string cut, utf8;
  bool operator==(const FullTextEntry&) const = default;
};
std::vector<FullTextEntry> FullTextEntries();

// The companion file: ProgramDir followed directly by "\Quenda.Tbl.utf8".
PathText FullTextFilePath();

// The file's bytes: a first line naming format and version, then one entry a line.
std::vector<std::uint8_t> SerializeFullTexts(const SlotTable& table);
// Replaces the entries by those of a file. A file without the first line gives none; a line
// that is not a whole entry is skipped. Returns how many entries were taken.
std::size_t ParseFullTexts(std::span<const std::uint8_t> bytes);

// Whether the bytes are well-formed UTF-8 (no surrogates, no overlong forms).
bool IsUtf8(std::string_view text);

}  // namespace quenda
