#pragma once
// A clock for tests, portable: the core tests use it natively and the window tests under Wine.
#include <string>

#include "core/now_text.h"

namespace quenda::testing {

// Stopped at `now`, which a test may move. It writes numbers without leading zeros
// ("2026/12/8", "17:30:5"), unlike the portable clock, so a test sees which formatter wrote.
class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalDateTime at = {2026, 12, 8, 17, 30, 5}) : now(at) {}
  LocalDateTime Now() const override { return now; }
  std::string ShortDate(const LocalDateTime& t) const override {
    return std::to_string(t.year) + "/" + std::to_string(t.month) + "/" + std::to_string(t.day);
  }
  std::string LongTime(const LocalDateTime& t) const override {
    return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
  }
  // Moves with `now`, so a test that moves the time moves this too.
  std::uint64_t Milliseconds() const override {
    return std::uint64_t(((now.day * 24 + now.hour) * 60 + now.minute) * 60 + now.second) * 1000;
  }
  LocalDateTime now;
};

}  // namespace quenda::testing
