// Any bytes as a table file: the reader must stay within them and leave a table that saves as
// 350 whole records, and what it saved must read back into the same fields and icons.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "core/slot_table.h"
#include "core/table_file.h"

namespace {

// A second table for the round trip, with its own icons as InitSlotTable gives them.
quenda::SlotTable& SecondTable() {
  static const std::unique_ptr<quenda::SlotTable> table = [] {
    auto t = std::make_unique<quenda::SlotTable>();
    for (int i = 0; i < quenda::kSlotCount; ++i) t->records[i].Icon = &t->icons[i];
    return t;
  }();
  return *table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quenda::kRecordBytes;
  quenda::InitSlotTable();
  (void)quenda::ParseTable(std::span<const std::uint8_t>(data, size), quenda::TheSlotTable());
  const std::vector<std::uint8_t> saved = quenda::SerializeTable(quenda::TheSlotTable());
  if (saved.size() != quenda::kTableFileBytes) std::abort();

  // Every record takes at least its fields and a 14-byte file header, so the input reached no
  // further than this; the records behind it are untouched and a full round trip of all 350
  // would only slow the search down.
  const std::size_t reached = std::min<std::size_t>(quenda::kSlotCount, size / (738 + 14) + 2);
  const std::span<const std::uint8_t> head(saved.data(), reached * kRecordBytes);
  const quenda::MaybeError error = quenda::ParseTable(head, SecondTable());
  if (error.has_value() != (reached < std::size_t(quenda::kSlotCount))) std::abort();
  for (std::size_t i = 0; i < reached; ++i) {
    const quenda::SlotRecord& first = quenda::TheSlotTable().records[i];
    const quenda::SlotRecord& second = SecondTable().records[i];
    if (std::memcmp(&first.fields, &second.fields, sizeof first.fields) != 0) std::abort();
    if (!(first.Icon->bitmap == second.Icon->bitmap)) std::abort();
  }
  return 0;
}
