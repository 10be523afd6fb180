// Any bytes as the file of whole texts beside the table: the reader must stay within them, keep
// only well-formed entries, and what it keeps must save and read back as the same entries.
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
  const std::size_t taken = quenda::ParseFullTexts(std::span<const std::uint8_t>(data, size));
  const std::vector<quenda::FullTextEntry> entries = quenda::FullTextEntries();
  if (entries.size() > taken || entries.size() > 2u * quenda::kSlotCount) std::abort();

  // Every entry applies once its field holds its cut; saved and read again, nothing changes.
  Table() = quenda::SlotTable{};
  for (const quenda::FullTextEntry& e : entries) {
    if (e.cut.empty() || e.cut.size() > 128 || !quenda::IsUtf8(e.utf8)) std::abort();
    quenda::SetFieldText(quenda::FieldBytes(Table().records[e.record].fields, e.field), e.cut);
  }
  const std::vector<std::uint8_t> saved = quenda::SerializeFullTexts(Table());
  if (quenda::ParseFullTexts(saved) != entries.size()) std::abort();
  if (quenda::FullTextEntries() != entries) std::abort();
  return 0;
}
