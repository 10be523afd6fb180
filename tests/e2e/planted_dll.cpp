// A DLL that an attacker would leave beside a downloaded Quenda.exe, named oleacc.dll: when any
// process loads it, it leaves the file "planted-dll-ran" beside itself. It exports what the
// program used to import from the real one, so that a program importing it still starts.
#include <windows.h>

#include <string>

extern "C" {

__declspec(dllexport) HRESULT WINAPI AccessibleObjectFromWindow(HWND, DWORD, REFIID, void** out) {
  if (out) *out = nullptr;
  return E_FAIL;
}

__declspec(dllexport) HRESULT WINAPI AccessibleChildren(void*, LONG, LONG, void*, LONG* got) {
  if (got) *got = 0;
  return E_FAIL;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(self, path.data(), DWORD(path.size())));
  path.resize(path.find_last_of(L'\\') + 1);
  path += L"planted-dll-ran";
  const HANDLE marker = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}

}  // extern "C"
