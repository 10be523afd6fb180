#include "core/slot_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/full_text.h"
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
  void SetUp() override { InitSlotTable(); }
};

TEST(PageFromTag, MapsEveryButtonGroup) {
  const std::pair<PageTag, PageIndex> cases[] = {{0, 0},    {1, 1},    {2, 2},    {3, 3},
                                                 {100, 12}, {107, 12}, {199, 12}, {200, 8},
                                                 {201, 9},  {202, 10}, {203, 11}};
  for (auto [tag, page] : cases) EXPECT_EQ(PageFromTag(tag), page) << tag;
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
      SlotFields& fields = TheSlotTable().At(page, slot).fields;
      std::memset(&fields, 'Z', sizeof fields);
      std::string text(len, 'a');
      for (std::size_t i = 0; i < len; ++i) text[i] = char('a' + i % 26);

      SetSlotField(f, page, slot, text);

      const std::size_t kept = std::min(len, width);
      EXPECT_EQ(GetSlotField(f, page, slot), text.substr(0, kept));
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
  SetSlotField(Title, 2, 4, "abcdef");
  SetSlotField(Title, 2, 4, "xy");
  EXPECT_EQ(GetSlotField(Title, 2, 4), "xy");
  const std::span<const char> title = FieldBytes(TheSlotTable().At(2, 4).fields, Title);
  EXPECT_EQ(std::string(title.data(), 7), std::string("xy\0def\0", 7));

  SetSlotField(Title, 2, 4, "");
  EXPECT_EQ(GetSlotField(Title, 2, 4), "");
  EXPECT_EQ(std::string(title.data(), 7), std::string("\0y\0def\0", 7));
}

TEST_F(SlotTableTest, FieldNumbersOutsideTheRecordReadEmptyAndWriteNothing) {
  for (int f = 0; f < kFieldCount; ++f) SetSlotField(f, 1, 1, "filled");
  const SlotFields before = TheSlotTable().At(1, 1).fields;
  for (int f : {-1, 9, 100}) {
    EXPECT_EQ(GetSlotField(f, 1, 1), "") << f;
    SetSlotField(f, 1, 1, "intruder");
  }
  EXPECT_EQ(std::memcmp(&before, &TheSlotTable().At(1, 1).fields, sizeof before), 0);
}

TEST_F(SlotTableTest, InitGivesEverySlotItsOwnBlackIcon) {
  // Dirty the table first: a second init must reset it all.
  for (int s = 0; s < kSlotCount; ++s) {
    std::memset(&TheSlotTable().records[s].fields, 'x', kFieldBytes);
    TheSlotTable().records[s].Icon->bitmap.Fill(9);
  }
  IconRect = {};
  InitSlotTable();

  const SlotFields zero{};
  for (int page = 0; page < kPageCount; ++page) {
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
      const SlotRecord& r = TheSlotTable().At(page, slot);
      ASSERT_EQ(std::memcmp(&r.fields, &zero, sizeof zero), 0) << page << "/" << slot;
      ASSERT_EQ(r.Icon, &TheSlotTable().icons[page * kSlotsPerPage + slot]);
      ASSERT_TRUE(AllIndices(SlotIconBitmap(page, slot), kBlack)) << page << "/" << slot;
    }
  }
  EXPECT_EQ(IconRect.left, 0);
  EXPECT_EQ(IconRect.top, 0);
  EXPECT_EQ(IconRect.right, 32);
  EXPECT_EQ(IconRect.bottom, 32);
}

