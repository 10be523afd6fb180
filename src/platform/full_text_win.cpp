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
  if (const std::optional<std::string> whole = FullText(page, slot, field)) {
    return win::FromUtf8(*whole);
  }
  return win::FromCp932(GetSlotField(field, page, slot));
}

}  // namespace quenda
