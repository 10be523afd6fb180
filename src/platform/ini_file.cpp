#include "platform/ini_file.h"

#include <windows.h>

#include "core/ini_text.h"
#include "platform/cp932.h"
#include "platform/handle.h"

namespace quenda {

namespace {
// Far more than a settings file needs; a larger file is read up to here.
constexpr DWORD kMostBytes = 64 * 1024;
}  // namespace

std::wstring ReadIniValue(const std::wstring& file, const wchar_t* section,
                          const wchar_t* key) {
  const win::UniqueHandle handle =
      win::AdoptFile(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return {};
  std::string bytes(kMostBytes, '\0');
  DWORD read = 0;
  if (!ReadFile(handle.get(), bytes.data(), kMostBytes, &read, nullptr)) return {};
  bytes.resize(read);
  // A UTF-16 file (as Notepad saves "Unicode") is read as UTF-8, any other as CP932.
  const bool utf16 = bytes.starts_with("\xFF\xFE");
  const bool utf8 = utf16 || bytes.starts_with("\xEF\xBB\xBF");
  if (utf16) {
    bytes = win::ToUtf8(std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                                          (bytes.size() - 2) / 2));
  }
  const auto narrow = [&](const wchar_t* name) {
    return utf8 ? win::ToUtf8(name) : win::ToCp932(name);
  };
  const std::optional<std::string> value = IniValue(bytes, narrow(section), narrow(key));
  if (!value) return {};
  return utf8 ? win::FromUtf8(*value) : win::FromCp932(*value);
}

}  // namespace quenda
