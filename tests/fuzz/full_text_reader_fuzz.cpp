// Any bytes as an earlier version's file of whole texts beside the table: the reader must stay
// within them and keep only well-formed entries, which then apply only where their cut stands.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "core/full_text.h"
#include "core/slot_table.h"

namespace {

quenda::SlotTable& Table() {
  static const std::unique_ptr<quenda::SlotTable> table = std::make_unique<quenda::SlotTable>();
  return *table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<quenda::LegacyWholeText> entries =
      quenda::ParseLegacyWholeTexts(std::span<const std::uint8_t>(data, size));
  for (const quenda::LegacyWholeText& e : entries) {
    if (e.record < 0 || e.record >= quenda::kSlotCount ||
        (e.field != quenda::Target && e.field != quenda::WorkFolder)) {
      std::abort();
    }
    if (e.cut.empty() || e.cut.size() > 128 || e.utf8.empty() || !quenda::IsUtf8(e.utf8)) {
      std::abort();
    }
  }
  // A table whose fields hold no cut takes none of them (nor changes, so it is made only once).
  if (quenda::ApplyLegacyWholeTexts(Table(), entries) != 0) std::abort();
  return 0;
}
