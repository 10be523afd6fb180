#include "platform/full_text_win.h"

#include <windows.h>

#include "platform/cp932.h"

namespace quenda {

namespace {

void SetWide(std::span<char> field, std::string& whole, std::wstring_view text) {
  const win::Cp932Field cut = win::ToCp932Field(text, field.size());
  SetFieldText(field, cut.bytes);
  whole.clear();
  if (!cut.exact) whole = win::ToUtf8(text);
}

std::wstring Wide(std::span<const char> field, const std::string& whole) {
  return whole.empty() ? win::FromCp932(FieldText(field)) : win::FromUtf8(whole);
}

}  // namespace

void SetSlotFieldWide(SlotTable& table, int field, PageIndex page, SlotIndex slot,
                      std::wstring_view text) {
  const std::size_t width = FieldBytes(table.At(page, slot).fields, field).size();
  const win::Cp932Field cut = win::ToCp932Field(text, width);
  SetSlotField(table, field, page, slot, cut.bytes);
  if (!cut.exact) SetSlotWholeText(table, field, page, slot, win::ToUtf8(text));
}

std::wstring SlotFieldWide(const SlotTable& table, int field, PageIndex page, SlotIndex slot) {
  const SlotRecord& record = table.At(page, slot);
  if (field < 0 || field >= kFieldCount) return {};
  return Wide(FieldBytes(record.fields, field), record.whole[field]);
}

std::wstring WholeText(const SlotEntry& entry, int field) {
  if (field < 0 || field >= kFieldCount) return {};
  return Wide(FieldBytes(entry.fields, field), entry.whole[field]);
}

void SetWholeText(SlotEntry& entry, int field, std::wstring_view text) {
  if (field < 0 || field >= kFieldCount) return;
  SetWide(FieldBytes(entry.fields, field), entry.whole[field], text);
}

std::wstring FirstColumns(std::wstring_view text, std::size_t bytes) {
  std::size_t used = 0, end = 0;
  while (end < text.size()) {
    const bool pair = IS_HIGH_SURROGATE(text[end]) && end + 1 < text.size();
    const std::size_t units = pair ? 2 : 1;
    const std::size_t width = win::ToCp932(text.substr(end, units)).size() == 1 && !pair ? 1 : 2;
    if (used + width > bytes) break;
    used += width;
    end += units;
  }
  return std::wstring(text.substr(0, end));
}

}  // namespace quenda
