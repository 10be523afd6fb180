#include "app/entry.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/forms.h"
#include "core/table_backups.h"
#include "platform/clock_win.h"
#include "platform/cp932.h"
#include "platform/table_storage_win.h"

namespace quenda {

namespace {

std::wstring CurrentDirectory() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(n, L'\0');
  dir.resize(GetCurrentDirectoryW(n, dir.data()));
  return dir;
}

// The name the table file's stamps and conflict copies give this PC.
std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &n) ? win::ToUtf8(std::wstring_view(name, n)) : std::string();
}

}  // namespace

bool AnotherInstanceRuns() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"EX_Mutex");
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || (!mutex && error == ERROR_ACCESS_DENIED)) {
    if (mutex) CloseHandle(mutex);
    return true;
  }
  return false;  // the handle is kept until the process ends
}

namespace {

// Windows 7 has SetDefaultDllDirectories only with update KB2533623, so it is looked up rather
// than imported: a static import would keep an unpatched Windows 7 from starting Quenda. Without
// it the current folder still leaves the search, and what Quenda loads itself is named by path.
void LoadDllsFromTheSystemFolderOnly() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"),
                                             "SetDefaultDllDirectories")));
  if (set_default) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}

// COM's single-threaded apartment for the user-interface thread, from start to end: the shell
// wants it before ShellExecuteEx, as do the folder chooser and screen readers.
class ComApartment {
 public:
  ComApartment()
      : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  const HRESULT result_;
};

}  // namespace

int RunQuenda(int show_command) {
  // A program run from a downloads folder must never load a DLL planted there (or in the
  // current folder): whatever is loaded later comes from the system folder.
  LoadDllsFromTheSystemFolderOnly();
  if (AnotherInstanceRuns()) return 0;
  const ComApartment com;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  static const Win32Clock clock;
  static Win32TableStorage storage;
  SetClock(&clock);

  static Forms forms;  // lives until exit, like the windows it holds
  if (!forms.Create(CurrentDirectory(), storage, ComputerName())) return 1;
  if (const PathText root = LocalBackupRoot(); !root.empty()) {
    forms.file->SetBackupFolder(root + L"\\" + BackupFolderName(forms.file->Folder()));
  }
  ShowWindow(forms.main.hwnd(), show_command);
  UpdateWindow(forms.main.hwnd());

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}

}  // namespace quenda
