#pragma once
// A scripted accessibility tree for the stand-in browsers: objects with a role, a name, a value
// and children, some of them simple elements described by their parent, as browsers expose.
#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

class FakeAccessible : public IAccessible {
 public:
  FakeAccessible(long role, std::wstring name, std::wstring value = L"")
      : role_(role), name_(std::move(name)), value_(std::move(value)) {}
  virtual ~FakeAccessible() = default;

  // Nodes live as long as the process: proxies in the launcher may still name them.
  FakeAccessible* Add(long role, std::wstring name, std::wstring value = L"") {
    nodes().push_back(std::make_unique<FakeAccessible>(role, std::move(name), std::move(value)));
    FakeAccessible* child = nodes().back().get();
    child->parent_ = this;
    children_.push_back({child, 0, L""});
    return child;
  }
  void AddSimple(long role, std::wstring name) { children_.push_back({nullptr, role, name}); }
  static FakeAccessible* Root(long role, std::wstring name) {
    nodes().push_back(std::make_unique<FakeAccessible>(role, std::move(name)));
    return nodes().back().get();
  }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override { return --refs_; }

  // IDispatch: not scripted.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    *parent = parent_;
    if (parent_) parent_->AddRef();
    return parent_ ? S_OK : S_FALSE;
  }
  STDMETHODIMP get_accChildCount(long* count) override {
    *count = long(children_.size());
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT id, IDispatch** child) override {
    *child = nullptr;
    const Child* c = Find(id);
    if (!c) return E_INVALIDARG;
    if (!c->object) return S_FALSE;
    *child = c->object;
    c->object->AddRef();
    return S_OK;
  }
  STDMETHODIMP get_accName(VARIANT id, BSTR* name) override {
    if (IsSelf(id)) return Text(name_, name);
    const Child* c = Find(id);
    return c ? Text(c->name, name) : E_INVALIDARG;
  }
  STDMETHODIMP get_accValue(VARIANT id, BSTR* value) override {
    *value = nullptr;
    if (!IsSelf(id)) return Find(id) ? S_FALSE : E_INVALIDARG;
    return value_.empty() ? S_FALSE : Text(value_, value);
  }
  STDMETHODIMP get_accDescription(VARIANT, BSTR* text) override { return None(text); }
  STDMETHODIMP get_accRole(VARIANT id, VARIANT* role) override {
    VariantInit(role);
    const Child* c = IsSelf(id) ? nullptr : Find(id);
    if (!IsSelf(id) && !c) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = c ? c->role : role_;
    return S_OK;
  }
  STDMETHODIMP get_accState(VARIANT, VARIANT* state) override {
    VariantInit(state);
    state->vt = VT_I4;
    state->lVal = 0;
    return S_OK;
  }
  STDMETHODIMP get_accHelp(VARIANT, BSTR* text) override { return None(text); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    *topic = 0;
    return None(file);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR* text) override { return None(text); }
  STDMETHODIMP get_accFocus(VARIANT* focus) override {
    VariantInit(focus);
    return S_FALSE;
  }
  STDMETHODIMP get_accSelection(VARIANT* selection) override {
    VariantInit(selection);
    return S_FALSE;
  }
  STDMETHODIMP get_accDefaultAction(VARIANT, BSTR* text) override { return None(text); }
  STDMETHODIMP accSelect(long, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP accLocation(long*, long*, long*, long*, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP accNavigate(long, VARIANT, VARIANT* end) override {
    VariantInit(end);
    return E_NOTIMPL;
  }
  STDMETHODIMP accHitTest(long, long, VARIANT* hit) override {
    VariantInit(hit);
    return S_FALSE;
  }
  STDMETHODIMP accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  struct Child {
    FakeAccessible* object;  // null: a simple element
    long role;
    std::wstring name;
  };
  static std::vector<std::unique_ptr<FakeAccessible>>& nodes() {
    static std::vector<std::unique_ptr<FakeAccessible>> all;
    return all;
  }
  static bool IsSelf(const VARIANT& id) { return id.vt == VT_I4 && id.lVal == CHILDID_SELF; }
  const Child* Find(const VARIANT& id) const {
    if (id.vt != VT_I4 || id.lVal < 1 || id.lVal > long(children_.size())) return nullptr;
    return &children_[id.lVal - 1];
  }
  static HRESULT Text(const std::wstring& text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), UINT(text.size()));
    return S_OK;
  }
  static HRESULT None(BSTR* out) {
    *out = nullptr;
    return S_FALSE;
  }

  ULONG refs_ = 1;
  long role_;
  std::wstring name_, value_;
  FakeAccessible* parent_ = nullptr;
  std::vector<Child> children_;
};
