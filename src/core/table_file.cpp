#include "core/table_file.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/bmp.h"
#include "core/full_text.h"

namespace quenda {

namespace {

// Far more than 350 records of any sane image; a larger file is read only this far.
constexpr std::size_t kReadLimit = 64u << 20;
// 700 whole texts of the longest path each fit in this.
constexpr std::size_t kFullTextReadLimit = 80u << 20;

TableStorage* g_storage = nullptr;
bool g_damaged = false;
// The file was there but could not be read (held by another program, say): nothing of it is
// in the table, so it is not replaced before the table has changed.
bool g_unread = false;
unsigned long g_changes_at_load = 0;


}  // namespace

void SetTableStorage(TableStorage* storage) { g_storage = storage; }

bool ReadGrowing(std::optional<std::uint64_t> size_hint, std::size_t limit,
                 FileBytes& bytes,
                 const std::function<std::optional<std::size_t>(std::uint8_t*, std::size_t)>& read) {
  std::size_t got = 0;
  bytes.resize(std::size_t(std::min<std::uint64_t>(size_hint ? *size_hint + 1 : 1 << 16, limit)));
  while (got < limit) {
    if (got == bytes.size()) bytes.resize(std::min(limit, std::max<std::size_t>(2 * got, 1 << 16)));
    const std::optional<std::size_t> n = read(bytes.data() + got, bytes.size() - got);
    if (!n) return false;
    if (*n == 0) break;
    got += *n;
  }
  bytes.resize(got);
  return true;
}

PathText PathWithSuffix(const PathText& path, std::string_view ascii) {
  PathText name = path;
  name.append(ascii.begin(), ascii.end());
  return name;
}

PathText TableFilePath() {
  PathText name = ProgramDir;
  name += kPathSeparator;
  return PathWithSuffix(name, "Quenda.Tbl");
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
  const PathText path = TableFilePath();
  if (!g_storage) return Error::WithPath(msg::kCannotOpen, path);
  FileBytes bytes;
  const TableStorage::ReadStatus status = g_storage->ReadAll(path, kReadLimit, bytes);
  g_changes_at_load = TheSlotTable().changes;
  // A file that is there but cannot be read is kept aside before a save replaces it.
  g_unread = g_damaged = status == TableStorage::ReadStatus::Failed;
  if (status != TableStorage::ReadStatus::Ok) {
    ForgetFullTexts();
    return Error::WithPath(msg::kCannotOpen, path);
  }
  // The whole texts are a help, never a condition: a missing or damaged file gives none.
  FileBytes texts;
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
  const PathText path = TableFilePath();
  if (!g_storage) return Error::WithPath(msg::kCannotCreate, path);
  if (g_unread && TheSlotTable().changes == g_changes_at_load && g_storage->Exists(path)) {
    return std::nullopt;
  }
  PathText aside;
  if (g_damaged && g_storage->Exists(path)) {
    aside = PathWithSuffix(path, ".damaged");
    for (int n = 2; g_storage->Exists(aside); ++n) {
      aside = PathWithSuffix(path, ".damaged" + std::to_string(n));
    }
    if (MaybeError error = g_storage->KeepCopy(path, aside)) return error;
  }
  // The whole texts first, so the table never holds a cut whose whole text is not kept. With
  // none to keep, no file is made; an old one is emptied. A failed table write puts the old
  // texts back, so a close without saving leaves both files as they were.
  const std::vector<std::uint8_t> texts = SerializeFullTexts(TheSlotTable());
  const PathText texts_path = FullTextFilePath();
  FileBytes old_texts;
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

}  // namespace quenda
