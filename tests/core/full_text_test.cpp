#include "core/full_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quenda {
namespace {

std::size_t Parse(const std::string& text) {
  return ParseFullTexts({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(FullText, AppliesOnlyWhileTheFieldHoldsItsCut) {
  InitSlotTable();
  ForgetFullTexts();
  SetSlotField(Target, 8, 1, "C:\\?.txt");
  SetFullText(8, 1, Target, "C:\\?.txt", "C:\\\xc3\xa9.txt");
  SetFullText(8, 1, Title, "C:\\?.txt", "ignored");
  EXPECT_EQ(FullText(8, 1, Target), "C:\\\xc3\xa9.txt");
  EXPECT_EQ(FullText(8, 1, Title), std::nullopt);
  EXPECT_EQ(FullText(8, 2, Target), std::nullopt);

  // Bytes changed behind its back (a table another program wrote): the text is stale.
  SetFieldText(TheSlotTable().At(8, 1).fields.Target, "C:\\?.txu");
  EXPECT_EQ(FullText(8, 1, Target), std::nullopt);
  SetFieldText(TheSlotTable().At(8, 1).fields.Target, "C:\\?.txt");
  EXPECT_TRUE(FullText(8, 1, Target).has_value());
  // A field set from CP932 bytes, even the same ones, has no whole text beyond them.
  SetSlotField(Target, 8, 1, "C:\\?.txt");
  EXPECT_EQ(FullText(8, 1, Target), std::nullopt);
}

TEST(FullText, FileKeepsEveryByteAndSkipsWhatIsNotAWholeEntry) {
  InitSlotTable();
  ForgetFullTexts();
  const std::string odd = "a\\b\tc\nd\re \xf0\x9f\x98\x80";
  SetSlotField(WorkFolder, 13, 24, "\x82\xa0?");
  SetFullText(13, 24, WorkFolder, "\x82\xa0?", odd);
  const std::vector<std::uint8_t> bytes = SerializeFullTexts(TheSlotTable());
  const std::string file(bytes.begin(), bytes.end());
  ASSERT_EQ(Parse(file), 1u);
  EXPECT_EQ(FullText(13, 24, WorkFolder), odd);

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
  for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.taken) << c.text.substr(0, 80);
  EXPECT_EQ(FullText(13, 24, WorkFolder), std::nullopt);  // a parse replaces every entry
}

}  // namespace
}  // namespace quenda
