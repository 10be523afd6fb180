#include "core/slot_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "table_layout.h"

namespace quenda {
namespace {

using quenda_test::kFieldOffset;
using quenda_test::kFieldWidth;

const std::uint8_t* Raw(const SlotFields& f) { return reinterpret_cast<const std::uint8_t*>(&f); }

bool AllIndices(const IconBitmap& icon, std::uint8_t index) {
  for (std::uint8_t i : icon.index) {
    if (i != index) return false;
  }
  return true;
}

class SlotTableTest : public ::testing::Test {
 protected:
  SlotTable table;
};

TEST(PageFromTag, MapsEveryButtonGroup) {
  constexpr auto A = PageKind::Address, H = PageKind::Hidden, P = PageKind::Program;
  const std::tuple<PageTag, PageIndex, PageKind> cases[] = {
      {0, 0, A},    {1, 1, A},    {2, 2, A},   {3, 3, A},   {100, 12, H}, {107, 12, H},
      {199, 12, H}, {200, 8, P},  {201, 9, P}, {202, 10, P}, {203, 11, P}};
  for (auto [tag, page, kind] : cases) {
    EXPECT_EQ(PageFromTag(tag), page) << tag;
    EXPECT_EQ(KindOfPage(tag), kind) << tag;
  }
}

TEST_F(SlotTableTest, FieldsLieAtTheirRecordOffsets) {
  SlotFields fields{};
  for (int f = 0; f < kFieldCount; ++f) {
    const std::span<char> bytes = FieldBytes(fields, f);
    EXPECT_EQ(std::size_t(bytes.data() - reinterpret_cast<char*>(&fields)), kFieldOffset[f]) << f;
    EXPECT_EQ(bytes.size(), kFieldWidth[f]) << f;
  }
  EXPECT_TRUE(FieldBytes(fields, 9).empty());
  EXPECT_TRUE(FieldBytes(fields, -1).empty());
}

// Every field, every length around its width: the value read back, the bytes behind the NUL
// and the bytes outside the field.
TEST_F(SlotTableTest, SetAndGetFollowTheTextRules) {
  const PageIndex page = 8;
  const SlotIndex slot = 13;
  for (int f = 0; f < kFieldCount; ++f) {
    const std::size_t width = kFieldWidth[f];
    for (std::size_t len :
         {std::size_t(0), std::size_t(1), width - 1, width, width + 1, std::size_t(200)}) {
      SCOPED_TRACE("field " + std::to_string(f) + ", length " + std::to_string(len));
      SlotFields& fields = table.At(page, slot).fields;
      std::memset(&fields, 'Z', sizeof fields);
      std::string text(len, 'a');
      for (std::size_t i = 0; i < len; ++i) text[i] = char('a' + i % 26);

      SetSlotField(table, f, page, slot, text);

      const std::size_t kept = std::min(len, width);
      EXPECT_EQ(GetSlotField(table, f, page, slot), text.substr(0, kept));
      const std::uint8_t* raw = Raw(fields);
      for (std::size_t i = 0; i < sizeof fields; ++i) {
        const std::size_t begin = kFieldOffset[f];
        std::uint8_t want = 'Z';
        if (i >= begin && i < begin + kept) want = std::uint8_t(text[i - begin]);
        if (i == begin + kept && kept < width) want = 0;
        ASSERT_EQ(raw[i], want) << "byte " << i;
      }
    }
  }
}

TEST_F(SlotTableTest, ShorterTextLeavesTheOldTailBehindItsNul) {
  SetSlotField(table, Title, 2, 4, "abcdef");
  SetSlotField(table, Title, 2, 4, "xy");
  EXPECT_EQ(GetSlotField(table, Title, 2, 4), "xy");
  const std::span<const char> title = FieldBytes(table.At(2, 4).fields, Title);
  EXPECT_EQ(std::string(title.data(), 7), std::string("xy\0def\0", 7));

  SetSlotField(table, Title, 2, 4, "");
  EXPECT_EQ(GetSlotField(table, Title, 2, 4), "");
  EXPECT_EQ(std::string(title.data(), 7), std::string("\0y\0def\0", 7));
}

TEST_F(SlotTableTest, FieldNumbersOutsideTheRecordReadEmptyAndWriteNothing) {
  for (int f = 0; f < kFieldCount; ++f) SetSlotField(table, f, 1, 1, "filled");
  const SlotFields before = table.At(1, 1).fields;
  for (int f : {-1, 9, 100}) {
    EXPECT_EQ(GetSlotField(table, f, 1, 1), "") << f;
    SetSlotField(table, f, 1, 1, "intruder");
  }
  EXPECT_EQ(std::memcmp(&before, &table.At(1, 1).fields, sizeof before), 0);
}

TEST_F(SlotTableTest, ANewTableHoldsEmptySlotsWithBlackIcons) {
  const SlotFields zero{};
  for (int page = 0; page < kPageCount; ++page) {
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
      const SlotRecord& r = table.At(page, slot);
      ASSERT_EQ(std::memcmp(&r.fields, &zero, sizeof zero), 0) << page << "/" << slot;
      ASSERT_TRUE(AllIndices(r.icon, kBlack)) << page << "/" << slot;
      ASSERT_EQ(r.whole, WholeTexts{});
    }
  }
}

TEST_F(SlotTableTest, ClearSlotEmptiesOnlyThatSlotAndWhitensItsIcon) {
  for (auto [page, slot] : {std::pair{9, 23}, {9, 24}, {10, 0}}) {
    for (int f = 0; f < kFieldCount; ++f) SetSlotField(table, f, page, slot, "data");
    StoreSlotIcon(table, page, slot, Picture(32, 32, 0xFF0000));
  }

  ClearSlot(table, 9, 24);

  const SlotFields zero{};
  EXPECT_EQ(std::memcmp(&table.At(9, 24).fields, &zero, sizeof zero), 0);
  EXPECT_TRUE(AllIndices(table.At(9, 24).icon, kWhite));
  for (auto [page, slot] : {std::pair{9, 23}, {10, 0}}) {
    EXPECT_EQ(GetSlotField(table, Memo, page, slot), "data");
    EXPECT_TRUE(AllIndices(table.At(page, slot).icon, 9));
  }
}

// The corner is drawn from the nine darker colours, the rest of a 48 x 48 picture is red, so a
// shifted, scaled or flipped copy shows.
TEST_F(SlotTableTest, StoreSlotIconTakesTheTopLeftCornerOnWhite) {
  auto corner = [](int x, int y) { return std::uint8_t((x + 3 * y) % 9); };
  Picture big(48, 48, 0xFF0000);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) big.Set(x, y, kIconPalette[corner(x, y)]);
  }
  StoreSlotIcon(table, 3, 5, big);
  const IconBitmap& stored = table.At(3, 5).icon;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) ASSERT_EQ(stored.At(x, y), corner(x, y)) << x << "," << y;
  }

  // A smaller picture leaves the rest of the icon white, not what was there before.
  StoreSlotIcon(table, 3, 5, Picture(16, 8, 0x0000FF));
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      ASSERT_EQ(stored.At(x, y), x < 16 && y < 8 ? 12 : kWhite) << x << "," << y;
    }
  }
  EXPECT_TRUE(AllIndices(table.At(3, 4).icon, kBlack));
}

