#pragma once
// The table file: 350 records, each the nine fields (738 bytes) and the slot's icon as a BMP
// image (630 bytes as written here). No header; the images delimit themselves.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/slot_table.h"

namespace quenda {

inline constexpr std::size_t kIconImageBytes = 630;
inline constexpr std::size_t kRecordBytes = kFieldBytes + kIconImageBytes;  // 1,368
inline constexpr std::size_t kTableFileBytes = kRecordBytes * kSlotCount;  // 478,800

// An allocator whose growth leaves new bytes as they are: a read fills them at once, and zeroing
// half a megabyte first cost a tenth of every load.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
  UninitialisedAllocator() = default;
  template <class U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
};
// A file's bytes as read.
using FileBytes = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

// Where the file's bytes come from and go to; the window layer installs the Win32 one.
class TableStorage {
 public:
  virtual ~TableStorage() = default;
  enum class ReadStatus { Ok, Missing, Failed };
  // Reads the whole file (at most `limit` bytes).
  virtual ReadStatus ReadAll(const PathText& path, std::size_t limit,
                             FileBytes& bytes) = 0;
  // Replaces the file by the bytes so that a failure leaves the old file as it was.
  virtual MaybeError WriteReplace(const PathText& path,
                                  std::span<const std::uint8_t> bytes) = 0;
  // Copies a file's bytes to a new file beside it, never overwriting one.
  virtual MaybeError KeepCopy(const PathText& from,
                              const PathText& to) = 0;
  virtual bool Exists(const PathText& path) = 0;
  virtual void Remove(const PathText& path) = 0;
};


// The reading loop every storage shares: straight into `bytes`, sized by `size_hint` (the file's
// size, when known), on past it when the file grew meanwhile, never beyond `limit`. `read(into,
// most)` gives the bytes it read, 0 at the end, or nothing when reading failed (then so does
// this).
bool ReadGrowing(std::optional<std::uint64_t> size_hint, std::size_t limit,
                 FileBytes& bytes,
                 const std::function<std::optional<std::size_t>(std::uint8_t*, std::size_t)>& read);

// Installs the storage LoadTable and SaveTable use (not owned). Each program installs its
// platform's, so that none links another's; with none, loading and saving fail.
void SetTableStorage(TableStorage* storage);

// The path with ASCII text appended to its last part ("Quenda.Tbl" + ".tmp"), no conversion.
PathText PathWithSuffix(const PathText& path, std::string_view ascii);

// ProgramDir followed directly by "\Quenda.Tbl".
PathText TableFilePath();

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
