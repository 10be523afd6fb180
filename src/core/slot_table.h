#pragma once
// The slot table: 14 pages of 25 slots, each nine fixed-width CP932 fields, the whole texts the
// fields could not hold exactly, and an icon. A plain value: the app owns one and hands it down.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/slot_icon.h"

namespace quenda {

using PageIndex = int;  // 0..13
using SlotIndex = int;  // 0..24, the Tag of the slot button that shows it
using PageTag = int;    // 0..3, 100..107, 200..203

inline constexpr int kPageCount = 14;
inline constexpr int kSlotsPerPage = 25;
inline constexpr int kSlotCount = kPageCount * kSlotsPerPage;

// What a page button's tag says its page holds: addresses (D1-D4), programs (P1-P4), or
// nothing the window shows (the hidden F1-F8).
enum class PageKind { Address, Hidden, Program };
PageKind KindOfPage(PageTag tag);
PageIndex PageFromTag(PageTag tag);
// The page and place of a record as the user names them ("D2 の 8 番目").
std::string SlotName(int record);

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

// Per field, the whole text (UTF-8) where the field's CP932 bytes are only its cut; empty
// where the bytes are the text.
using WholeTexts = std::array<std::string, kFieldCount>;

// Which PC last changed a slot's entry, and when (yyyymmddhhmmss, local time); what a merge
// uses to tell another PC's edit from an older copy written back.
struct EditStamp {
  std::string machine;
  std::int64_t time = 0;
  bool operator==(const EditStamp&) const = default;
};

// A slot's entry as a value, as an editor gets it and gives it back.
struct SlotEntry {
  SlotFields fields{};
  WholeTexts whole{};
  IconBitmap icon{};
};

struct SlotRecord {
  SlotFields fields{};
  WholeTexts whole{};
  IconBitmap icon = BlankIcon();
  EditStamp stamp;
};

// Whether two records hold the same entry, leaving out its access count and date.
bool SameEntry(const SlotRecord& a, const SlotRecord& b);
// Whether two records are the same to the byte: fields, whole texts, icon and stamp.
bool SameRecord(const SlotRecord& a, const SlotRecord& b);

struct SlotTable {
  // On the heap: a table is about 700 KB, too much for a Windows thread's stack, and copies of
  // it (the version both writers started from) are made.
  std::vector<SlotRecord> records = std::vector<SlotRecord>(kSlotCount);
  // Writes through the functions below so far; loading does not count, so whether the user
  // changed anything since shows here.
  unsigned long changes = 0;
  // Who edits: the stamp's machine for slots changed here.
  std::string machine;

  SlotRecord& At(PageIndex page, SlotIndex slot) { return records[page * kSlotsPerPage + slot]; }
  const SlotRecord& At(PageIndex page, SlotIndex slot) const {
    return records[page * kSlotsPerPage + slot];
  }
};

// Field bytes by number; an empty span for a number outside 0..8.
std::span<char> FieldBytes(SlotFields& fields, int field);
std::span<const char> FieldBytes(const SlotFields& fields, int field);

// A field's value: its bytes up to the first NUL, or all of them.
std::string FieldText(std::span<const char> field);
// Writes a text at the start of a field, cut to its width on a whole CP932 character, with one
// NUL behind it when shorter; bytes behind that NUL keep their contents.
void SetFieldText(std::span<char> field, std::string_view text);

std::string GetSlotField(const SlotTable& table, int field, PageIndex page, SlotIndex slot);
// Sets a field's CP932 text; its whole text, if any, is forgotten.
void SetSlotField(SlotTable& table, int field, PageIndex page, SlotIndex slot,
                  std::string_view text);
// The whole text (UTF-8) kept beside a field, if any.
std::optional<std::string> SlotWholeText(const SlotTable& table, int field, PageIndex page,
                                         SlotIndex slot);
// Keeps a whole text (UTF-8) beside a field whose bytes now hold its cut.
void SetSlotWholeText(SlotTable& table, int field, PageIndex page, SlotIndex slot,
                      std::string_view utf8);

// A new entry in a cleared slot, written in field order: Target, Title, DisplayName, Flag1
// (`kind`: "0" a program or file, "1" an address), AccessCount "0", LastAccess (NowText) and an
// empty Memo.
void WriteNewEntry(SlotTable& table, PageIndex page, SlotIndex slot, std::string_view target,
                   std::string_view title, std::string_view display_name, std::string_view kind);

// The slot's record: fields zeroed, no whole texts, icon plain white.
void ClearSlot(SlotTable& table, PageIndex page, SlotIndex slot);
// Fills the slot's icon white, then copies the picture's top-left 32 x 32 into it.
void StoreSlotIcon(SlotTable& table, PageIndex page, SlotIndex slot, const Picture& picture);

SlotEntry SlotEntryAt(const SlotTable& table, PageIndex page, SlotIndex slot);
// Stores an edited entry in its slot: the fields and their whole texts, then the icon drawn on
// white.
void StoreSlotEntry(SlotTable& table, PageIndex page, SlotIndex slot, const SlotEntry& entry);

// What the main window hands an editor: the selected slot's entry, and how to empty that slot
// at once, as the editors' "クリヤー" does without waiting for "設　定". `clear` gives the entry
// of the emptied slot.
struct SlotEdit {
  SlotEntry entry;
  std::function<SlotEntry()> clear;
};
SlotEdit SlotEditAt(SlotTable& table, PageIndex page, SlotIndex slot);

// The stamp time of a local date and time.
std::int64_t StampTime(int year, int month, int day, int hour, int minute, int second);
// Marks a change of the entry itself (not of its count or date) as this PC's, now, so that a
// merge can tell whose it is.
void StampEdit(const SlotTable& table, SlotRecord& record);

}  // namespace quenda
