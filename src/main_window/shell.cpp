#include "main_window/shell.h"

#include <shellapi.h>

#include "win/cp932.h"

namespace quenda {

INT_PTR Shell::Execute(HWND owner, const wchar_t* verb, const std::wstring& file,
                       const wchar_t* directory, int show) {
  return reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, verb, file.c_str(), nullptr, directory, show));
}

namespace {
Shell g_system_shell;
Shell* g_shell = &g_system_shell;

INT_PTR Open(const wchar_t* verb, const std::string& target, const std::string& folder) {
  const std::wstring dir = win::FromCp932(folder);
  return CurrentShell().Execute(nullptr, verb, win::FromCp932(target),
                                folder.empty() ? nullptr : dir.c_str(), SW_SHOW);
}
}  // namespace

Shell& CurrentShell() { return *g_shell; }
void SetShell(Shell* shell) { g_shell = shell ? shell : &g_system_shell; }

INT_PTR ShellExecOpen(const std::string& target, const std::string& folder) {
  return Open(L"OPEN", target, folder);
}

INT_PTR ShellExecDefault(const std::string& target, const std::string& folder) {
  return Open(nullptr, target, folder);
}

}  // namespace quenda
