#pragma once
// The table file: 350 records, each the nine fields (738 bytes) and the slot's icon as a BMP
// image (630 bytes as written here). No header; the images delimit themselves.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/slot_table.h"

namespace quenda {

inline constexpr std::size_t kIconImageBytes = 630;
inline constexpr std::size_t kRecordBytes = kFieldBytes + kIconImageBytes;  // 1,368
inline constexpr std::size_t kTableFileBytes = kRecordBytes * kSlotCount;  // 478,800

// Where the file's bytes come from and go to; the window layer installs the Win32 one.
class TableStorage {
 public:
  virtual ~TableStorage() = default;
  enum class ReadStatus { Ok, Missing, Failed };
  // Reads the whole file (at most `limit` bytes).
  virtual ReadStatus ReadAll(const std::filesystem::path& path, std::size_t limit,
                             std::vector<std::uint8_t>& bytes) = 0;
  // Replaces the file by the bytes so that a failure leaves the old file as it was.
  virtual MaybeError WriteReplace(const std::filesystem::path& path,
                                  std::span<const std::uint8_t> bytes) = 0;
  // Copies a file's bytes to a new file beside it, never overwriting one.
  virtual MaybeError KeepCopy(const std::filesystem::path& from,
                              const std::filesystem::path& to) = 0;
  virtual bool Exists(const std::filesystem::path& path) = 0;
  virtual void Remove(const std::filesystem::path& path) = 0;
};


// The reading loop every storage shares: straight into `bytes`, sized by `size_hint` (the file's
// size, when known), on past it when the file grew meanwhile, never beyond `limit`. `read(into,
// most)` gives the bytes it read, 0 at the end, or nothing when reading failed (then so does
// this).
bool ReadGrowing(std::optional<std::uint64_t> size_hint, std::size_t limit,
                 std::vector<std::uint8_t>& bytes,
                 const std::function<std::optional<std::size_t>(std::uint8_t*, std::size_t)>& read);

// Installs the storage LoadTable and SaveTable use (not owned). Each program installs its
// platform's, so that none links another's; with none, loading and saving fail.
void SetTableStorage(TableStorage* storage);

// The path with ASCII text appended to its last part ("Quenda.Tbl" + ".tmp"), no conversion.
std::filesystem::path PathWithSuffix(const std::filesystem::path& path, std::string_view ascii);

// ProgramDir followed directly by "\Quenda.Tbl".
std::filesystem::path TableFilePath();

// The reader over a file's bytes: fills the table record by record and stops at the first
// failing record, as LoadTable does. `used` (when given) gets the number of bytes consumed.
MaybeError ParseTable(std::span<const std::uint8_t> bytes, SlotTable& table,
                      std::size_t* used = nullptr);
// The whole table as the file holds it.
std::vector<std::uint8_t> SerializeTable(const SlotTable& table);

// Reads the table file into TheSlotTable(). A file that is there but fails to read, or holds
// more than the 350 records, is kept aside (beside it) before the next save replaces it.
MaybeError LoadTable();
// Writes the whole table to the table file. A file that could not be read at all is left
// alone until the table has changed since the load.
MaybeError SaveTable();

// Whether the file the last load met goes aside at the next save.
bool TableFileDamaged();

}  // namespace quenda
