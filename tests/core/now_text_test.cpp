#include "core/now_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fixed_clock.h"

namespace quenda {
namespace {

using testing::FixedClock;

class NowTextTest : public ::testing::Test {
 protected:
  void TearDown() override { SetClock(nullptr); }
};

TEST_F(NowTextTest, DateAloneOnlyAtExactMidnight) {
  FixedClock clock;
  SetClock(&clock);
  struct Case {
    int hour, minute, second;
    const char* want;
  };
  const Case cases[] = {
      {0, 0, 0, "2024/1/2"},         {0, 0, 1, "2024/1/2 0:0:1"},
      {0, 1, 0, "2024/1/2 0:1:0"},   {1, 0, 0, "2024/1/2 1:0:0"},
      {12, 0, 0, "2024/1/2 12:0:0"}, {23, 59, 59, "2024/1/2 23:59:59"},
  };
  for (const Case& c : cases) {
    clock.now = {2024, 1, 2, c.hour, c.minute, c.second};
    EXPECT_EQ(NowText(), c.want) << c.hour << ":" << c.minute << ":" << c.second;
  }
}

TEST_F(NowTextTest, PortableClockFormatsAndIsRestored) {
  FixedClock clock;
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
