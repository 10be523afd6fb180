#pragma once
// Reading one value of an .ini file.
#include <string>

namespace quenda {

// The value of `key` in `[section]` of `file`; empty when the file, the section or the key is
// missing.
std::wstring ReadIniValue(const std::wstring& file, const wchar_t* section,
                          const wchar_t* key);

}  // namespace quenda
