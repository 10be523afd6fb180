#pragma once
// Opening things through the Windows shell, behind a seam tests replace.
#include <windows.h>

#include <string>

namespace quenda {

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW; verb and directory may be null.
  virtual INT_PTR Execute(HWND owner, const wchar_t* verb, const std::wstring& file,
                          const wchar_t* directory, int show);
};
Shell& CurrentShell();
void SetShell(Shell* shell);  // not owned; nullptr restores the system's

// Open a slot's target: "OPEN" on the address pages, the file's default verb on the program
// pages. An empty folder means none. Returns ShellExecute's value.
INT_PTR ShellExecOpen(const std::wstring& target, const std::wstring& folder);
INT_PTR ShellExecDefault(const std::wstring& target, const std::wstring& folder);

}  // namespace quenda
