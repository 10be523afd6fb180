#include "core/slot_table.h"

#include <algorithm>
#include <cstring>

#include "core/now_text.h"
#include "core/text_rules.h"

namespace quenda {

namespace {

struct FieldPlace {
  std::size_t offset, width;
};
constexpr FieldPlace kFields[kFieldCount] = {
    {offsetof(SlotFields, Flag0), sizeof(SlotFields::Flag0)},
    {offsetof(SlotFields, Flag1), sizeof(SlotFields::Flag1)},
    {offsetof(SlotFields, Title), sizeof(SlotFields::Title)},
    {offsetof(SlotFields, Target), sizeof(SlotFields::Target)},
    {offsetof(SlotFields, DisplayName), sizeof(SlotFields::DisplayName)},
    {offsetof(SlotFields, WorkFolder), sizeof(SlotFields::WorkFolder)},
    {offsetof(SlotFields, AccessCount), sizeof(SlotFields::AccessCount)},
    {offsetof(SlotFields, LastAccess), sizeof(SlotFields::LastAccess)},
    {offsetof(SlotFields, Memo), sizeof(SlotFields::Memo)},
};

bool IsStatistic(int field) { return field == AccessCount || field == LastAccess; }

}  // namespace

void StampEdit(const SlotTable& table, SlotRecord& record) {
  const LocalDateTime now = CurrentClock().Now();
  record.stamp = {table.machine,
                  StampTime(now.year, now.month, now.day, now.hour, now.minute, now.second)};
}

PageKind KindOfPage(PageTag tag) {
  if (tag < 100) return PageKind::Address;
  if (tag < 200) return PageKind::Hidden;
  return PageKind::Program;
}

PageIndex PageFromTag(PageTag tag) {
  switch (KindOfPage(tag)) {
    case PageKind::Address: return tag;
    case PageKind::Hidden: return 12;
    case PageKind::Program: break;
  }
  return tag % 100 + 8;
}

namespace {
// A page as its button says it (D1-D4, P1-P4), or "ページn" for the pages without one.
std::string PageName(PageIndex page) {
  const bool programs = page >= 8 && page < 12;
  std::string name = page < 4 ? "D" : programs ? "P" : "\x83\x79\x81\x5b\x83\x57";  // ページ
  return name.append(std::to_string(programs ? page - 7 : page + 1));
}
}  // namespace

std::string SlotName(int record) {
  return PageName(record / kSlotsPerPage) + " \x82\xcc " +
         std::to_string(record % kSlotsPerPage + 1) + "\x94\xd4\x96\xda";  // の n番目
}

bool SameEntry(const SlotRecord& a, const SlotRecord& b) {
  for (int field = 0; field < kFieldCount; ++field) {
    if (IsStatistic(field)) continue;
    const std::span<const char> x = FieldBytes(a.fields, field), y = FieldBytes(b.fields, field);
    if (!std::equal(x.begin(), x.end(), y.begin()) || a.whole[field] != b.whole[field]) {
      return false;
    }
  }
  return a.icon == b.icon;
}

bool SameRecord(const SlotRecord& a, const SlotRecord& b) {
  return std::memcmp(&a.fields, &b.fields, sizeof a.fields) == 0 && a.whole == b.whole &&
         a.icon == b.icon && a.stamp == b.stamp;
}

std::span<char> FieldBytes(SlotFields& fields, int field) {
  if (field < 0 || field >= kFieldCount) return {};
  return {reinterpret_cast<char*>(&fields) + kFields[field].offset, kFields[field].width};
}

std::span<const char> FieldBytes(const SlotFields& fields, int field) {
  if (field < 0 || field >= kFieldCount) return {};
  return {reinterpret_cast<const char*>(&fields) + kFields[field].offset, kFields[field].width};
}

std::string FieldText(std::span<const char> field) {
  const auto end = std::find(field.begin(), field.end(), '\0');
  return std::string(field.begin(), end);
}

void SetFieldText(std::span<char> field, std::string_view text) {
  const std::string_view cut = Cp932Prefix(text, field.size());
  std::copy(cut.begin(), cut.end(), field.begin());
  if (cut.size() < field.size()) field[cut.size()] = '\0';
}

std::string GetSlotField(const SlotTable& table, int field, PageIndex page, SlotIndex slot) {
  return FieldText(FieldBytes(table.At(page, slot).fields, field));
}

void SetSlotField(SlotTable& table, int field, PageIndex page, SlotIndex slot,
                  std::string_view text) {
  if (field < 0 || field >= kFieldCount) return;
  ++table.changes;
  SlotRecord& record = table.At(page, slot);
  record.whole[field].clear();
  SetFieldText(FieldBytes(record.fields, field), text);
  if (!IsStatistic(field)) StampEdit(table, record);
}

std::optional<std::string> SlotWholeText(const SlotTable& table, int field, PageIndex page,
                                         SlotIndex slot) {
  if (field < 0 || field >= kFieldCount || table.At(page, slot).whole[field].empty()) {
    return std::nullopt;
  }
  return table.At(page, slot).whole[field];
}

void SetSlotWholeText(SlotTable& table, int field, PageIndex page, SlotIndex slot,
                      std::string_view utf8) {
  if (field < 0 || field >= kFieldCount) return;
  ++table.changes;
  table.At(page, slot).whole[field] = std::string(utf8);
  StampEdit(table, table.At(page, slot));
}

void WriteNewEntry(SlotTable& table, PageIndex page, SlotIndex slot, std::string_view target,
                   std::string_view title, std::string_view display_name, std::string_view kind) {
  SetSlotField(table, Target, page, slot, target);
  SetSlotField(table, Title, page, slot, title);
  SetSlotField(table, DisplayName, page, slot, display_name);
  SetSlotField(table, Flag1, page, slot, kind);
  SetSlotField(table, AccessCount, page, slot, "0");
  SetSlotField(table, LastAccess, page, slot, NowText());
  SetSlotField(table, Memo, page, slot, "");
}

void ClearSlot(SlotTable& table, PageIndex page, SlotIndex slot) {
  ++table.changes;
  SlotRecord& record = table.At(page, slot);
  record.fields = SlotFields{};
  record.whole = WholeTexts{};
  record.icon.Fill(kWhite);
  StampEdit(table, record);
}

void StoreSlotIcon(SlotTable& table, PageIndex page, SlotIndex slot, const Picture& picture) {
  ++table.changes;
  DrawPictureOnWhite(table.At(page, slot).icon, picture);
  StampEdit(table, table.At(page, slot));
}

SlotEntry SlotEntryAt(const SlotTable& table, PageIndex page, SlotIndex slot) {
  const SlotRecord& record = table.At(page, slot);
  return {record.fields, record.whole, record.icon};
}

void StoreSlotEntry(SlotTable& table, PageIndex page, SlotIndex slot, const SlotEntry& entry) {
  ++table.changes;
  SlotRecord& record = table.At(page, slot);
  record.fields = entry.fields;
  record.whole = entry.whole;
  StoreSlotIcon(table, page, slot, IconPicture(entry.icon));
}

SlotEdit SlotEditAt(SlotTable& table, PageIndex page, SlotIndex slot) {
  return {SlotEntryAt(table, page, slot), [&table, page, slot] {
            ClearSlot(table, page, slot);
            return SlotEntryAt(table, page, slot);
          }};
}

std::int64_t StampTime(int year, int month, int day, int hour, int minute, int second) {
  return ((((std::int64_t(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 +
         second;
}

}  // namespace quenda
