#include "platform/shell_file_icon.h"

#include "platform/cp932.h"
#include "platform/icon_bitmap.h"

namespace quenda {

void ShellFileIcon(const std::wstring& path, win::UniqueIcon& icon, std::string& display_name) {
  SHFILEINFOW info{};
  SHGetFileInfoW(path.c_str(), 0, &info, sizeof info,
                 SHGFI_ICON | SHGFI_DISPLAYNAME);
  icon.reset(info.hIcon);
  display_name = win::ToCp932(info.szDisplayName);
}

win::UniqueIcon FirstFileIcon(const std::wstring& path) {
  return win::FileIcon32(path, 0);
}

win::UniqueIcon ShownFileIcon(const std::wstring& path) {
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON)) return {};
  return win::UniqueIcon(info.hIcon);
}

std::wstring DroppedFileName(HDROP drop, UINT index) {
  const UINT length = DragQueryFileW(drop, index, nullptr, 0);
  std::wstring name(length + 1, L'\0');
  name.resize(DragQueryFileW(drop, index, name.data(), length + 1));
  return name;
}

}  // namespace quenda
