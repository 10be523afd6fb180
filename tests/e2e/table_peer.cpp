// table_peer: another PC's Quenda on a shared folder, without a window: loads the folder's
// table with Quenda's own table file, makes the changes it is given, and saves, as the other
// PC would. Usage: table_peer FOLDER MACHINE CHANGE...; a change is "memo:PAGE:SLOT:TEXT",
// "title:PAGE:SLOT:TEXT" or "open:PAGE:SLOT". Exit status 0 when saved.
// table_peer --backup-folder FOLDER prints where Quenda on this PC keeps that folder's backups.
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/access_stats.h"
#include "core/table_backups.h"
#include "core/table_file.h"
#include "platform/cp932.h"
#include "platform/full_text_win.h"
#include "platform/table_storage_win.h"

int wmain(int argc, wchar_t** argv) {
  using namespace quenda;
  if (argc < 3) return 2;
  if (std::wstring(argv[1]) == L"--backup-folder") {
    std::printf("%s\n", win::ToUtf8(LocalBackupRoot() + L"\\" + BackupFolderName(argv[2])).c_str());
    return 0;
  }
  Win32TableStorage storage;
  TableFile file(argv[1], storage, win::ToUtf8(argv[2]));
  SlotTable table;
  if (MaybeError error = file.Load(table)) {
    std::fprintf(stderr, "table_peer: %s\n", ErrorText(*error).c_str());
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    const std::wstring change = argv[i];
    int page = 0, slot = 0, used = 0;
    const std::size_t colon = change.find(L':');
    if (colon == std::wstring::npos ||
        swscanf(change.c_str() + colon + 1, L"%d:%d%n", &page, &slot, &used) != 2 ||
        page < 0 || page >= kPageCount || slot < 0 || slot >= kSlotsPerPage) {
      return 2;
    }
    const std::wstring kind = change.substr(0, colon);
    const std::wstring text = change.substr(std::min(change.size(), colon + 1 + used + 1));
    if (kind == L"memo") {
      SetSlotFieldWide(table, Memo, page, slot, text);
    } else if (kind == L"title") {
      SetSlotFieldWide(table, Title, page, slot, text);
    } else if (kind == L"open") {
      UpdateAccessStatistics(table, page, slot);
    } else {
      return 2;
    }
  }
  if (MaybeError error = file.Save(table)) {
    std::fprintf(stderr, "table_peer: %s\n", ErrorText(*error).c_str());
    return 1;
  }
  return 0;
}
