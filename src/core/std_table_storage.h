#pragma once
// The table's storage through the standard library, for native builds and tests.
#include "core/table_file.h"

namespace quenda {

// Portable storage through the standard library: write to "<file>.tmp", then rename.
class StdTableStorage : public TableStorage {
 public:
  ReadStatus ReadAll(const std::filesystem::path& path, std::size_t limit,
                     std::vector<std::uint8_t>& bytes) override;
  MaybeError WriteReplace(const std::filesystem::path& path,
                          std::span<const std::uint8_t> bytes) override;
  MaybeError KeepCopy(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool Exists(const std::filesystem::path& path) override;
  void Remove(const std::filesystem::path& path) override;
};

}  // namespace quenda
