#include "platform/clock_win.h"

#include <windows.h>

#include "platform/cp932.h"

namespace quenda {

namespace {
SYSTEMTIME ToSystemTime(const LocalDateTime& t) {
  SYSTEMTIME st{};
  st.wYear = WORD(t.year);
  st.wMonth = WORD(t.month);
  st.wDay = WORD(t.day);
  st.wHour = WORD(t.hour);
  st.wMinute = WORD(t.minute);
  st.wSecond = WORD(t.second);
  return st;
}
}  // namespace

LocalDateTime Win32Clock::Now() const {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string Win32Clock::ShortDate(const LocalDateTime& t) const {
  const SYSTEMTIME st = ToSystemTime(t);
  wchar_t buffer[128];
  const int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128);
  return n > 0 ? win::ToCp932(std::wstring_view(buffer, n - 1)) : std::string();
}

std::string Win32Clock::LongTime(const LocalDateTime& t) const {
  const SYSTEMTIME st = ToSystemTime(t);
  wchar_t buffer[128];
  const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
  return n > 0 ? win::ToCp932(std::wstring_view(buffer, n - 1)) : std::string();
}

std::uint64_t Win32Clock::Milliseconds() const { return GetTickCount64(); }

}  // namespace quenda
