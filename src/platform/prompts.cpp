#include "platform/prompts.h"

#include <vector>

#include "core/replaceable.h"
#include "platform/cp932.h"

namespace quenda {

int Prompts::Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                        UINT type) {
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

namespace {
Replaceable<Prompts> g_prompts;
}  // namespace

Prompts& CurrentPrompts() { return g_prompts.Current(); }
void SetPrompts(Prompts* prompts) { g_prompts.Replace(prompts); }

std::wstring ApplicationTitleFrom(const std::wstring& module_path) {
  const std::size_t slash = module_path.find_last_of(L"\\/");
  std::wstring name = module_path.substr(slash == std::wstring::npos ? 0 : slash + 1);
  name = name.substr(0, name.find(L'.'));
  if (name.size() > 1) CharLowerBuffW(name.data() + 1, DWORD(name.size() - 1));
  return name;
}

std::wstring ProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring ProgramFolder() {
  std::wstring path = ProgramPath();
  const std::size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash);
  return path;
}

std::wstring ApplicationTitle() { return ApplicationTitleFrom(ProgramPath()); }

std::wstring ErrorTextW(const Error& error) {
  std::wstring text = win::FromCp932(error.message);
  const std::size_t at = text.find(L"%s");
  if (at != std::wstring::npos) {
    text.replace(at, 2, error.has_path ? error.path : win::FromCp932(error.arg));
  }
  return text;
}

void ShowErrorBox(HWND owner, const Error& error) {
  std::wstring text = ErrorTextW(error);
  if (!text.empty() && text.back() > L'.') text += L'.';
  ShowErrorText(owner, text);
}

void ShowErrorText(HWND owner, const std::wstring& text) {
  CurrentPrompts().Show(owner, text, ApplicationTitle(), MB_OK | MB_ICONERROR);
}

}  // namespace quenda
