#include "platform/accessible_control.h"

#include <oleacc.h>

#include "platform/accessibility_library.h"

namespace quenda {

namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

void SetEmpty(VARIANT* out) {
  VariantInit(out);
  out->vt = VT_EMPTY;
}

void SetSelf(VARIANT* out) {
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = CHILDID_SELF;
}

// A window hidden or lying wholly outside its parent's client area cannot be seen.
DWORD WindowState(HWND hwnd) {
  DWORD state = 0;
  if (!IsWindowEnabled(hwnd)) state |= STATE_SYSTEM_UNAVAILABLE;
  if (!IsWindowVisible(hwnd)) return state | STATE_SYSTEM_INVISIBLE;
  if (!LiesInsideParent(hwnd)) state |= STATE_SYSTEM_OFFSCREEN;
  return state;
}

// One control with no children of its own; its facts come from the source on every call.
class AccessibleControl final : public IAccessible {
 public:
  AccessibleControl(HWND hwnd, AccessibleSource source,
                    std::shared_ptr<const AccessibilityLibrary> library)
      : hwnd_(hwnd), source_(std::move(source)), library_(std::move(library)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return ULONG(left);
  }

  // No type information: clients call the IAccessible methods themselves.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return library_->object_from_window(hwnd_, DWORD(OBJID_WINDOW), IID_IDispatch,
                                        reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    if (!child) return E_POINTER;
    *child = nullptr;
    return E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, &AccessibleFacts::name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Nothing(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Text(child, &AccessibleFacts::description, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return Number(child, role, [](const AccessibleFacts& facts) { return facts.role; });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Number(child, state, [this](const AccessibleFacts& facts) {
      return LONG(facts.state | WindowState(hwnd_));
    });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return Nothing(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Nothing(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    SetEmpty(focus);
    std::optional<AccessibleFacts> facts;
    if (const HRESULT result = Facts(Self(), facts); result != S_OK) return result;
    if (!(facts->state & STATE_SYSTEM_FOCUSED)) return S_FALSE;
    SetSelf(focus);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    SetEmpty(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, &AccessibleFacts::default_action, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* width, long* height,
                                        VARIANT child) override {
    if (!x || !y || !width || !height) return E_POINTER;
    *x = *y = *width = *height = 0;
    if (!IsSelf(child)) return E_INVALIDARG;
    RECT r;
    if (!GetWindowRect(hwnd_, &r)) return E_FAIL;
    *x = r.left;
    *y = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
    if (!end) return E_POINTER;
    SetEmpty(end);
    return S_FALSE;  // siblings are the parent window's to tell
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* at) override {
    if (!at) return E_POINTER;
    SetEmpty(at);
    RECT r;
    if (!GetWindowRect(hwnd_, &r)) return E_FAIL;
    if (!PtInRect(&r, POINT{x, y})) return S_FALSE;
    SetSelf(at);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    std::optional<AccessibleFacts> facts;
    if (const HRESULT result = Facts(child, facts); result != S_OK) return result;
    return source_.do_default() ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~AccessibleControl() = default;

  static VARIANT Self() {
    VARIANT self;
    SetSelf(&self);
    return self;
  }

  // S_OK with the facts; an error for another child or once the control is gone.
  HRESULT Facts(const VARIANT& child, std::optional<AccessibleFacts>& facts) const {
    if (!IsSelf(child)) return E_INVALIDARG;
    if (IsWindow(hwnd_)) facts = source_.facts();
    return facts ? S_OK : E_FAIL;
  }

  HRESULT Text(const VARIANT& child, std::wstring AccessibleFacts::*field, BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::optional<AccessibleFacts> facts;
    if (const HRESULT result = Facts(child, facts); result != S_OK) return result;
    const std::wstring& text = (*facts).*field;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), UINT(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  template <typename Value>
  HRESULT Number(const VARIANT& child, VARIANT* out, Value value) const {
    if (!out) return E_POINTER;
    SetEmpty(out);
    std::optional<AccessibleFacts> facts;
    if (const HRESULT result = Facts(child, facts); result != S_OK) return result;
    out->vt = VT_I4;
    out->lVal = value(*facts);
    return S_OK;
  }

  static HRESULT Nothing(const VARIANT& child, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return IsSelf(child) ? S_FALSE : E_INVALIDARG;
  }

  LONG references_ = 1;
  const HWND hwnd_;
  const AccessibleSource source_;
  const std::shared_ptr<const AccessibilityLibrary> library_;
};

}  // namespace

bool LiesInsideParent(HWND hwnd) {
  const HWND p = GetParent(hwnd);
  if (!p) return true;
  RECT own, parent, common;
  GetWindowRect(hwnd, &own);
  GetClientRect(p, &parent);
  MapWindowPoints(p, nullptr, reinterpret_cast<POINT*>(&parent), 2);
  return IntersectRect(&common, &own, &parent) != FALSE;
}

LRESULT AnswerAccessibleObject(HWND hwnd, WPARAM wparam, LPARAM lparam, AccessibleSource source) {
  if (DWORD(lparam) != DWORD(OBJID_CLIENT)) return 0;
  std::shared_ptr<const AccessibilityLibrary> library = AccessibilityLibrary::Get();
  if (!library) return 0;
  // Clients in other processes reach the object through COM's apartment on this thread, which
  // the program's entry set up.
  auto* object = new AccessibleControl(hwnd, std::move(source), library);
  const LRESULT result = library->lresult_from_object(IID_IAccessible, wparam, object);
  object->Release();  // the client holds its own reference now
  return result > 0 ? result : 0;
}

}  // namespace quenda
