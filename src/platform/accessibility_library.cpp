#include "platform/accessibility_library.h"

#include <string>

namespace quenda {

namespace {

template <typename F>
F Function(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

std::shared_ptr<const AccessibilityLibrary> AccessibilityLibrary::Get() {
  static const std::shared_ptr<const AccessibilityLibrary> library = Load();
  return library;
}

std::shared_ptr<const AccessibilityLibrary> AccessibilityLibrary::Load() {
  auto library = std::make_shared<AccessibilityLibrary>();
  library->module_.reset(LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!library->module_) {
    // A Windows 7 without update KB2533623 knows no such flag: the system folder by full path.
    wchar_t system[MAX_PATH];
    const UINT n = GetSystemDirectoryW(system, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
      library->module_.reset(LoadLibraryW((std::wstring(system, n) + L"\\oleacc.dll").c_str()));
    }
  }
  if (!library->module_) return nullptr;
  const HMODULE module = library->module_.get();
  library->object_from_window =
      Function<decltype(object_from_window)>(module, "AccessibleObjectFromWindow");
  library->children = Function<decltype(children)>(module, "AccessibleChildren");
  library->lresult_from_object =
      Function<decltype(lresult_from_object)>(module, "LresultFromObject");
  if (!library->object_from_window || !library->children || !library->lresult_from_object) {
    return nullptr;
  }
  return library;
}

}  // namespace quenda
