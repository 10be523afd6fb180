#include "platform/full_text_win.h"

#include <windows.h>

#include "core/full_text.h"
#include "platform/cp932.h"

namespace quenda {

void SetSlotFieldWide(int field, PageIndex page, SlotIndex slot, std::wstring_view text) {
  const std::size_t width = FieldBytes(TheSlotTable().At(page, slot).fields, field).size();
  const win::Cp932Field cut = win::ToCp932Field(text, width);
  SetSlotField(field, page, slot, cut.bytes);
  if (!cut.exact && HasFullText(field)) {
    SetFullText(page, slot, field, GetSlotField(field, page, slot), win::ToUtf8(text));
  }
}

std::wstring SlotFieldWide(int field, PageIndex page, SlotIndex slot) {
  return WholeText(FieldBytes(TheSlotTable().At(page, slot).fields, field),
                   FullText(page, slot, field));
}

std::wstring WholeText(std::span<const char> field, const std::optional<std::string>& whole) {
  return whole ? win::FromUtf8(*whole) : win::FromCp932(FieldText(field));
}

void SetWholeText(std::span<char> field, std::optional<std::string>& whole,
                  std::wstring_view text) {
  const win::Cp932Field cut = win::ToCp932Field(text, field.size());
  SetFieldText(field, cut.bytes);
  whole.reset();
  if (!cut.exact) whole = win::ToUtf8(text);
}

}  // namespace quenda
