#include "core/drop_entry.h"

#include "core/text_rules.h"

namespace quenda {

bool IsShortcutPath(std::string_view path) { return PathExtension(path) == ".lnk"; }

void WriteDroppedEntry(SlotTable& table, PageIndex page, SlotIndex slot, std::string_view path) {
  const std::string name = PathFileName(path);
  WriteNewEntry(table, page, slot, path, name, name, "0");
}

}  // namespace quenda
