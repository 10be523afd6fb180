#include "core/std_table_storage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace quenda {

namespace {

// C files: the bytes go straight into the caller's vector, with no stream buffer between.
struct CloseFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

File OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  const std::wstring wide_mode(mode, mode + std::strlen(mode));
  return File(_wfopen(path.c_str(), wide_mode.c_str()));
#else
  return File(std::fopen(path.c_str(), mode));
#endif
}

}  // namespace

TableStorage::ReadStatus StdTableStorage::ReadAll(const PathText& path,
                                                  std::size_t limit,
                                                  FileBytes& bytes) {
  std::error_code ec;
  const std::filesystem::file_status st = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(st)) return ReadStatus::Missing;
  // A folder opens as a stream that reads nothing; it is no table to load or to replace.
  if (!std::filesystem::is_regular_file(st)) return ReadStatus::Failed;
  const File in = OpenFile(path, "rb");
  if (!in) return ReadStatus::Failed;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  const bool read = ReadGrowing(
      ec ? std::nullopt : std::optional<std::uint64_t>(size), limit, bytes,
      [&](std::uint8_t* into, std::size_t most) -> std::optional<std::size_t> {
        const std::size_t n = std::fread(into, 1, most, in.get());
        if (std::ferror(in.get())) return std::nullopt;
        return n;
      });
  return read ? ReadStatus::Ok : ReadStatus::Failed;
}

MaybeError StdTableStorage::WriteReplace(const PathText& path,
                                         std::span<const std::uint8_t> bytes) {
  const std::filesystem::path temp = PathWithSuffix(path, ".tmp");
  std::error_code ec;
  {
    File out = OpenFile(temp, "wb");
    if (!out) return Error::WithPath(msg::kCannotCreate, path);
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size() &&
                    std::fflush(out.get()) == 0;
    if (std::fclose(out.release()) != 0 || !ok) {
      std::filesystem::remove(temp, ec);
      return Error::Plain(msg::kWriteError);
    }
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return Error::WithPath(msg::kCannotCreate, path);
  }
  return std::nullopt;
}

MaybeError StdTableStorage::KeepCopy(const PathText& from, const PathText& to) {
  std::error_code ec;
  // The message names the file that failed: the one not read, or the copy not made.
  if (!std::filesystem::is_regular_file(from, ec) || !OpenFile(from, "rb")) {
    return Error::WithPath(msg::kCannotOpen, from);
  }
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::none, ec);
  if (ec) return Error::WithPath(msg::kCannotCreate, to);
  return std::nullopt;
}

bool StdTableStorage::Exists(const PathText& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

void StdTableStorage::Remove(const PathText& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

std::optional<FileVersion> StdTableStorage::Version(const PathText& path) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  const auto written = std::filesystem::last_write_time(path, ec);
  if (ec) return std::nullopt;
  return FileVersion{size, std::uint64_t(written.time_since_epoch().count())};
}

std::vector<PathText> StdTableStorage::FileNames(const PathText& folder) {
  std::vector<PathText> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) names.push_back(it->path().filename().native());
  }
  return names;
}

bool StdTableStorage::MakeFolders(const PathText& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return std::filesystem::is_directory(folder, ec);
}

}  // namespace quenda
