#include "core/slot_table.h"

#include <algorithm>
#include <cstring>

#include "core/full_text.h"
#include "core/now_text.h"

namespace quenda {

PathText ProgramDir;
IconRectangle IconRect;

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

}  // namespace

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
  const std::size_t n = std::min(text.size(), field.size());
  std::copy_n(text.begin(), n, field.begin());
  if (n < field.size()) field[n] = '\0';
}

SlotTable& TheSlotTable() {
  static SlotTable table;
  return table;
}

std::string GetSlotField(int field, PageIndex page, SlotIndex slot) {
  return FieldText(FieldBytes(TheSlotTable().At(page, slot).fields, field));
}

void SetSlotField(int field, PageIndex page, SlotIndex slot, std::string_view text) {
  ++TheSlotTable().changes;
  // CP932 bytes are the whole text now; a caller with more records it after.
  ForgetFullText(page, slot, field);
  SetFieldText(FieldBytes(TheSlotTable().At(page, slot).fields, field), text);
}

void WriteNewEntry(PageIndex page, SlotIndex slot, std::string_view target, std::string_view title,
                   std::string_view display_name, std::string_view kind) {
  SetSlotField(Target, page, slot, target);
  SetSlotField(Title, page, slot, title);
  SetSlotField(DisplayName, page, slot, display_name);
  SetSlotField(Flag1, page, slot, kind);
  SetSlotField(AccessCount, page, slot, "0");
  SetSlotField(LastAccess, page, slot, NowText());
  SetSlotField(Memo, page, slot, "");
}

PageIndex PageFromTag(PageTag tag) {
  if (tag < 100) return tag;
  if (tag < 200) return 12;
  return tag % 100 + 8;
}

void InitSlotTable() {
  SlotTable& table = TheSlotTable();
  ForgetFullTexts();
  for (int i = 0; i < kSlotCount; ++i) {
    table.records[i].fields = SlotFields{};
    table.icons[i].bitmap = BlankIcon();
    table.records[i].Icon = &table.icons[i];
  }
  IconRect = {0, 0, kIconSize, kIconSize};
}

void ClearSlot(PageIndex page, SlotIndex slot) {
  ++TheSlotTable().changes;
  SlotRecord& record = TheSlotTable().At(page, slot);
  record.fields = SlotFields{};
  record.Icon->bitmap = BlankIcon();
  record.Icon->bitmap.Fill(kWhite);
}

void StoreSlotIcon(PageIndex page, SlotIndex slot, const Picture& picture) {
  ++TheSlotTable().changes;
  DrawPictureOnWhite(TheSlotTable().At(page, slot).Icon->bitmap, picture);
}

const IconBitmap& SlotIconBitmap(PageIndex page, SlotIndex slot) {
  return TheSlotTable().At(page, slot).Icon->bitmap;
}

SlotEntry SlotEntryAt(PageIndex page, SlotIndex slot) {
  return {TheSlotTable().At(page, slot).fields, FullText(page, slot, Target),
          FullText(page, slot, WorkFolder), SlotIconBitmap(page, slot)};
}

void StoreSlotEntry(PageIndex page, SlotIndex slot, const SlotEntry& entry) {
  ++TheSlotTable().changes;
  TheSlotTable().At(page, slot).fields = entry.fields;
  for (const auto& [field, whole] :
       {std::pair{WorkFolder, &entry.whole_folder}, {Target, &entry.whole_target}}) {
    ForgetFullText(page, slot, field);
    if (*whole) SetFullText(page, slot, field, GetSlotField(field, page, slot), **whole);
  }
  StoreSlotIcon(page, slot, IconPicture(entry.icon));
}

SlotEdit SlotEditAt(PageIndex page, SlotIndex slot) {
  return {SlotEntryAt(page, slot), [page, slot] {
            ClearSlot(page, slot);
            return SlotEntryAt(page, slot);
          }};
}

}  // namespace quenda
