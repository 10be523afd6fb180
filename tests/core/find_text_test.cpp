#include "core/find_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace quenda {
namespace {

TEST(FindTextTest, WidthsAndLetterCasesCompareAlike) {
  struct Case {
    std::u16string_view text, typed;
    bool found;
  };
  const Case cases[] = {
      {u"Quenda Home", u"home", true},
      {u"Quenda Home", u"ｑｕｅｎｄａ　ｈ", true},  // full-width letters and space
      {u"ＷＥＢメール", u"web", true},
      {u"天気予報", u"予報", true},
      {u"ｶﾞｲﾄﾞﾌﾞｯｸ", u"ガイドブック", true},   // voiced marks join the kana before
      {u"ガイドブック", u"ｶﾞｲﾄﾞ", true},
      {u"ﾊﾟｽﾎﾟｰﾄ", u"パスポート", true},
      {u"ｳﾞｨｰﾅｽ", u"ヴィーナス", true},
      {u"ｶﾞｲﾄﾞ", u"カイト", false},          // a voiced kana is another kana
      {u"ﾊﾟｽ", u"バス", false},
      {u"ｱﾞ", u"ア゛", true},                // no voiced form: the mark stays a mark
      {u"Home", u"homes", false},
      {u"", u"a", false},
      {u"anything", u"", true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ContainsForFind(cases[i].text, cases[i].typed), cases[i].found) << "row " << i;
  }
}

// The search order: from the focused slot on, through D1-D4, P1, P2 and round to where it began;
// the page keys step round the same pages.
TEST(FindTextTest, NextMatchingSlotGoesRoundTheKeyboardsPages) {
  struct Case {
    PageTag current;
    SlotIndex focused;
    std::vector<std::pair<PageTag, SlotIndex>> holding;  // the slots that hold the text
    std::optional<std::pair<PageTag, SlotIndex>> found;
  };
  const Case cases[] = {
      {0, 5, {{0, 5}, {0, 9}}, {{0, 5}}},     // the focused slot itself keeps the focus
      {0, 6, {{0, 5}, {0, 9}}, {{0, 9}}},
      {2, 24, {{200, 0}}, {{200, 0}}},        // on to the next pages
      {201, 3, {{0, 1}, {201, 2}}, {{0, 1}}}, // round from P2 to D1
      {201, 3, {{201, 2}}, {{201, 2}}},       // round to just before where it began
      {100, 0, {{1, 0}}, {{1, 0}}},           // a page outside the keyboard's starts at D1
      {0, 0, {{202, 0}, {100, 0}}, {}},       // P3 and the hidden pages are not searched
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const auto found = NextMatchingSlot(c.current, c.focused, [&](PageTag tag, SlotIndex slot) {
      return std::find(c.holding.begin(), c.holding.end(), std::pair{tag, slot}) != c.holding.end();
    });
    ASSERT_EQ(found.has_value(), c.found.has_value()) << "row " << i;
    if (found) {
      EXPECT_EQ(std::pair(found->tag, found->slot), *c.found) << "row " << i;
    }
  }
  EXPECT_EQ(KeyPageStep(0, -1), 201);
  EXPECT_EQ(KeyPageStep(201, 1), 0);
  EXPECT_EQ(KeyPageStep(3, 1), 200);
  EXPECT_TRUE(TypingPaused(1000, 3000));
  EXPECT_FALSE(TypingPaused(1000, 2999));
}

}  // namespace
}  // namespace quenda
