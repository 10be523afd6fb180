#pragma once
// The boundary between the CP932 model and the UTF-16 Win32 API: always code page 932,
// whatever the system's ANSI code page is.
#include <string>
#include <string_view>

namespace quenda::win {

std::wstring FromCp932(std::string_view text);
// Characters CP932 lacks become "?".
std::string ToCp932(std::wstring_view text);

}  // namespace quenda::win
