#include "program_entries/drop_entry.h"

#include "slot_table/now_text.h"
#include "slot_table/text_rules.h"

namespace quenda {

bool IsShortcutPath(std::string_view path) { return PathExtension(path) == ".lnk"; }

void WriteDroppedEntry(PageIndex page, SlotIndex slot, std::string_view path) {
  const std::string name = PathFileName(path);
  SetSlotField(Target, page, slot, path);
  SetSlotField(Title, page, slot, name);
  SetSlotField(DisplayName, page, slot, name);
  SetSlotField(Flag1, page, slot, "0");
  SetSlotField(AccessCount, page, slot, "0");
  SetSlotField(LastAccess, page, slot, NowText());
  SetSlotField(Memo, page, slot, "");
}

}  // namespace quenda