TEST_F(SlotTableTest, ClearSlotEmptiesOnlyThatSlotAndWhitensItsIcon) {
  for (auto [page, slot] : {std::pair{9, 23}, {9, 24}, {10, 0}}) {
    for (int f = 0; f < kFieldCount; ++f) SetSlotField(f, page, slot, "data");
    StoreSlotIcon(page, slot, Picture(32, 32, 0xFF0000));
  }
  const SlotIcon* icon = TheSlotTable().At(9, 24).Icon;

  ClearSlot(9, 24);

  const SlotFields zero{};
  EXPECT_EQ(std::memcmp(&TheSlotTable().At(9, 24).fields, &zero, sizeof zero), 0);
  EXPECT_EQ(TheSlotTable().At(9, 24).Icon, icon);
  EXPECT_TRUE(AllIndices(SlotIconBitmap(9, 24), kWhite));
  for (auto [page, slot] : {std::pair{9, 23}, {10, 0}}) {
    EXPECT_EQ(GetSlotField(Memo, page, slot), "data");
    EXPECT_TRUE(AllIndices(SlotIconBitmap(page, slot), 9));
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
  StoreSlotIcon(3, 5, big);
  const IconBitmap& stored = SlotIconBitmap(3, 5);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) ASSERT_EQ(stored.At(x, y), corner(x, y)) << x << "," << y;
  }

  // A smaller picture leaves the rest of the icon white, not what was there before.
  StoreSlotIcon(3, 5, Picture(16, 8, 0x0000FF));
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      ASSERT_EQ(stored.At(x, y), x < 16 && y < 8 ? 12 : kWhite) << x << "," << y;
    }
  }
  EXPECT_TRUE(AllIndices(SlotIconBitmap(3, 4), kBlack));
}

// The editors' working copy: the record goes out and comes back whole, the icon object stays.
TEST_F(SlotTableTest, RecordCopyKeepsTheSlotsIconObject) {
  SlotRecord& live = TheSlotTable().At(8, 2);
  SlotIcon* const icon = live.Icon;
  const IconBitmap* const bitmap = &SlotIconBitmap(8, 2);

  SlotRecord work = live;
  SetFieldText(FieldBytes(work.fields, Title), "edited");
  EXPECT_EQ(GetSlotField(Title, 8, 2), "");
  live = work;
  StoreSlotIcon(8, 2, Picture(32, 32, 0x00FF00));

  EXPECT_EQ(live.Icon, icon);
  EXPECT_EQ(&SlotIconBitmap(8, 2), bitmap);
  EXPECT_EQ(GetSlotField(Title, 8, 2), "edited");
  EXPECT_TRUE(AllIndices(SlotIconBitmap(8, 2), 10));
  EXPECT_TRUE(AllIndices(work.Icon->bitmap, 10));
}

// What the main window hands an editor and stores back: the entry with its whole texts and
// icon, and the clear, which empties the slot at once.
TEST_F(SlotTableTest, AnEditedEntryIsStoredWithItsWholeTextsAndIcon) {
  SetSlotField(Target, 8, 2, "C:\\?.exe");
  SetFullText(8, 2, Target, "C:\\?.exe", "C:\\\xc3\xa9.exe");
  SetSlotField(WorkFolder, 8, 2, "C:\\?");
  SetFullText(8, 2, WorkFolder, "C:\\?", "C:\\\xc3\xa9");
  StoreSlotIcon(8, 2, Picture(32, 32, 0xFF0000));
  const SlotEdit edit = SlotEditAt(8, 2);
  EXPECT_EQ(edit.entry.whole_target, "C:\\\xc3\xa9.exe");
  EXPECT_EQ(edit.entry.whole_folder, "C:\\\xc3\xa9");
  EXPECT_TRUE(AllIndices(edit.entry.icon, 9));

  SlotEntry edited = edit.entry;
  SetFieldText(edited.fields.Target, "C:\\?\\b.exe");
  edited.whole_target = "C:\\\xc3\xa9\\b.exe";
  edited.whole_folder.reset();  // the folder's whole text goes, though its cut stays
  SetFieldText(edited.fields.Memo, "memo");
  edited.icon.Fill(12);
  const unsigned long changes = TheSlotTable().changes;
  StoreSlotEntry(8, 2, edited);
  EXPECT_NE(TheSlotTable().changes, changes);
  EXPECT_EQ(std::memcmp(&TheSlotTable().At(8, 2).fields, &edited.fields, kFieldBytes), 0);
  EXPECT_EQ(FullText(8, 2, Target), "C:\\\xc3\xa9\\b.exe");
  EXPECT_EQ(FullText(8, 2, WorkFolder), std::nullopt);
  EXPECT_TRUE(AllIndices(SlotIconBitmap(8, 2), 12));
  EXPECT_EQ(GetSlotField(Memo, 8, 3), "");

  const SlotEntry cleared = edit.clear();
  EXPECT_EQ(GetSlotField(Target, 8, 2), "");
  EXPECT_EQ(cleared.whole_target, std::nullopt);
  EXPECT_TRUE(AllIndices(cleared.icon, kWhite));
}

}  // namespace
}  // namespace quenda
