#include "core/slot_moves.h"

#include <cstring>
#include <utility>

#include "core/errors.h"

namespace quenda {

namespace {

int RecordIndex(PageIndex page, SlotIndex slot) { return page * kSlotsPerPage + slot; }

// Writes the records of one side of a step (before for undo, after for redo). Opening a slot is
// no change of its own: an entry opened since keeps its count and date wherever it goes back.
void Apply(SlotTable& table, const TableStep& step, bool after) {
  std::vector<SlotRecord> now;
  for (const SlotChange& change : step.changes) now.push_back(table.records[change.record]);
  for (std::size_t i = 0; i < step.changes.size(); ++i) {
    SlotRecord record = after ? step.changes[i].after : step.changes[i].before;
    // Where that entry lies now: a moved one elsewhere in the step, an edited one in place.
    std::size_t from = i;
    for (std::size_t j = 0; j < step.changes.size(); ++j) {
      if (SameRecord(after ? step.changes[j].before : step.changes[j].after, record)) from = j;
    }
    const SlotRecord& was = after ? step.changes[from].before : step.changes[from].after;
    if (SameEntry(now[from], was) && !SameRecord(now[from], was)) {
      std::memcpy(record.fields.AccessCount, now[from].fields.AccessCount,
                  sizeof record.fields.AccessCount);
      std::memcpy(record.fields.LastAccess, now[from].fields.LastAccess,
                  sizeof record.fields.LastAccess);
      record.whole[AccessCount] = now[from].whole[AccessCount];
      record.whole[LastAccess] = now[from].whole[LastAccess];
    }
    table.records[step.changes[i].record] = std::move(record);
  }
  ++table.changes;
}

}  // namespace

PageGroup GroupOfPage(PageIndex page) {
  if (page >= PageFromTag(0) && page <= PageFromTag(3)) return PageGroup::Addresses;
  if (page >= PageFromTag(200) && page <= PageFromTag(203)) return PageGroup::Programs;
  return PageGroup::None;
}

bool SlotIsEmpty(const SlotTable& table, PageIndex page, SlotIndex slot) {
  return GetSlotField(table, Title, page, slot).empty() &&
         GetSlotField(table, Target, page, slot).empty();
}

TableStep BeginStep(const SlotTable& table, std::string what, std::vector<int> records) {
  TableStep step{std::move(what), {}};
  for (int record : records) step.changes.push_back({record, table.records[record], {}});
  return step;
}

void FinishStep(const SlotTable& table, TableStep& step) {
  for (SlotChange& change : step.changes) change.after = table.records[change.record];
  std::erase_if(step.changes,
                [](const SlotChange& change) { return SameRecord(change.before, change.after); });
}

bool StepChangesNothing(const TableStep& step) { return step.changes.empty(); }

MoveResult SwapSlots(SlotTable& table, PageIndex page_a, SlotIndex slot_a, PageIndex page_b,
                     SlotIndex slot_b) {
  const PageGroup group = GroupOfPage(page_a);
  if (group == PageGroup::None || group != GroupOfPage(page_b)) return {};
  const int a = RecordIndex(page_a, slot_a), b = RecordIndex(page_b, slot_b);
  if (a == b) return {};
  TableStep step = BeginStep(table, step_name::kSwap, {a, b});
  std::swap(table.records[a], table.records[b]);
  ++table.changes;
  FinishStep(table, step);
  return {std::move(step), {}};
}

MoveResult MoveSlotToPage(SlotTable& table, PageIndex page, SlotIndex slot, PageIndex to_page) {
  const PageGroup group = GroupOfPage(page);
  if (group == PageGroup::None || group != GroupOfPage(to_page) || page == to_page) return {};
  for (SlotIndex free = 0; free < kSlotsPerPage; ++free) {
    if (!SlotIsEmpty(table, to_page, free)) continue;
    MoveResult result = SwapSlots(table, page, slot, to_page, free);
    if (result.step) result.step->what = step_name::kMove;
    return result;
  }
  return {std::nullopt, msg::kPageFull};
}

void UndoHistory::Record(TableStep step) {
  if (StepChangesNothing(step)) return;
  undone_.clear();
  done_.push_back(std::move(step));
  if (done_.size() > kKeptSteps) done_.pop_front();
}

// Whether every slot of a step still holds the entry the step left there (`after`) or found
// (`before`): another PC's edit merged in since is never overwritten by an undo or a redo.
bool Holds(const SlotTable& table, const TableStep& step, bool after) {
  for (const SlotChange& change : step.changes) {
    bool found = false;
    for (const SlotChange& other : step.changes) {
      found = found || SameEntry(table.records[change.record], after ? other.after : other.before);
    }
    if (!found) return false;
  }
  return true;
}

const TableStep* UndoHistory::Undo(SlotTable& table) { return Shift(table, done_, undone_, false); }
const TableStep* UndoHistory::Redo(SlotTable& table) { return Shift(table, undone_, done_, true); }

// The newest step of `from` taken back (or done again) onto `to`. When its slots no longer hold
// what it left there, it goes with everything older than it: none can be taken safely; an undo
// that cannot go back can no longer be redone either.
const TableStep* UndoHistory::Shift(SlotTable& table, std::deque<TableStep>& from,
                                    std::deque<TableStep>& to, bool redo) {
  if (from.empty()) return nullptr;
  if (!Holds(table, from.back(), !redo)) {
    from.clear();
    if (!redo) to.clear();
    return nullptr;
  }
  to.push_back(std::move(from.back()));
  from.pop_back();
  Apply(table, to.back(), redo);
  return &to.back();
}

}  // namespace quenda
