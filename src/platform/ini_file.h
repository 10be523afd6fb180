#pragma once
// Reading one value of an .ini file.
#include <string>

namespace quenda {

// The value of `key` in `[section]` of `file`; empty when the file, the section or the key is
// missing. The file is read as CP932, or as Unicode when it starts with a byte order mark.
std::wstring ReadIniValue(const std::wstring& file, const wchar_t* section,
                          const wchar_t* key);

}  // namespace quenda
