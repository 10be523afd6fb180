#include "platform/ini_file.h"

#include <windows.h>

namespace quenda {

std::wstring ReadIniValue(const std::wstring& file, const wchar_t* section,
                          const wchar_t* key) {
  wchar_t value[256];
  const DWORD n =
      GetPrivateProfileStringW(section, key, L"", value, DWORD(std::size(value)), file.c_str());
  return std::wstring(value, n);
}

}  // namespace quenda
