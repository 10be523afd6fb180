#include "core/now_text.h"

#include <cstdio>
#include <ctime>

#include "core/replaceable.h"

namespace quenda {

LocalDateTime StdClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string StdClock::ShortDate(const LocalDateTime& t) const {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", t.year, t.month, t.day);
  return buffer;
}

std::string StdClock::LongTime(const LocalDateTime& t) const {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", t.hour, t.minute, t.second);
  return buffer;
}

// Whole seconds are enough where this clock serves (native programs): the standard library's
// steady clock would bring a thread library's time functions into Quenda.exe.
std::uint64_t StdClock::Milliseconds() const { return std::uint64_t(std::time(nullptr)) * 1000; }

namespace {
Replaceable<const Clock, const StdClock> g_clock;
}  // namespace

void SetClock(const Clock* clock) { g_clock.Replace(clock); }
const Clock& CurrentClock() { return g_clock.Current(); }

std::string NowText() {
  const Clock& clock = CurrentClock();
  const LocalDateTime now = clock.Now();
  std::string text = clock.ShortDate(now);
  if (now.hour != 0 || now.minute != 0 || now.second != 0) {
    text += ' ';
    text += clock.LongTime(now);
  }
  return text;
}

}  // namespace quenda
