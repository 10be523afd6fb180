#pragma once
// The table's storage through the standard library, for native builds and tests.
#include "core/table_file.h"

namespace quenda {

// Portable storage through the standard library: write to "<file>.tmp", then rename.
class StdTableStorage : public TableStorage {
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

}  // namespace quenda
