#include "core/full_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quenda {
namespace {

std::vector<LegacyWholeText> Parse(const std::string& text) {
  return ParseLegacyWholeTexts({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// An earlier version's file is read once: its texts apply where the field still holds the cut
// they were written with, never to a field another program changed since.
TEST(LegacyWholeTexts, ApplyOnlyWhereTheFieldHoldsTheirCut) {
  SlotTable table;
  SetSlotField(table, Target, 8, 1, "C:\\?.txt");
  SetSlotField(table, WorkFolder, 13, 24, "\x82\xa0?");
  SetSlotField(table, Target, 8, 2, "C:\\?.txu");
  const std::string odd = "a\\\\b\\tc\\nd\\re \xf0\x9f\x98\x80";
  const std::vector<LegacyWholeText> entries = Parse(
      "Quenda.Tbl whole texts 1\n"
      "201\tTarget\t433a5c3f2e747874\tC:\\\\\xc3\xa9.txt\n"
      "349\tWorkFolder\t82a03f\t" + odd + "\n"
      "202\tTarget\t433a5c3f2e747874\tC:\\\\stale.txt\n");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(ApplyLegacyWholeTexts(table, entries), 2u);
  EXPECT_EQ(SlotWholeText(table, Target, 8, 1), "C:\\\xc3\xa9.txt");
  EXPECT_EQ(SlotWholeText(table, WorkFolder, 13, 24), "a\\b\tc\nd\re \xf0\x9f\x98\x80");
  EXPECT_EQ(SlotWholeText(table, Target, 8, 2), std::nullopt);
}

TEST(LegacyWholeTexts, SkipWhatIsNotAWholeEntry) {
  const std::string head = "Quenda.Tbl whole texts 1\n";
  const std::string good = "3\tTarget\t3f\tx\n";
  struct Case {
    std::string text;
    std::size_t taken;
  } cases[] = {
      {head + good, 1},
      {"Quenda.Tbl whole texts 2\n" + good, 0},  // a later format
      {good + good, 0},                          // no first line
      {head + "3\tTarget\t3f\tx", 0},            // cut short
      {head + "350\tTarget\t3f\tx\n" + good, 1},
      {head + "-1\tTarget\t3f\tx\n", 0},
      {head + "3\tTitle\t3f\tx\n", 0},
      {head + "3\tTarget\t3\tx\n", 0},           // half a byte
      {head + "3\tTarget\t3F\tx\n", 0},
      {head + "3\tTarget\t\tx\n", 0},            // no cut
      {head + "3\tTarget\t3f00\tx\n", 0},        // a NUL no field value holds
      {head + "3\tTarget\t" + std::string(258, 'a') + "\tx\n", 0},
      {head + "3\tTarget\t3f\t\n", 0},           // no text
      {head + "3\tTarget\t3f\tx\\q\n", 0},       // unknown escape
      {head + "3\tTarget\t3f\tx\\\n", 0},
      {head + "3\tTarget\t3f\t\xc3\n", 0},       // not UTF-8
      {head + "3\tTarget\t3f\t\xed\xa0\x80\n", 0},
      {head + "3\tTarget\t3f\t\xc0\xaf\n", 0},
      {head + "3\tTarget\t3f\tx\ty\n", 0},       // a tab not escaped
      {head + "3\tTarget\t3f\t" + std::string(3 * 32767 + 1, 'x') + "\n" + good, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.text).size(), c.taken) << c.text.substr(0, 80);
}

}  // namespace
}  // namespace quenda
