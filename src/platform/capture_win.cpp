#include "platform/capture_win.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "core/replaceable.h"
#include "core/text_rules.h"
#include "platform/accessible_address.h"
#include "platform/cp932.h"

namespace quenda {

namespace {

BOOL CALLBACK VisitWindow(HWND hwnd, LPARAM visit) {
  return (*reinterpret_cast<const WindowProvider::Visit*>(visit))(ToWindowId(hwnd)) ? TRUE : FALSE;
}

// A CP932 byte takes at least one UTF-16 unit, so `max_bytes` units are enough to read.
std::string Cp932Cut(const std::vector<wchar_t>& buffer, std::size_t max_bytes) {
  const std::size_t n = wcsnlen(buffer.data(), buffer.size() - 1);
  return FirstBytes(win::ToCp932(std::wstring_view(buffer.data(), n)), max_bytes);
}

Replaceable<WindowProvider, Win32WindowProvider> g_provider;

}  // namespace

void Win32WindowProvider::EnumTopLevel(const Visit& visit) {
  EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

std::string Win32WindowProvider::Caption(WindowId window, std::size_t max_bytes) {
  std::vector<wchar_t> buffer(max_bytes + 1, L'\0');
  GetWindowTextW(ToHwnd(window), buffer.data(), int(buffer.size()));
  return Cp932Cut(buffer, max_bytes);
}

bool Win32WindowProvider::IsWindow(WindowId window) { return ::IsWindow(ToHwnd(window)) != FALSE; }

void Win32WindowProvider::EnumDescendants(WindowId parent, const Visit& visit) {
  EnumChildWindows(ToHwnd(parent), VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

std::string Win32WindowProvider::ClassName(WindowId window, std::size_t max_bytes) {
  std::vector<wchar_t> buffer(max_bytes + 1, L'\0');
  if (GetClassNameW(ToHwnd(window), buffer.data(), int(buffer.size())) == 0) return {};
  return Cp932Cut(buffer, max_bytes);
}

std::optional<std::string> Win32WindowProvider::ControlText(WindowId window,
                                                            std::size_t max_bytes) {
  std::vector<wchar_t> buffer(max_bytes + 1, L'\0');
  DWORD_PTR copied = 0;
  // SMTO_BLOCK: no other message reaches the launcher while it waits, so the module-wide
  // search state cannot be re-entered; the wait is bounded either way.
  if (SendMessageTimeoutW(ToHwnd(window), WM_GETTEXT, buffer.size(),
                          reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                          timeout_ms_, &copied) == 0) {
    return std::nullopt;
  }
  return Cp932Cut(buffer, max_bytes);
}

std::u16string Win32WindowProvider::WideCaption(WindowId window, std::size_t max_units) {
  std::vector<wchar_t> buffer(max_units + 1, L'\0');
  const int n = GetWindowTextW(ToHwnd(window), buffer.data(), int(buffer.size()));
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()),
                        std::size_t(std::max(n, 0)));
}

std::optional<std::u16string> Win32WindowProvider::AccessibleAddress(WindowId window,
                                                                     BrowserFamily family) {
  const std::optional<std::wstring> value =
      FindAccessibleAddress(ToHwnd(window), family, walk_timeout_ms_);
  if (!value) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(value->data()), value->size());
}

std::string Win32WindowProvider::ToCp932(std::u16string_view text) {
  return win::ToCp932(
      std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

std::optional<std::string> Win32WindowProvider::ExactCp932(std::u16string_view text) {
  if (text.empty()) return std::string();
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  constexpr UINT kCp932 = 932;
  BOOL defaulted = FALSE;
  const int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), nullptr,
                                    0, nullptr, &defaulted);
  std::string out(std::size_t(std::max(n, 0)), '\0');
  WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), out.data(), n,
                      nullptr, &defaulted);
  if (n <= 0 || defaulted) return std::nullopt;
  return out;
}

WindowProvider& CurrentWindowProvider() { return g_provider.Current(); }
void SetWindowProvider(WindowProvider* provider) { g_provider.Replace(provider); }

}  // namespace quenda
