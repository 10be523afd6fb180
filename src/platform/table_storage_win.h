#pragma once
// The table file through Win32: written to a temporary file beside it, flushed, then renamed
// over it, so a failed save never touches the old file.
#include "core/table_file.h"

namespace quenda {

class Win32TableStorage : public TableStorage {
 public:
  ReadStatus ReadAll(const std::filesystem::path& path, std::size_t limit,
                     std::vector<std::uint8_t>& bytes) override;
  MaybeError WriteReplace(const std::filesystem::path& path,
                          std::span<const std::uint8_t> bytes) override;
  MaybeError KeepCopy(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool Exists(const std::filesystem::path& path) override;
  void Remove(const std::filesystem::path& path) override;
};

// A path the file API takes at any length ("\\?\" form past MAX_PATH).
std::wstring ApiPath(const std::filesystem::path& path);

}  // namespace quenda