// What the main window hands an editor and stores back: the entry with its whole texts and
// icon, and the clear, which empties the slot at once.
TEST_F(SlotTableTest, AnEditedEntryIsStoredWithItsWholeTextsAndIcon) {
  table.machine = "DESK";
  SetSlotField(table, Target, 8, 2, "C:\\?.exe");
  SetSlotWholeText(table, Target, 8, 2, "C:\\\xc3\xa9.exe");
  SetSlotField(table, WorkFolder, 8, 2, "C:\\?");
  SetSlotWholeText(table, WorkFolder, 8, 2, "C:\\\xc3\xa9");
  SetSlotField(table, Title, 8, 2, "?");
  SetSlotWholeText(table, Title, 8, 2, "\xed\x95\x9c");  // a title CP932 lacks keeps its text too
  StoreSlotIcon(table, 8, 2, Picture(32, 32, 0xFF0000));
  const SlotEdit edit = SlotEditAt(table, 8, 2);
  EXPECT_EQ(edit.entry.whole[Target], "C:\\\xc3\xa9.exe");
  EXPECT_EQ(edit.entry.whole[WorkFolder], "C:\\\xc3\xa9");
  EXPECT_EQ(edit.entry.whole[Title], "\xed\x95\x9c");
  EXPECT_EQ(table.At(8, 2).stamp.machine, "DESK");
  EXPECT_TRUE(AllIndices(edit.entry.icon, 9));

  SlotEntry edited = edit.entry;
  SetFieldText(edited.fields.Target, "C:\\?\\b.exe");
  edited.whole[Target] = "C:\\\xc3\xa9\\b.exe";
  edited.whole[WorkFolder].clear();  // the folder's whole text goes, though its cut stays
  SetFieldText(edited.fields.Memo, "memo");
  edited.icon.Fill(12);
  const unsigned long changes = table.changes;
  StoreSlotEntry(table, 8, 2, edited);
  EXPECT_NE(table.changes, changes);
  EXPECT_EQ(std::memcmp(&table.At(8, 2).fields, &edited.fields, kFieldBytes), 0);
  EXPECT_EQ(SlotWholeText(table, Target, 8, 2), "C:\\\xc3\xa9\\b.exe");
  EXPECT_EQ(SlotWholeText(table, WorkFolder, 8, 2), std::nullopt);
  EXPECT_TRUE(AllIndices(table.At(8, 2).icon, 12));
  EXPECT_EQ(GetSlotField(table, Memo, 8, 3), "");

  const SlotEntry cleared = edit.clear();
  EXPECT_EQ(GetSlotField(table, Target, 8, 2), "");
  EXPECT_EQ(cleared.whole, WholeTexts{});
  EXPECT_TRUE(AllIndices(cleared.icon, kWhite));
}

}  // namespace
}  // namespace quenda
