#pragma once
// The current local date and time as the user's formats write them.
#include <cstdint>
#include <string>

namespace quenda {

struct LocalDateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

// The clock and the user's date and time formats; the window layer installs the system's.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
  virtual std::string ShortDate(const LocalDateTime& t) const = 0;  // CP932
  virtual std::string LongTime(const LocalDateTime& t) const = 0;   // CP932
  // A count of milliseconds that only goes forward, for measuring pauses.
  virtual std::uint64_t Milliseconds() const = 0;
};

// A portable clock: the C library's local time, "yyyy/MM/dd" and "H:mm:ss".
class StdClock : public Clock {
 public:
  LocalDateTime Now() const override;
  std::string ShortDate(const LocalDateTime& t) const override;
  std::string LongTime(const LocalDateTime& t) const override;
  std::uint64_t Milliseconds() const override;
};

// Installs the clock NowText uses (not owned; nullptr restores the portable one).
void SetClock(const Clock* clock);
const Clock& CurrentClock();

// Short date, a blank and the long time; at exactly midnight the date alone.
std::string NowText();

}  // namespace quenda
