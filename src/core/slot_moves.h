#pragma once
// Moving slots within their page group, and the undo history of the changes made to the table
// in this run. A step holds the whole records it changed, before and after, so a move takes
// a slot's fields, whole texts, icon, stamp and counts along, and undo puts all of them back.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/slot_table.h"

namespace quenda {

// What a step says on the info line, in CP932.
namespace step_name {
inline constexpr char kMove[] = "\x88\xda\x93\xae";                     // 移動
inline constexpr char kSwap[] = "\x93\xfc\x82\xea\x91\xd6\x82\xa6";     // 入れ替え
inline constexpr char kEdit[] = "\x90\xdd\x92\xe8";                     // 設定
inline constexpr char kClear[] = "\x83\x4e\x83\x8a\x83\x84\x81\x5b";    // クリヤー
inline constexpr char kDrop[] = "\x83\x68\x83\x8d\x83\x62\x83\x76";     // ドロップ
inline constexpr char kCapture[] = "\x8e\xe6\x82\xe8\x8d\x9e\x82\xdd";  // 取り込み
}  // namespace step_name

// Pages whose slots may trade places: the address pages (D1-D4) and the program pages
// (P1-P4); any other page is a group of its own that nothing moves into or out of.
enum class PageGroup { Addresses, Programs, None };
PageGroup GroupOfPage(PageIndex page);

// A slot holds nothing when its Title and Target are both empty.
bool SlotIsEmpty(const SlotTable& table, PageIndex page, SlotIndex slot);

struct SlotChange {
  int record = 0;  // index into SlotTable::records
  SlotRecord before, after;
};

// One undoable change: the records it changed and what it was, for "元に戻しました: ...".
struct TableStep {
  std::string what;
  std::vector<SlotChange> changes;
};

// A step begun before a change: the named slots' records as they are now. Finish it after the
// change; a step whose records did not change is empty.
TableStep BeginStep(const SlotTable& table, std::string what, std::vector<int> records);
void FinishStep(const SlotTable& table, TableStep& step);
bool StepChangesNothing(const TableStep& step);

// The outcome of a move: the step it made, or why nothing moved (`refusal`, CP932, empty when
// the move had nothing to do, e.g. a slot onto itself).
struct MoveResult {
  std::optional<TableStep> step;
  std::string refusal;
};

// Swaps two slots of the same page group whole.
MoveResult SwapSlots(SlotTable& table, PageIndex page_a, SlotIndex slot_a, PageIndex page_b,
                     SlotIndex slot_b);
// Moves a slot to the first empty slot of a page of its group; a full page refuses.
MoveResult MoveSlotToPage(SlotTable& table, PageIndex page, SlotIndex slot, PageIndex to_page);

// The changes made in this run, newest last, and the ones undone since, for redo.
class UndoHistory {
 public:
  static constexpr std::size_t kKeptSteps = 100;

  // A new change: kept (an empty step is not), and what was undone can no longer be redone.
  void Record(TableStep step);
  // Puts the newest step's records back as they were; the step, or nothing when none is left
  // or its slots no longer hold what it left there (another writer's edit merged in since: the
  // history is then dropped rather than that edit lost).
  const TableStep* Undo(SlotTable& table);
  const TableStep* Redo(SlotTable& table);

  bool CanUndo() const { return !done_.empty(); }
  bool CanRedo() const { return !undone_.empty(); }

 private:
  const TableStep* Shift(SlotTable& table, std::deque<TableStep>& from, std::deque<TableStep>& to,
                         bool redo);
  std::deque<TableStep> done_, undone_;
};

}  // namespace quenda
