#include "platform/full_text_win.h"

#include <windows.h>

#include <algorithm>

#include "core/full_text.h"
#include "platform/cp932.h"

namespace quenda {

namespace {

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(std::size_t(std::max(n, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(std::size_t(std::max(n, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n);
  return out;
}

}  // namespace

void SetSlotFieldWide(int field, PageIndex page, SlotIndex slot, std::wstring_view text) {
  const win::Cp932Field cut = win::ToCp932Field(text, FieldBytes(TheSlotTable().At(page, slot).fields, field).size());
  SetSlotField(field, page, slot, cut.bytes);
  if (!cut.exact && HasFullText(field)) {
    SetFullText(page, slot, field, GetSlotField(field, page, slot), ToUtf8(text));
  }
}

std::wstring SlotFieldWide(int field, PageIndex page, SlotIndex slot) {
  if (const std::optional<std::string> whole = FullText(page, slot, field)) return FromUtf8(*whole);
  return win::FromCp932(GetSlotField(field, page, slot));
}

}  // namespace quenda
