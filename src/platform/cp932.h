#pragma once
// The boundary between the CP932 model and the UTF-16 Win32 API: always code page 932,
// whatever the system's ANSI code page is.
#include <cstddef>
#include <string>
#include <string_view>

namespace quenda::win {

std::wstring FromCp932(std::string_view text);
// Characters CP932 lacks become "?".
std::string ToCp932(std::wstring_view text);

// The whole texts kept beside the table are UTF-8.
std::wstring FromUtf8(std::string_view text);
std::string ToUtf8(std::wstring_view text);

// A text as a field of `width` bytes holds it: ToCp932 ended at a NUL and cut to the width on
// a whole character,
// and whether that reads back as the very same text.
struct Cp932Field {
  std::string bytes;
  bool exact = true;
};
Cp932Field ToCp932Field(std::wstring_view text, std::size_t width);

}  // namespace quenda::win
