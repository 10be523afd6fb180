// Any bytes as a table file: the reader must stay within them and leave a table that saves as
// 350 whole records, and what it saved must read back into the same fields and icons. Inputs
// starting with "Q" are instead the tail behind 350 sound records, with the checksums a writer
// puts there filled in, so that Quenda's block is reached; what its reader keeps must save and
// read back the same.
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

quenda::SlotTable& Table(int n) {
  static const std::unique_ptr<quenda::SlotTable[]> tables(new quenda::SlotTable[2]);
  return tables[n];
}

void Put64(std::uint8_t* at, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) at[i] = std::uint8_t(value >> (8 * i));
}

bool SameRecords(const quenda::SlotTable& a, const quenda::SlotTable& b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const quenda::SlotRecord &x = a.records[i], &y = b.records[i];
    if (std::memcmp(&x.fields, &y.fields, sizeof x.fields) != 0 || !(x.icon == y.icon) ||
        x.whole != y.whole || !(x.stamp == y.stamp)) {
      return false;
    }
  }
  return true;
}

void FuzzBlock(std::span<const std::uint8_t> tail) {
  static const std::vector<std::uint8_t> records = quenda::SerializeRecords(quenda::SlotTable{});
  std::vector<std::uint8_t> file = records;
  file.insert(file.end(), tail.begin(), tail.end());
  // Mark (16), records' checksum (8), size (4), entries, entries' checksum (8).
  if (tail.size() >= 36) {
    std::uint8_t* block = file.data() + records.size();
    Put64(block + 16, quenda::Checksum(records));
    const std::size_t entries = tail.size() - 36;
    for (int i = 0; i < 4; ++i) block[24 + i] = std::uint8_t(entries >> (8 * i));
    Put64(block + 28 + entries, quenda::Checksum({block + 28, entries}));
  }
  Table(0) = quenda::SlotTable{};
  (void)quenda::ParseTable(file, Table(0));
  const std::vector<std::uint8_t> saved = quenda::SerializeTable(Table(0));
  Table(1) = quenda::SlotTable{};
  const quenda::ParsedTable again = quenda::ParseTable(saved, Table(1));
  if (again.error || again.foreign_tail || !again.damaged.empty()) std::abort();
  if (!SameRecords(Table(0), Table(1), quenda::kSlotCount)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quenda::kRecordBytes;
  if (size > 0 && data[0] == 'Q') {
    FuzzBlock({data + 1, size - 1});
    return 0;
  }
  Table(0) = quenda::SlotTable{};
  (void)quenda::ParseTable(std::span<const std::uint8_t>(data, size), Table(0));
  const std::vector<std::uint8_t> saved = quenda::SerializeRecords(Table(0));
  if (saved.size() != quenda::kTableFileBytes) std::abort();

  // Every record takes at least its fields and a 14-byte file header, so the input reached no
  // further than this; the records behind it are untouched and a full round trip of all 350
  // would only slow the search down.
  const std::size_t reached = std::min<std::size_t>(quenda::kSlotCount, size / (738 + 14) + 2);
  const std::span<const std::uint8_t> head(saved.data(), reached * kRecordBytes);
  Table(1) = quenda::SlotTable{};
  const quenda::ParsedTable parsed = quenda::ParseTable(head, Table(1));
  if (parsed.error.has_value() != (reached < std::size_t(quenda::kSlotCount))) std::abort();
  for (std::size_t i = 0; i < reached; ++i) {
    const quenda::SlotRecord& first = Table(0).records[i];
    const quenda::SlotRecord& second = Table(1).records[i];
    if (std::memcmp(&first.fields, &second.fields, sizeof first.fields) != 0) std::abort();
    if (!(first.icon == second.icon)) std::abort();
  }
  return 0;
}
