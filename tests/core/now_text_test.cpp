#include "core/now_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quenda {
namespace {

// A clock at a fixed moment with formats unlike the portable ones, so the test sees which
// formatter produced what.
class FakeClock : public Clock {
 public:
  LocalDateTime now;
  LocalDateTime Now() const override { return now; }
  std::string ShortDate(const LocalDateTime& t) const override {
    return std::to_string(t.day) + "." + std::to_string(t.month) + "." + std::to_string(t.year);
  }
  std::string LongTime(const LocalDateTime& t) const override {
    return std::to_string(t.hour) + "h" + std::to_string(t.minute) + "m" +
           std::to_string(t.second) + "s";
  }
};

class NowTextTest : public ::testing::Test {
 protected:
  void TearDown() override { SetClock(nullptr); }
};

TEST_F(NowTextTest, DateAloneOnlyAtExactMidnight) {
  FakeClock clock;
  SetClock(&clock);
  struct Case {
    int hour, minute, second;
    const char* want;
  };
  const Case cases[] = {
      {0, 0, 0, "2.1.2024"},          {0, 0, 1, "2.1.2024 0h0m1s"},
      {0, 1, 0, "2.1.2024 0h1m0s"},   {1, 0, 0, "2.1.2024 1h0m0s"},
      {12, 0, 0, "2.1.2024 12h0m0s"}, {23, 59, 59, "2.1.2024 23h59m59s"},
  };
  for (const Case& c : cases) {
    clock.now = {2024, 1, 2, c.hour, c.minute, c.second};
    EXPECT_EQ(NowText(), c.want) << c.hour << ":" << c.minute << ":" << c.second;
  }
}

TEST_F(NowTextTest, PortableClockFormatsAndIsRestored) {
  FakeClock clock;
  SetClock(&clock);
  EXPECT_EQ(&CurrentClock(), &clock);
  SetClock(nullptr);
  const Clock& portable = CurrentClock();
  EXPECT_NE(dynamic_cast<const StdClock*>(&portable), nullptr);

  EXPECT_EQ(portable.ShortDate({2024, 1, 2, 0, 0, 0}), "2024/01/02");
  EXPECT_EQ(portable.LongTime({2024, 1, 2, 9, 5, 7}), "9:05:07");
  EXPECT_EQ(portable.LongTime({2024, 1, 2, 23, 59, 59}), "23:59:59");

  // The longest text still fits the 20-byte last-access field.
  const std::string now = NowText();
  EXPECT_LE(now.size(), 20u);
  EXPECT_GE(now.size(), 10u);
  EXPECT_EQ(now[4], '/');
}

}  // namespace
}  // namespace quenda
