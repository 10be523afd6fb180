#include "platform/shell.h"

#include <shellapi.h>
#include <shlobj.h>

#include "core/replaceable.h"
#include "core/text_rules.h"
#include "platform/cp932.h"

namespace quenda {

namespace {

// A document no program is associated with: Windows' own "open with" chooser, which opens it
// with the program the user picks. Its UI is the point, so it is not suppressed as the errors
// are. ERROR_CANCELLED when the user closes it; ERROR_NO_ASSOCIATION where there is no chooser.
DWORD OpenWith(HWND owner, const std::wstring& file) {
  OPENASINFO info{file.c_str(), nullptr, OAIF_ALLOW_REGISTRATION | OAIF_EXEC};
  const HRESULT result = SHOpenWithDialog(owner, &info);
  if (SUCCEEDED(result)) return ERROR_SUCCESS;
  return result == HRESULT_FROM_WIN32(ERROR_CANCELLED) ? ERROR_CANCELLED : ERROR_NO_ASSOCIATION;
}

}  // namespace

DWORD Shell::Execute(HWND owner, const wchar_t* verb, const std::wstring& file,
                     const std::wstring& parameters, const wchar_t* directory, int show) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = verb;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.lpDirectory = directory;
  info.nShow = show;
  if (ShellExecuteExW(&info)) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  // Wine reports a file no program is associated with as a bad program file; the old-style
  // result tells it apart.
  if (reinterpret_cast<INT_PTR>(info.hInstApp) == SE_ERR_NOASSOC) return OpenWith(owner, file);
  // A failure that left no code still gets a reason: "unspecified error".
  return error != ERROR_SUCCESS ? error : DWORD(E_FAIL);
}

namespace {
Replaceable<Shell> g_shell;

DWORD Open(const wchar_t* verb, const std::wstring& target, const std::wstring& folder,
           const std::wstring& parameters = {}) {
  return CurrentShell().Execute(nullptr, verb, target, parameters,
                                folder.empty() ? nullptr : folder.c_str(), SW_SHOW);
}
}  // namespace

Shell& CurrentShell() { return g_shell.Current(); }
void SetShell(Shell* shell) { g_shell.Replace(shell); }

DWORD ShellExecOpen(const std::wstring& target, const std::wstring& folder) {
  return Open(L"OPEN", target, folder);
}

DWORD ShellExecDefault(const std::wstring& target, const std::wstring& folder) {
  return Open(nullptr, target, folder);
}

DWORD RunProgramTarget(const std::wstring& target, const std::wstring& folder, bool elevated) {
  const RunCommand run = SplitRunCommand(
      std::u16string(target.begin(), target.end()), [](std::u16string_view path) {
        const std::wstring name(path.begin(), path.end());
        return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
      });
  return Open(elevated ? L"runas" : nullptr, std::wstring(run.program.begin(), run.program.end()),
              folder, std::wstring(run.arguments.begin(), run.arguments.end()));
}

std::wstring TypedAddress(const std::wstring& typed) {
  if (!IsSchemelessWebAddress(win::ToCp932(typed)) ||
      GetFileAttributesW(typed.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return typed;
  }
  return L"https://" + typed;
}

std::wstring SystemErrorText(DWORD error) {
  // Japanese first; a system without it answers in its own language.
  for (const LANGID language : {LANGID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)), LANGID(0)}) {
    wchar_t text[1024];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, language, text, DWORD(std::size(text)), nullptr);
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
    if (n > 0) return std::wstring(text, n);
  }
  return L"エラー " + std::to_wstring(error);
}

std::wstring OpenFailureText(const std::wstring& target, DWORD error) {
  // Some reasons name the file as "%1".
  std::wstring reason = SystemErrorText(error);
  for (std::size_t at = 0; (at = reason.find(L"%1", at)) != std::wstring::npos;) {
    reason.replace(at, 2, target);
    at += target.size();
  }
  return target + L" を開けません。\n" + reason;
}

}  // namespace quenda
