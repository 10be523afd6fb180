#include "platform/accessible_address.h"

#include <oleacc.h>

#include <memory>
#include <vector>

#include "platform/accessibility_library.h"
#include "platform/handle.h"

namespace quenda {

namespace {

VARIANT ChildId(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

class Walk {
 public:
  Walk(const AccessibilityLibrary& library, BrowserFamily family)
      : library_(library), family_(family) {}

  // True once the field is found (its value, possibly nullopt, is then final).
  bool Visit(IAccessible* object, int depth) {
    if (--budget_ < 0) return true;
    if (Check(object, ChildId(CHILDID_SELF))) return true;
    if (depth >= kAccessibleWalkDepth) return false;
    long count = 0;
    if (FAILED(object->get_accChildCount(&count)) || count <= 0) return false;
    count = std::min<long>(count, std::max(budget_, 0));
    std::vector<VARIANT> children(count);
    long obtained = 0;
    if (FAILED(library_.children(object, 0, count, children.data(), &obtained))) return false;
    bool found = false;
    for (long i = 0; i < obtained; ++i) {
      VARIANT& child = children[i];
      if (!found && child.vt == VT_DISPATCH && child.pdispVal) {
        IAccessible* raw = nullptr;
        if (SUCCEEDED(child.pdispVal->QueryInterface(IID_IAccessible,
                                                     reinterpret_cast<void**>(&raw)))) {
          win::ComRef<IAccessible> accessible(raw);
          found = Visit(accessible.get(), depth + 1);
        }
      } else if (!found && child.vt == VT_I4) {
        // A simple element, described by its parent.
        --budget_;
        found = Check(object, child);
      }
      VariantClear(&child);
    }
    return found || budget_ < 0;
  }

  std::optional<std::wstring> value;

 private:
  bool Check(IAccessible* object, VARIANT id) {
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(id, &role))) return false;
    const bool text = role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_TEXT;
    VariantClear(&role);
    if (!text) return false;
    win::Bstr name;
    if (FAILED(object->get_accName(id, name.put()))) return false;
    const std::wstring_view n = name.view();
    if (!IsAddressFieldName(family_,
                            std::u16string_view(reinterpret_cast<const char16_t*>(n.data()),
                                                n.size()))) {
      return false;
    }
    win::Bstr field;
    if (SUCCEEDED(object->get_accValue(id, field.put())) && field.get()) {
      value = std::wstring(field.view());
    }
    return true;
  }

  const AccessibilityLibrary& library_;
  BrowserFamily family_;
  int budget_ = kAccessibleWalkNodes;
};

struct Request {
  HWND browser;
  BrowserFamily family;
  DWORD timeout_ms;
  std::shared_ptr<const AccessibilityLibrary> library;
  std::optional<std::wstring> value;  // read only once the thread has ended
};

DWORD WINAPI WalkThread(void* parameter) {
  const std::unique_ptr<std::shared_ptr<Request>> share(
      static_cast<std::shared_ptr<Request>*>(parameter));
  const std::shared_ptr<Request> request = *share;
  // A browser that does not answer a null message would not answer the walk either.
  DWORD_PTR ignored = 0;
  if (SendMessageTimeoutW(request->browser, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, request->timeout_ms,
                          &ignored) == 0) {
    return 0;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 0;
  {
    IAccessible* raw = nullptr;
    if (SUCCEEDED(request->library->object_from_window(request->browser, DWORD(OBJID_CLIENT),
                                                       IID_IAccessible,
                                                       reinterpret_cast<void**>(&raw))) &&
        raw) {
      win::ComRef<IAccessible> root(raw);
      Walk walk(*request->library, request->family);
      walk.Visit(root.get(), 0);
      request->value = std::move(walk.value);
    }
  }
  CoUninitialize();
  return 0;
}

}  // namespace

std::optional<std::wstring> FindAccessibleAddress(HWND browser, BrowserFamily family,
                                                  DWORD timeout_ms) {
  std::shared_ptr<const AccessibilityLibrary> library = AccessibilityLibrary::Get();
  if (!library) return std::nullopt;
  auto request = std::make_shared<Request>(
      Request{browser, family, timeout_ms, std::move(library), std::nullopt});
  auto* parameter = new std::shared_ptr<Request>(request);
  win::UniqueHandle thread(CreateThread(nullptr, 0, WalkThread, parameter, 0, nullptr));
  if (!thread) {
    delete parameter;
    return std::nullopt;
  }
  // A walk still running at the timeout is left to end by itself; it owns its share.
  if (WaitForSingleObject(thread.get(), timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  return request->value;
}

}  // namespace quenda
