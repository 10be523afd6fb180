#pragma once
// The table file: 350 records, each the nine fields (738 bytes) and the slot's icon as a BMP
// image (630 bytes as written here), then, when there is anything to keep, Quenda's own block:
// the whole texts and the slots' edit stamps, tied to the records by their checksum. A reader
// of the records stops before the block; a program that rewrites only the records drops it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
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

// A file's size and last write time as the system gives them: what tells cheaply that a file
// was replaced.
struct FileVersion {
  std::uint64_t size = 0;
  std::uint64_t written = 0;
  bool operator==(const FileVersion&) const = default;
};

// Where the file's bytes come from and go to: the Win32 one in the program, the standard
// library's natively.
class TableStorage {
 public:
  virtual ~TableStorage() = default;
  enum class ReadStatus { Ok, Missing, Failed };
  // Reads the whole file (at most `limit` bytes).
  virtual ReadStatus ReadAll(const PathText& path, std::size_t limit, FileBytes& bytes) = 0;
  // Replaces the file by the bytes so that a failure leaves the old file as it was.
  virtual MaybeError WriteReplace(const PathText& path, std::span<const std::uint8_t> bytes) = 0;
  // Copies a file's bytes to a new file beside it, never overwriting one. A failure names the
  // file that failed: `from` when it cannot be read, `to` when it cannot be made.
  virtual MaybeError KeepCopy(const PathText& from, const PathText& to) = 0;
  virtual bool Exists(const PathText& path) = 0;
  virtual void Remove(const PathText& path) = 0;
  // The file's version, or nothing when it is not there.
  virtual std::optional<FileVersion> Version(const PathText& path) = 0;
  // The names of the files in a folder (none when it is not there).
  virtual std::vector<PathText> FileNames(const PathText& folder) = 0;
  // Makes the folder and those above it that are missing; true when it is there afterwards.
  virtual bool MakeFolders(const PathText& folder) = 0;
};

// The reading loop every storage shares: straight into `bytes`, sized by `size_hint` (the file's
// size, when known), on past it when the file grew meanwhile, never beyond `limit`. `read(into,
// most)` gives the bytes it read, 0 at the end, or nothing when reading failed (then so does
// this).
bool ReadGrowing(std::optional<std::uint64_t> size_hint, std::size_t limit, FileBytes& bytes,
                 const std::function<std::optional<std::size_t>(std::uint8_t*, std::size_t)>& read);

// The path with ASCII text appended to its last part ("Quenda.Tbl" + ".tmp"), no conversion.
PathText PathWithSuffix(const PathText& path, std::string_view ascii);

// What reading a file's bytes gave: the records that could not be read (kept with what was
// read, icon blank) and whether anything in the file would be lost by writing the table back.
struct ParsedTable {
  MaybeError error;              // the first record's error, when reading stopped there
  std::vector<int> damaged;      // records passed over, by index
  std::size_t used = 0;          // bytes of the records
  bool has_block = false;        // Quenda's block was there and belonged to the records
  bool foreign_tail = false;     // bytes behind the records that are not Quenda's block
};

// The reader over a file's bytes: fills the table record by record. A record that fails is
// passed over when the file holds every record at the layout's fixed size; otherwise reading
// stops there.
ParsedTable ParseTable(std::span<const std::uint8_t> bytes, SlotTable& table);
// The 350 records as the file holds them.
std::vector<std::uint8_t> SerializeRecords(const SlotTable& table);
// The records followed by Quenda's block, which is left out when there is nothing in it.
std::vector<std::uint8_t> SerializeTable(const SlotTable& table);


// What a merge found: the slots both sides changed (this side's entry kept) and the other
// side's machine, as its stamps name it.
struct MergeResult {
  std::vector<int> conflicts;
  std::string their_machine;
};
// Merges, slot by slot, what this side (`mine`) and the file (`theirs`) made of `base`, the
// version both started from, into `mine`. An entry changed on one side only takes that side;
// counts add up and the later last access wins; an entry changed on both sides, or one the file
// holds in an older edit than `base`, keeps this side's.
MergeResult MergeTables(const SlotTable& base, SlotTable& mine, const SlotTable& theirs);

// The table file in one folder, and what was on disk at its last load or save.
class TableFile {
 public:
  // `machine` names this PC in stamps and conflict copies.
  TableFile(PathText folder, TableStorage& storage, std::string machine = {});

  const PathText& Folder() const { return folder_; }
  // The folder followed directly by "\Quenda.Tbl".
  PathText Path() const;

  // Reads the file into the table. A file that is there but fails to read, or holds bytes that
  // would be lost, is kept aside (beside it) before the next save replaces it. A damaged
  // record costs only itself and is named in the error.
  MaybeError Load(SlotTable& table);

  // What someone else's change to the file did to the table.
  struct SyncResult {
    bool changed = false;   // the table now holds what the file brought
    PathText conflict_copy;  // where the other side's file was kept, when entries collided
    MaybeError error;
  };
  // Brings in a change another program made to the file since the last load or save: the file
  // is taken as it is when the table holds nothing unwritten, merged into the table otherwise.
  // Costs one look at the file's version when nothing changed.
  SyncResult Sync(SlotTable& table);

  // Writes the whole table, merged first with any change on disk. A file that could not be
  // read at all is left alone until the table has changed since the load.
  MaybeError Save(SlotTable& table, SyncResult* sync = nullptr);

  // Where the first save of each day first keeps the file as it was (see KeepDailyBackup); none
  // until set. A backup that fails does not stop the save.
  void SetBackupFolder(PathText folder) { backup_folder_ = std::move(folder); }
  const PathText& BackupFolder() const { return backup_folder_; }
  // Reads a file of the backup folder into `table`, as a load reads the table file.
  MaybeError ReadBackup(const PathText& path, SlotTable& table);
  TableStorage& Storage() const { return *storage_; }

  // Whether the file the last load met goes aside at the next save.
  bool Damaged() const { return damaged_; }
  // Whether the table holds something not yet written.
  bool Unwritten(const SlotTable& table) const;

 private:
  PathText folder_;
  TableStorage* storage_;
  std::string machine_;
  // The version both sides started from: the bytes last read or written (a table is made of
  // them only when another writer's change is merged).
  SlotTable Base() const;
  void Remember(std::span<const std::uint8_t> bytes);
  FileBytes base_;
  std::optional<FileVersion> version_;
  bool damaged_ = false;
  // The file was there but could not be read (held by another program, say): nothing of it is
  // in the table, so it is not replaced before the table has changed.
  bool unread_ = false;
  unsigned long changes_at_load_ = 0;
  // A whole-text file of an earlier version was read; it goes once a table carrying its texts
  // is written.
  bool legacy_texts_ = false;
  PathText backup_folder_;
  int backup_tried_on_ = 0;  // yyyymmdd: a backup is made, or tried, once a day
};

// The bytes' checksum (64-bit FNV-1a).
std::uint64_t Checksum(std::span<const std::uint8_t> bytes);

}  // namespace quenda
