#include "core/table_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>

#include "core/bmp.h"
#include "core/full_text.h"

namespace quenda {

namespace {

// Far more than 350 records of any sane image; a larger file is read only this far.
constexpr std::size_t kReadLimit = 64u << 20;
// 700 whole texts of the longest path each fit in this.
constexpr std::size_t kFullTextReadLimit = 80u << 20;

StdTableStorage g_std_storage;
TableStorage* g_storage = &g_std_storage;
bool g_damaged = false;
// The file was there but could not be read (held by another program, say): nothing of it is
// in the table, so it is not replaced before the table has changed.
bool g_unread = false;
unsigned long g_changes_at_load = 0;

std::filesystem::path Sibling(const std::filesystem::path& path, const std::string& suffix) {
  auto name = path.native();
  name += std::filesystem::path(suffix).native();
  return name;
}

}  // namespace

void SetTableStorage(TableStorage* storage) { g_storage = storage ? storage : &g_std_storage; }

std::filesystem::path TableFilePath() {
  auto name = ProgramDir.native();
  name += std::filesystem::path::preferred_separator;
  name += std::filesystem::path("Quenda.Tbl").native();
  return name;
}

MaybeError ParseTable(std::span<const std::uint8_t> bytes, SlotTable& table, std::size_t* used) {
  std::size_t pos = 0;
  for (SlotRecord& record : table.records) {
    // A field cut short by the end keeps what was read; the rest keeps its contents.
    const std::size_t n = std::min(kFieldBytes, bytes.size() - pos);
    if (n != 0) std::memcpy(&record.fields, bytes.data() + pos, n);  // an empty file has no data()
    pos += n;
    if (MaybeError error = ReadIconBmp(bytes, pos, record.Icon->bitmap)) return error;
  }
  if (used) *used = pos;
  return std::nullopt;
}

std::vector<std::uint8_t> SerializeTable(const SlotTable& table) {
  std::vector<std::uint8_t> out;
  out.reserve(kTableFileBytes);
  for (const SlotRecord& record : table.records) {
    const auto* fields = reinterpret_cast<const std::uint8_t*>(&record.fields);
    out.insert(out.end(), fields, fields + kFieldBytes);
    AppendIconBmp(record.Icon->bitmap, out);
  }
  return out;
}

MaybeError LoadTable() {
  const std::filesystem::path path = TableFilePath();
  std::vector<std::uint8_t> bytes;
  const TableStorage::ReadStatus status = g_storage->ReadAll(path, kReadLimit, bytes);
  g_changes_at_load = TheSlotTable().changes;
  // A file that is there but cannot be read is kept aside before a save replaces it.
  g_unread = g_damaged = status == TableStorage::ReadStatus::Failed;
  if (status != TableStorage::ReadStatus::Ok) {
    ForgetFullTexts();
    return Error::WithPath(msg::kCannotOpen, path);
  }
  // The whole texts are a help, never a condition: a missing or damaged file gives none.
  std::vector<std::uint8_t> texts;
  if (g_storage->ReadAll(FullTextFilePath(), kFullTextReadLimit, texts) ==
      TableStorage::ReadStatus::Ok) {
    ParseFullTexts(texts);
  } else {
    ForgetFullTexts();
  }
  std::size_t used = 0;
  MaybeError error = ParseTable(bytes, TheSlotTable(), &used);
  // Bytes behind the last record would be lost to the next save, which writes 350 records.
  g_damaged = error.has_value() || used < bytes.size();
  return error;
}

bool TableFileDamaged() { return g_damaged; }

MaybeError SaveTable() {
  const std::filesystem::path path = TableFilePath();
  if (g_unread && TheSlotTable().changes == g_changes_at_load && g_storage->Exists(path)) {
    return std::nullopt;
  }
  std::filesystem::path aside;
  if (g_damaged && g_storage->Exists(path)) {
    aside = Sibling(path, ".damaged");
    for (int n = 2; g_storage->Exists(aside); ++n) {
      aside = Sibling(path, ".damaged" + std::to_string(n));
    }
    if (MaybeError error = g_storage->KeepCopy(path, aside)) return error;
  }
  // The whole texts first, so the table never holds a cut whose whole text is not kept. With
  // none to keep, no file is made; an old one is emptied. A failed table write puts the old
  // texts back, so a close without saving leaves both files as they were.
  const std::vector<std::uint8_t> texts = SerializeFullTexts(TheSlotTable());
  const std::filesystem::path texts_path = FullTextFilePath();
  std::vector<std::uint8_t> old_texts;
  const TableStorage::ReadStatus old_status =
      g_storage->ReadAll(texts_path, kFullTextReadLimit, old_texts);
  const bool texts_written =
      std::count(texts.begin(), texts.end(), '\n') > 1 || old_status != TableStorage::ReadStatus::Missing;
  if (texts_written) {
    if (MaybeError error = g_storage->WriteReplace(texts_path, texts)) {
      if (!aside.empty()) g_storage->Remove(aside);
      return error;
    }
  }
  if (MaybeError error = g_storage->WriteReplace(path, SerializeTable(TheSlotTable()))) {
    // A failed save leaves the folder as it found it; the next one copies again.
    if (!aside.empty()) g_storage->Remove(aside);
    if (texts_written) {
      if (old_status == TableStorage::ReadStatus::Ok) {
        g_storage->WriteReplace(texts_path, old_texts);
      } else {
        g_storage->Remove(texts_path);
      }
    }
    return error;
  }
  g_damaged = g_unread = false;
  return std::nullopt;
}

TableStorage::ReadStatus StdTableStorage::ReadAll(const std::filesystem::path& path,
                                                  std::size_t limit,
                                                  std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  const std::filesystem::file_status st = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(st)) return ReadStatus::Missing;
  // A folder opens as a stream that reads nothing; it is no table to load or to replace.
  if (!std::filesystem::is_regular_file(st)) return ReadStatus::Failed;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ReadStatus::Failed;
  bytes.clear();
  char buffer[1 << 16];
  while (bytes.size() < limit && in) {
    in.read(buffer, std::streamsize(std::min(sizeof buffer, limit - bytes.size())));
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
  }
  return in.bad() ? ReadStatus::Failed : ReadStatus::Ok;
}

MaybeError StdTableStorage::WriteReplace(const std::filesystem::path& path,
                                         std::span<const std::uint8_t> bytes) {
  const std::filesystem::path temp = Sibling(path, ".tmp");
  std::error_code ec;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return Error::WithPath(msg::kCannotCreate, path);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
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

MaybeError StdTableStorage::KeepCopy(const std::filesystem::path& from,
                                     const std::filesystem::path& to) {
  std::error_code ec;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::none, ec);
  if (ec) return Error::WithPath(msg::kCannotCreate, to);
  return std::nullopt;
}

bool StdTableStorage::Exists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

void StdTableStorage::Remove(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

}  // namespace quenda
