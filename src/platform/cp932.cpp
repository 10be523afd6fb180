#include "platform/cp932.h"

#include <windows.h>

#include <algorithm>

namespace quenda::win {

namespace {
constexpr UINT kCp932 = 932;
}

std::wstring FromCp932(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(kCp932, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(kCp932, 0, text.data(), int(text.size()), out.data(), n);
  return out;
}

std::string ToCp932(std::wstring_view text) {
  if (text.empty()) return {};
  const int n =
      WideCharToMultiByte(kCp932, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(kCp932, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

Cp932Field ToCp932Field(std::wstring_view text, std::size_t width) {
  Cp932Field field;
  field.bytes = ToCp932(text);
  field.bytes.resize(std::min({field.bytes.size(), width, field.bytes.find('\0')}));
  field.exact = FromCp932(field.bytes) == text;
  return field;
}

}  // namespace quenda::win
