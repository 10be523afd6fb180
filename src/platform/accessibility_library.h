#pragma once
// oleacc.dll, loaded on first use from the system folder only.
#include <windows.h>
#include <oleacc.h>

#include <memory>

#include "platform/handle.h"

namespace quenda {

// oleacc.dll is no KnownDLL: a copy planted beside the program would be loaded in its place.
// So it is no import but loaded from the system folder when first needed, and kept while any
// holder of it still runs.
class AccessibilityLibrary {
 public:
  // The library, or nullptr when it cannot be loaded (or lacks a function used here).
  static std::shared_ptr<const AccessibilityLibrary> Get();

  decltype(&::AccessibleObjectFromWindow) object_from_window = nullptr;
  decltype(&::AccessibleChildren) children = nullptr;
  decltype(&::LresultFromObject) lresult_from_object = nullptr;

 private:
  static std::shared_ptr<const AccessibilityLibrary> Load();

  win::UniqueLibrary module_;
};

}  // namespace quenda
