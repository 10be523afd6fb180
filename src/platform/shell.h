#pragma once
// Opening things through the Windows shell, behind a seam tests replace.
#include <windows.h>

#include <string>

namespace quenda {

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteExW without the shell's own error boxes (the caller reports a failure once);
  // verb and directory may be null, parameters empty. A document without a program goes to Windows' "open with"
  // chooser. ERROR_SUCCESS; ERROR_CANCELLED when the user cancelled (an elevation prompt, the
  // chooser), which is no failure to report; or the system's error code.
  virtual DWORD Execute(HWND owner, const wchar_t* verb, const std::wstring& file,
                        const std::wstring& parameters, const wchar_t* directory, int show);
};
Shell& CurrentShell();
void SetShell(Shell* shell);  // not owned; nullptr restores the system's

// Open a slot's target: "OPEN" on the address pages, the file's default verb on the program
// pages. An empty folder means none. ERROR_SUCCESS, or the system's error code.
DWORD ShellExecOpen(const std::wstring& target, const std::wstring& folder);
DWORD ShellExecDefault(const std::wstring& target, const std::wstring& folder);
// A program page's target as the Run box takes it (a program and its arguments), opened by the
// file's default verb or, `elevated`, as administrator ("runas").
DWORD RunProgramTarget(const std::wstring& target, const std::wstring& folder, bool elevated);

// An address as the user typed it, with "https://" put before a host name that has no scheme
// and names no existing file or folder.
std::wstring TypedAddress(const std::wstring& typed);

// The system's message for an error code, in Japanese when the system has it, without the
// line break it ends in.
std::wstring SystemErrorText(DWORD error);

// What the user is told when a target does not open: "%s を開けません。" and the reason.
std::wstring OpenFailureText(const std::wstring& target, DWORD error);

}  // namespace quenda
