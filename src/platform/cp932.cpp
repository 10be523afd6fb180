#include "platform/cp932.h"

#include <windows.h>

#include <algorithm>

#include "core/text_rules.h"

namespace quenda::win {

namespace {
constexpr UINT kCp932 = 932;

std::wstring FromCodePage(UINT code_page, std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(code_page, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(std::size_t(std::max(n, 0)), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), int(text.size()), out.data(), n);
  return out;
}

std::string ToCodePage(UINT code_page, std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(code_page, 0, text.data(), int(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(std::size_t(std::max(n, 0)), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), int(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}
}  // namespace

std::wstring FromCp932(std::string_view text) { return FromCodePage(kCp932, text); }
std::string ToCp932(std::wstring_view text) { return ToCodePage(kCp932, text); }
std::wstring FromUtf8(std::string_view text) { return FromCodePage(CP_UTF8, text); }
std::string ToUtf8(std::wstring_view text) { return ToCodePage(CP_UTF8, text); }

Cp932Field ToCp932Field(std::wstring_view text, std::size_t width) {
  Cp932Field field;
  const std::string whole = ToCp932(text);
  field.bytes = FirstBytes(std::string_view(whole).substr(0, whole.find('\0')), width);
  field.exact = FromCp932(field.bytes) == text;
  return field;
}

}  // namespace quenda::win
