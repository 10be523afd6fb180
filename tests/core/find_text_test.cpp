#include "core/find_text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quenda
