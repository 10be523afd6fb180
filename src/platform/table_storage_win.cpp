#include "platform/table_storage_win.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/handle.h"

namespace quenda {

std::wstring ApiPath(const PathText& path) {
  const std::wstring& p = path;
  if (p.size() < MAX_PATH - 12 || p.rfind(L"\\\\?\\", 0) == 0) return p;
  const DWORD n = GetFullPathNameW(p.c_str(), 0, nullptr, nullptr);
  std::wstring full(n, L'\0');
  full.resize(GetFullPathNameW(p.c_str(), n, full.data(), nullptr));
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

PathText LocalBackupRoot() {
  PWSTR folder = nullptr;
  PathText root;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder))) {
    root = std::wstring(folder) + L"\\Quenda\\Backups";
  }
  CoTaskMemFree(folder);
  return root;
}

namespace {

// Reads the whole file (at most `limit` bytes); the system's error code, or 0.
DWORD ReadOnce(const std::wstring& path, std::size_t limit, FileBytes& bytes) {
  win::UniqueHandle file = win::AdoptFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                      nullptr, OPEN_EXISTING,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  LARGE_INTEGER size{};
  DWORD error = 0;
  ReadGrowing(GetFileSizeEx(file.get(), &size) ? std::optional<std::uint64_t>(size.QuadPart)
                                              : std::nullopt,
              limit, bytes, [&](std::uint8_t* into, std::size_t most) -> std::optional<std::size_t> {
                DWORD read = 0;
                if (!ReadFile(file.get(), into, DWORD(std::min<std::size_t>(most, 1 << 30)), &read,
                              nullptr)) {
                  error = GetLastError();
                  return std::nullopt;
                }
                return read;
              });
  return error;
}

}  // namespace

TableStorage::ReadStatus Win32TableStorage::ReadAll(const PathText& path,
                                                    std::size_t limit,
                                                    FileBytes& bytes) {
  // A backup, sync or virus scanner holds a file only for a moment: wait about two seconds.
  const std::wstring api_path = ApiPath(path);
  DWORD e = ReadOnce(api_path, limit, bytes);
  for (int wait = 0; wait < 40 && (e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION);
       ++wait) {
    Sleep(50);
    e = ReadOnce(api_path, limit, bytes);
  }
  if (e == 0) return ReadStatus::Ok;
  return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing
                                                                : ReadStatus::Failed;
}

MaybeError Win32TableStorage::WriteReplace(const PathText& path,
                                           std::span<const std::uint8_t> bytes) {
  const std::wstring target = ApiPath(path);
  const std::wstring temp = ApiPath(PathWithSuffix(path, ".tmp"));
  {
    win::UniqueHandle file = win::AdoptFile(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr,
                                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                        nullptr));
    if (!file) return Error::WithPath(msg::kCannotCreate, path);
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
      DWORD wrote = 0;
      const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      ok = WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr) && wrote == chunk;
      done += wrote;
    }
    if (ok) ok = FlushFileBuffers(file.get()) != 0;
    if (!ok) {
      file.reset();
      DeleteFileW(temp.c_str());
      return Error::Plain(msg::kWriteError);
    }
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return Error::WithPath(msg::kCannotCreate, path);
  }
  return std::nullopt;
}

MaybeError Win32TableStorage::KeepCopy(const PathText& from, const PathText& to) {
  // The message names the file that failed: a held file or a folder in its place is not read.
  const bool readable = bool(win::AdoptFile(CreateFileW(
      ApiPath(from).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!readable) return Error::WithPath(msg::kCannotOpen, from);
  if (!CopyFileW(ApiPath(from).c_str(), ApiPath(to).c_str(), TRUE)) {
    return Error::WithPath(msg::kCannotCreate, to);
  }
  return std::nullopt;
}

bool Win32TableStorage::Exists(const PathText& path) {
  return GetFileAttributesW(ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32TableStorage::Remove(const PathText& path) {
  DeleteFileW(ApiPath(path).c_str());
}

std::optional<FileVersion> Win32TableStorage::Version(const PathText& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(ApiPath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileVersion{std::uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
                     std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                         data.ftLastWriteTime.dwLowDateTime};
}

std::vector<PathText> Win32TableStorage::FileNames(const PathText& folder) {
  std::vector<PathText> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(ApiPath(folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

bool Win32TableStorage::MakeFolders(const PathText& folder) {
  // Each missing folder from the top down; those already there fail harmlessly.
  for (std::size_t at = folder.find_first_of(L"\\/", 3); at != std::wstring::npos;
       at = folder.find_first_of(L"\\/", at + 1)) {
    CreateDirectoryW(ApiPath(folder.substr(0, at)).c_str(), nullptr);
  }
  CreateDirectoryW(ApiPath(folder).c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(ApiPath(folder).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace quenda
