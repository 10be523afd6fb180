#pragma once
// The slot table: 14 pages of 25 slots, each nine fixed-width CP932 fields and an icon, and the
// entries the editors take out of it and give back.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/slot_icon.h"

namespace quenda {

using PageIndex = int;  // 0..13
using SlotIndex = int;  // 0..24, the Tag of the slot button that shows it
using PageTag = int;    // 0..3, 100..107, 200..203

inline constexpr int kPageCount = 14;
inline constexpr int kSlotsPerPage = 25;
inline constexpr int kSlotCount = kPageCount * kSlotsPerPage;

// Field numbers, in record order.
enum FieldNo : int {
  Flag0 = 0,
  Flag1 = 1,
  Title = 2,
  Target = 3,
  DisplayName = 4,
  WorkFolder = 5,
  AccessCount = 6,
  LastAccess = 7,
  Memo = 8,
};
inline constexpr int kFieldCount = 9;

// The nine text fields exactly as they lie in memory and in the table file.
struct SlotFields {
  char Flag0[2];
  char Flag1[2];
  char Title[64];
  char Target[128];
  char DisplayName[128];
  char WorkFolder[128];
  char AccessCount[10];
  char LastAccess[20];
  char Memo[256];
};
static_assert(sizeof(SlotFields) == 738, "the record's fields are packed bytes");
inline constexpr std::size_t kFieldBytes = sizeof(SlotFields);

// A record: its fields and a reference to its slot's icon object. Copying a record (the
// editors' working copies) copies the reference, not the icon.
struct SlotRecord {
  SlotFields fields{};
  SlotIcon* Icon = nullptr;
};

struct SlotTable {
  std::array<SlotRecord, kSlotCount> records{};
  std::array<SlotIcon, kSlotCount> icons{};
  // Writes through SetSlotField, ClearSlot, StoreSlotIcon and StoreSlotEntry so far; loading
  // does not count, so whether the user changed anything since shows here.
  unsigned long changes = 0;

  SlotRecord& At(PageIndex page, SlotIndex slot) { return records[page * kSlotsPerPage + slot]; }
};

// Field bytes by number; an empty span for a number outside 0..8.
std::span<char> FieldBytes(SlotFields& fields, int field);
std::span<const char> FieldBytes(const SlotFields& fields, int field);

// A field's value: its bytes up to the first NUL, or all of them.
std::string FieldText(std::span<const char> field);
// Writes a text at the start of a field, cut to its width, with one NUL behind it when shorter;
// bytes behind that NUL keep their contents.
void SetFieldText(std::span<char> field, std::string_view text);

// The single process-wide table.
SlotTable& TheSlotTable();

extern PathText ProgramDir;

struct IconRectangle {
  int left = 0, top = 0, right = 0, bottom = 0;
};
extern IconRectangle IconRect;

std::string GetSlotField(int field, PageIndex page, SlotIndex slot);
void SetSlotField(int field, PageIndex page, SlotIndex slot, std::string_view text);
// A new entry in a cleared slot, written in field order: Target, Title, DisplayName, Flag1
// (`kind`: "0" a program or file, "1" an address), AccessCount "0", LastAccess (NowText) and an
// empty Memo.
void WriteNewEntry(PageIndex page, SlotIndex slot, std::string_view target, std::string_view title,
                   std::string_view display_name, std::string_view kind);
PageIndex PageFromTag(PageTag tag);

// Every slot empty with its own black icon and no whole text; then IconRect := (0,0)-(32,32).
void InitSlotTable();
// The slot's record: fields zeroed, icon plain white.
void ClearSlot(PageIndex page, SlotIndex slot);
// Fills the slot's icon white, then copies the picture's top-left 32 x 32 into it.
void StoreSlotIcon(PageIndex page, SlotIndex slot, const Picture& picture);
// The slot's live bitmap; callers copy it.
const IconBitmap& SlotIconBitmap(PageIndex page, SlotIndex slot);

// A slot's entry as a value, as an editor gets it and gives it back: the fields, the whole
// texts (UTF-8) of Target and WorkFolder where their cut is not exact, and a copy of the icon.
struct SlotEntry {
  SlotFields fields{};
  std::optional<std::string> whole_target, whole_folder;
  IconBitmap icon{};
};

// The slot's entry, with the whole texts that apply to it.
SlotEntry SlotEntryAt(PageIndex page, SlotIndex slot);
// Stores an edited entry in its slot: the fields, the whole texts of WorkFolder and Target (an
// entry without one forgets the slot's), then the icon drawn on white.
void StoreSlotEntry(PageIndex page, SlotIndex slot, const SlotEntry& entry);

// What the main window hands an editor: the selected slot's entry, and how to empty that slot
// at once, as the editors' "クリヤー" does without waiting for "設　定". `clear` gives the entry
// of the emptied slot.
struct SlotEdit {
  SlotEntry entry;
  std::function<SlotEntry()> clear;
};
SlotEdit SlotEditAt(PageIndex page, SlotIndex slot);

}  // namespace quenda
