#include "platform/file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "core/replaceable.h"

namespace quenda {

std::wstring DialogFilter(const std::wstring& filter) {
  std::wstring out = filter;
  for (wchar_t& c : out) {
    if (c == L'|') c = L'\0';
  }
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

std::optional<std::wstring> FileDialogs::Open(HWND owner, const OpenFileRequest& request) {
  const std::wstring filter = DialogFilter(request.filter);
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  ofn.lpstrDefExt = request.default_extension.empty() ? nullptr : request.default_extension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (request.keep_shortcuts) ofn.Flags |= OFN_NODEREFERENCELINKS;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return std::wstring(file.data());
}

namespace {
Replaceable<FileDialogs> g_dialogs;
}  // namespace

FileDialogs& CurrentFileDialogs() { return g_dialogs.Current(); }
void SetFileDialogs(FileDialogs* dialogs) { g_dialogs.Replace(dialogs); }

}  // namespace quenda
