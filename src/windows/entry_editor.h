#pragma once
// EntryEditor: what both entry editors share. The main window hands one a slot; the editor
// gives the edited entry back, or nothing, and writes no slot itself but through the clear it
// was handed.
#include <windows.h>

#include <optional>
#include <utility>

#include "core/slot_table.h"
#include "ui/layout_builder.h"

namespace quenda {

class EntryEditor : public win::LayoutWindow {
 public:
  // Shows the editor modally over `owner` on a slot; gives the edited entry after "設　定",
  // nothing after "ｷｬﾝｾﾙ" or the close box.
  std::optional<SlotEntry> Edit(HWND owner, SlotEdit slot) {
    Hand(std::move(slot));
    if (!ShowModal(owner)) result_.reset();  // the session ended while it was open
    return std::exchange(result_, std::nullopt);
  }
  // Loads a slot without showing the editor; Result() then holds what "設　定" gives.
  void Load(SlotEdit slot) {
    Hand(std::move(slot));
    LoadHandedSlot();
  }
  const std::optional<SlotEntry>& Result() const { return result_; }

  virtual void LoadHandedSlot() = 0;  // loads the slot into the controls as the editor opens

 protected:
  void Opening() override { LoadHandedSlot(); }
  const SlotEntry& HandedEntry() const { return slot_.entry; }
  // "クリヤー": empties the slot at once and gives its entry as it is then.
  SlotEntry ClearHandedSlot() { return slot_.clear ? slot_.clear() : SlotEntry{}; }
  // "設　定": the edited entry goes back and the editor closes.
  void GiveBack(const SlotEntry& entry) {
    result_ = entry;
    EndModal();
  }

 private:
  void Hand(SlotEdit slot) {
    slot_ = std::move(slot);
    result_.reset();
  }

  SlotEdit slot_;
  std::optional<SlotEntry> result_;
};

}  // namespace quenda
