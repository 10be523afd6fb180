#include "main_window/shell.h"

#include <shellapi.h>

namespace quenda {

INT_PTR Shell::Execute(HWND owner, const wchar_t* verb, const std::wstring& file,
                       const wchar_t* directory, int show) {
  return reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, verb, file.c_str(), nullptr, directory, show));
}

namespace {
Shell g_system_shell;
Shell* g_shell = &g_system_shell;

INT_PTR Open(const wchar_t* verb, const std::wstring& target, const std::wstring& folder) {
  return CurrentShell().Execute(nullptr, verb, target, folder.empty() ? nullptr : folder.c_str(),
                                SW_SHOW);
}
}  // namespace

Shell& CurrentShell() { return *g_shell; }
void SetShell(Shell* shell) { g_shell = shell ? shell : &g_system_shell; }

INT_PTR ShellExecOpen(const std::wstring& target, const std::wstring& folder) {
  return Open(L"OPEN", target, folder);
}

INT_PTR ShellExecDefault(const std::wstring& target, const std::wstring& folder) {
  return Open(nullptr, target, folder);
}

}  // namespace quenda
