#pragma once
// One owner for every Win32 handle: move-only, closed exactly once, and counted so that tests
// can prove nothing leaks (GetGuiResources is not available everywhere).
#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>

#include <atomic>
#include <cstddef>
#include <string_view>
#include <utility>

namespace quenda::win {

// Handles currently owned by any Handle<>; tests compare it before and after.
inline std::atomic<long> g_live_handles{0};
inline long LiveHandles() { return g_live_handles.load(); }

template <class H, auto Close>
class Handle {
 public:
  Handle() = default;
  explicit Handle(H h) : h_(h) {
    if (Valid()) ++g_live_handles;
  }
  Handle(Handle&& other) noexcept : h_(std::exchange(other.h_, H{})) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, H{}), /*count=*/false);
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Reset(H{}); }

  H get() const { return h_; }
  explicit operator bool() const { return Valid(); }
  // Gives the handle up without closing it.
  H release() {
    if (Valid()) --g_live_handles;
    return std::exchange(h_, H{});
  }
  void reset(H h = H{}) { Reset(h, true); }

 private:
  bool Valid() const { return h_ != H{}; }
  void Reset(H h, bool count = true) {
    if (Valid()) {
      Close(h_);
      --g_live_handles;
    }
    h_ = h;
    if (count && Valid()) ++g_live_handles;
  }
  H h_ = H{};
};

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
// ExtractIcon's 1 ("not an icon file") is no icon: never drawn, never destroyed.
inline void DestroyIconHandle(HICON h) {
  if (h != reinterpret_cast<HICON>(1)) ::DestroyIcon(h);
}
inline void FinishDrop(HDROP h) { ::DragFinish(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void FreeLibraryHandle(HMODULE h) { ::FreeLibrary(h); }

using UniqueHandle = Handle<HANDLE, CloseKernelHandle>;
using UniqueBitmap = Handle<HBITMAP, DeleteGdiObject>;
using UniqueFont = Handle<HFONT, DeleteGdiObject>;
using UniqueBrush = Handle<HBRUSH, DeleteGdiObject>;
using UniqueIcon = Handle<HICON, DestroyIconHandle>;
using UniqueDrop = Handle<HDROP, FinishDrop>;
using UniqueMenu = Handle<HMENU, DestroyMenuHandle>;
using UniqueLibrary = Handle<HMODULE, FreeLibraryHandle>;

// CreateFile reports failure as INVALID_HANDLE_VALUE, not null.
inline UniqueHandle AdoptFile(HANDLE h) {
  return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// An ExtractIcon result that can be drawn.
inline bool IsDrawableIcon(HICON h) { return h != nullptr && h != reinterpret_cast<HICON>(1); }

// Takes an ExtractIcon result; 1 means "not an icon file" and becomes no icon.
inline UniqueIcon AdoptExtractedIcon(HICON h) { return UniqueIcon(IsDrawableIcon(h) ? h : nullptr); }

// Holds one reference of a COM object: move-only, released exactly once.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(std::nullptr_t) {}
  explicit ComRef(T* p) : p_(p) {}
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For a call that hands out a reference; what was held is released first.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

// A BSTR, freed at scope end: one made from text, or one a COM call fills through put().
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : text_(::SysAllocStringLen(text.data(), UINT(text.size()))) {}
  ~Bstr() { ::SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return text_; }
  BSTR* put() {
    ::SysFreeString(std::exchange(text_, nullptr));
    return &text_;
  }
  std::wstring_view view() const {
    return text_ ? std::wstring_view(text_, ::SysStringLen(text_)) : std::wstring_view();
  }

 private:
  BSTR text_ = nullptr;
};

// Releases what GetDC got.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A memory DC, deleted at scope end.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatible = nullptr) : dc_(::CreateCompatibleDC(compatible)) {}
  ~MemoryDC() {
    if (dc_) ::DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Restores what SelectObject replaced.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (old_) ::SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace quenda::win
