#include "core/slot_moves.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"

namespace quenda {
namespace {

constexpr PageIndex D1 = 0, D2 = 1, P1 = 8, P2 = 9, P3 = 10;

// 'S' swaps (page, slot) with (to_page, to_slot), 'M' moves it onto to_page, 'E' retitles it
// "E", 'C' clears it, 'O' opens it (count 9, not a step), 'U' undoes, 'R' redoes. Edits and
// clears are recorded as the window does.
struct Op {
  char kind;
  PageIndex page = 0;
  SlotIndex slot = 0;
  PageIndex to_page = 0;
  SlotIndex to_slot = 0;
};
struct Place {
  PageIndex page;
  SlotIndex slot;
  const char* title;
  const char* count = nullptr;
};
struct Row {
  const char* name;
  std::vector<Op> ops;
  std::vector<Place> expect;
  std::string said;  // the last move's refusal, or the last undo's or redo's step
};

// P1 slot 0 holds "A" (a whole text beside its Title, opened 7 times), P1 slot 1 "B", P2 is
// full, D1 slot 0 holds the address "U".
SlotTable Prepared() {
  SlotTable table;
  WriteNewEntry(table, P1, 0, "a.exe", "A", "", "0");
  SetSlotWholeText(table, Title, P1, 0, "A whole");
  SetSlotField(table, AccessCount, P1, 0, "7");
  WriteNewEntry(table, P1, 1, "b.exe", "B", "", "0");
  for (SlotIndex s = 0; s < kSlotsPerPage; ++s) WriteNewEntry(table, P2, s, "f", "F", "", "0");
  WriteNewEntry(table, D1, 0, "http://u", "U", "", "1");
  return table;
}

std::string Apply(SlotTable& table, UndoHistory& history, const Op& op) {
  switch (op.kind) {
    case 'S':
    case 'M': {
      MoveResult moved = op.kind == 'S'
                             ? SwapSlots(table, op.page, op.slot, op.to_page, op.to_slot)
                             : MoveSlotToPage(table, op.page, op.slot, op.to_page);
      if (moved.step) history.Record(std::move(*moved.step));
      return moved.refusal;
    }
    case 'O':
      SetSlotField(table, AccessCount, op.page, op.slot, "9");
      return "";
    case 'W':  // another PC's edit, merged in without a step
      SetSlotField(table, Memo, op.page, op.slot, "theirs");
      return "";
    case 'E':
    case 'C': {
      TableStep step = BeginStep(table, op.kind == 'E' ? step_name::kEdit : step_name::kClear,
                                 {op.page * kSlotsPerPage + op.slot});
      if (op.kind == 'E') SetSlotField(table, Title, op.page, op.slot, "E");
      else ClearSlot(table, op.page, op.slot);
      FinishStep(table, step);
      history.Record(std::move(step));
      return "";
    }
  }
  const TableStep* step = op.kind == 'U' ? history.Undo(table) : history.Redo(table);
  return step ? step->what : "none";
}

TEST(SlotMoves, MovesUndoAndRedo) {
  const SlotTable prepared = Prepared();
  const SlotRecord a = prepared.At(P1, 0);
  const std::string swap = step_name::kSwap, move = step_name::kMove, edit = step_name::kEdit,
                    clear = step_name::kClear;
  const Row rows[] = {
      {"swap", {{'S', P1, 0, P1, 7}}, {{P1, 0, ""}, {P1, 7, "A"}}, ""},
      {"swap across pages", {{'S', P1, 0, P3, 3}}, {{P1, 0, ""}, {P3, 3, "A"}}, ""},
      {"address with program", {{'S', D1, 0, P1, 0}}, {{D1, 0, "U"}, {P1, 0, "A"}}, ""},
      {"address pages swap", {{'S', D1, 0, D2, 4}}, {{D1, 0, ""}, {D2, 4, "U"}}, ""},
      {"move to a page", {{'M', P1, 1, P3}, {'M', P1, 0, P3}}, {{P3, 0, "B"}, {P3, 1, "A"}}, ""},
      {"full page", {{'M', P1, 0, P2}}, {{P1, 0, "A"}, {P2, 0, "F"}}, msg::kPageFull},
      {"move to another group", {{'M', P1, 0, D2}}, {{P1, 0, "A"}, {D2, 0, ""}}, ""},
      {"undo a move", {{'M', P1, 0, P3}, {'U'}}, {{P1, 0, "A"}, {P3, 0, ""}}, move},
      {"redo it", {{'M', P1, 0, P3}, {'U'}, {'R'}}, {{P1, 0, ""}, {P3, 0, "A"}}, move},
      {"chain back to the start",
       {{'S', P1, 0, P1, 1}, {'E', P1, 1}, {'C', P1, 0}, {'U'}, {'U'}, {'U'}},
       {{P1, 0, "A"}, {P1, 1, "B"}},
       swap},
      {"undo a clear", {{'C', P1, 0}, {'U'}}, {{P1, 0, "A"}}, clear},
      {"redo an edit after its move",
       {{'S', P1, 0, P1, 5}, {'E', P1, 5}, {'U'}, {'U'}, {'R'}, {'R'}},
       {{P1, 0, ""}, {P1, 5, "E"}},
       edit},
      {"a new change clears redo",
       {{'E', P1, 0}, {'U'}, {'S', P1, 1, P1, 2}, {'R'}},
       {{P1, 0, "A"}, {P1, 2, "B"}},
       "none"},
      {"nothing to undo", {{'U'}}, {{P1, 0, "A"}}, "none"},
      {"another PC's edit is never undone", {{'E', P1, 0}, {'W', P1, 0}, {'U'}}, {{P1, 0, "E"}}, "none"},
      {"an opening stays through undo",
       {{'S', P1, 1, P1, 4}, {'E', P1, 4}, {'O', P1, 4}, {'U'}, {'U'}},
       {{P1, 1, "B", "9"}, {P1, 4, ""}},
       swap},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SlotTable table = prepared;
    UndoHistory history;
    std::string said;
    for (const Op& op : row.ops) said = Apply(table, history, op);
    EXPECT_EQ(said, row.said);
    for (const Place& place : row.expect) {
      EXPECT_EQ(GetSlotField(table, Title, place.page, place.slot), place.title)
          << place.page << "/" << place.slot;
      if (place.count) {
        EXPECT_EQ(GetSlotField(table, AccessCount, place.page, place.slot), place.count);
      }
      // "A" travels whole: its whole text, count, icon and stamp.
      if (std::string(place.title) != "A") continue;
      const SlotRecord& moved = table.At(place.page, place.slot);
      EXPECT_EQ(moved.whole, a.whole);
      EXPECT_EQ(GetSlotField(table, AccessCount, place.page, place.slot), "7");
      EXPECT_TRUE(moved.icon == a.icon && moved.stamp == a.stamp);
    }
  }

  // The oldest steps give way once the history is full.
  SlotTable table = prepared;
  UndoHistory history;
  for (std::size_t i = 0; i <= UndoHistory::kKeptSteps; ++i) {
    history.Record(*SwapSlots(table, P1, 0, P1, 1).step);
  }
  std::size_t undone = 0;
  while (history.Undo(table)) ++undone;
  EXPECT_EQ(undone, UndoHistory::kKeptSteps);
  EXPECT_GE(undone, 50u);
  EXPECT_EQ(GetSlotField(table, Title, P1, 0), "B");
}

}  // namespace
}  // namespace quenda
