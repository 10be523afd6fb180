#pragma once
// The file-open dialog, behind a seam tests replace.
#include <windows.h>

#include <optional>
#include <string>

namespace quenda {

struct OpenFileRequest {
  // Pairs of description and patterns separated by "|": "プログラム　(*.exe)|*.Exe".
  std::wstring filter;
  std::wstring default_extension;  // without the dot; may be empty
  bool keep_shortcuts = false;     // a chosen shortcut comes back as the shortcut itself
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen file's full path, or nothing when the user cancels.
  virtual std::optional<std::wstring> Open(HWND owner, const OpenFileRequest& request);
};
FileDialogs& CurrentFileDialogs();
void SetFileDialogs(FileDialogs* dialogs);  // not owned; nullptr restores the system's

// "a|b|c|d" as the dialog takes it: "a\0b\0c\0d\0\0".
std::wstring DialogFilter(const std::wstring& filter);

}  // namespace quenda
