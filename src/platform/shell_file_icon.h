#pragma once
// Icons and names the shell gives files, and the names a drop carries.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/handle.h"

namespace quenda {

// The shell's large icon and display name of a file (its whole path). The icon object takes the
// new handle (its old one is freed); a failed query gives no icon and an empty name.
void ShellFileIcon(const std::wstring& path, win::UniqueIcon& icon, std::string& display_name);

// The first icon of a file at 32 x 32; none when the file holds no icon.
win::UniqueIcon FirstFileIcon(const std::wstring& path);

// The icon Windows shows for a file or folder, at the system's large size: its associated icon,
// the folder icon, or for a shortcut its target's (without the arrow). None when the shell has
// none.
win::UniqueIcon ShownFileIcon(const std::wstring& path);

// The n-th name of a drop, whole.
std::wstring DroppedFileName(HDROP drop, UINT index);

}  // namespace quenda
