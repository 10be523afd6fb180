#pragma once
// The table file through Win32: written to a temporary file beside it, flushed, then renamed
// over it, so a failed save never touches the old file.
#include "core/table_file.h"

namespace quenda {

class Win32TableStorage : public TableStorage {
 public:
  ReadStatus ReadAll(const PathText& path, std::size_t limit,
                     FileBytes& bytes) override;
  MaybeError WriteReplace(const PathText& path,
                          std::span<const std::uint8_t> bytes) override;
  MaybeError KeepCopy(const PathText& from, const PathText& to) override;
  bool Exists(const PathText& path) override;
  void Remove(const PathText& path) override;
  std::optional<FileVersion> Version(const PathText& path) override;
  std::vector<PathText> FileNames(const PathText& folder) override;
  bool MakeFolders(const PathText& folder) override;
};

// Where this PC keeps the tables' daily backups: "Quenda\Backups" in the user's local
// application data, never synced; empty when the system names no such folder.
PathText LocalBackupRoot();

// A path the file API takes at any length ("\\?\" form past MAX_PATH).
std::wstring ApiPath(const PathText& path);

}  // namespace quenda
