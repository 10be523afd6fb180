#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include "core/std_table_storage.h"

namespace quenda::testing {

TableStorage& PortableStorage() {
  static StdTableStorage storage;
  return storage;
}

SlotTable& EditorTable() {
  static SlotTable table;
  return table;
}

namespace {

// The program's entry puts its thread in COM's single-threaded apartment; the tests' thread too.
// The pointer goes to the screen's far corner: left where the last program on this display put
// it, over a window under test, it would hover and change what the window shows.
class ComApartment : public ::testing::Environment {
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  void TearDown() override { CoUninitialize(); }
};
const auto* const kComApartment = ::testing::AddGlobalTestEnvironment(new ComApartment);

}  // namespace

void WriteTable(const std::filesystem::path& folder, SlotTable& table, TableStorage& storage) {
  TableFile file(folder.wstring(), storage, "TEST");
  ASSERT_FALSE(file.Save(table));
}

ScopedTempDir::ScopedTempDir() {
  previous_ = std::filesystem::current_path();
  wchar_t name[64];
  static int counter = 0;
  // Wine hands a dead process's id to the next at once, and remove_all leaves a folder nested
  // past MAX_PATH behind: with the tick count, a later process never meets one.
  swprintf(name, 64, L"quenda-%lu-%llu-%d", GetCurrentProcessId(), GetTickCount64(), ++counter);
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(path_);
  std::filesystem::current_path(path_);
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
  std::filesystem::remove_all(path_, ec);
}

void SendDpiChanged(HWND window, int dpi, SIZE client) {
  RECT outer, inside;
  GetWindowRect(window, &outer);
  GetClientRect(window, &inside);
  const int frame_x = (outer.right - outer.left) - inside.right;
  const int frame_y = (outer.bottom - outer.top) - inside.bottom;
  RECT suggested{outer.left, outer.top, outer.left + client.cx + frame_x,
                 outer.top + client.cy + frame_y};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

namespace {

void Press(HWND control, POINT at, bool post) {
  auto deliver = [&](UINT message, WPARAM keys) {
    if (post) {
      PostMessageW(control, message, keys, MAKELPARAM(at.x, at.y));
    } else {
      SendMessageW(control, message, keys, MAKELPARAM(at.x, at.y));
    }
  };
  deliver(WM_LBUTTONDOWN, MK_LBUTTON);
  deliver(WM_LBUTTONUP, 0);
}

POINT Middle(HWND control) {
  RECT r;
  GetClientRect(control, &r);
  return {r.right / 2, r.bottom / 2};
}

}  // namespace

void Click(HWND control, int x, int y) { Press(control, {x, y}, false); }
void Click(HWND control) { Press(control, Middle(control), false); }
void PostClick(HWND control, int x, int y) { Press(control, {x, y}, true); }
void PostClick(HWND control) { Press(control, Middle(control), true); }

void ChooseFromSlotPopup(HWND main, HWND slot_button, UINT key) {
  // The popup's own loop takes the keys from the queue.
  PostMessageW(main, WM_KEYDOWN, key, 0);
  PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageW(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(slot_button), MAKELPARAM(-1, -1));
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace quenda::testing

#include <objbase.h>
#include <shlobj.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <cstring>
#include <fstream>

namespace quenda::testing {

HDROP MakeDrop(POINT client_point, const std::vector<std::wstring>& files) {
  std::size_t chars = 1;
  for (const auto& f : files) chars += f.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* block = static_cast<DROPFILES*>(GlobalLock(memory));
  block->pFiles = sizeof(DROPFILES);
  block->pt = client_point;
  block->fNC = FALSE;
  block->fWide = TRUE;
  auto* p = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(block) + sizeof(DROPFILES));
  for (const auto& f : files) {
    std::memcpy(p, f.c_str(), (f.size() + 1) * sizeof(wchar_t));
    p += f.size() + 1;
  }
  *p = 0;
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

void WriteIconFile(const std::filesystem::path& path, unsigned colour) {
  constexpr int kSize = 32;
  const std::uint32_t xor_bytes = kSize * kSize * 4, and_bytes = kSize * 4;
  const std::uint32_t image_bytes = 40 + xor_bytes + and_bytes;
  std::vector<std::uint8_t> out;
  auto put16 = [&](std::uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
  auto put32 = [&](std::uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
  put16(0); put16(1); put16(1);                                   // ICONDIR
  out.push_back(kSize); out.push_back(kSize); out.push_back(0); out.push_back(0);
  put16(1); put16(32); put32(image_bytes); put32(6 + 16);         // ICONDIRENTRY
  put32(40); put32(kSize); put32(kSize * 2); put16(1); put16(32);  // BITMAPINFOHEADER
  put32(0); put32(xor_bytes + and_bytes); put32(0); put32(0); put32(0); put32(0);
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; ++x) {
      const bool inside = x >= 8 && x < 24 && y >= 8 && y < 24;
      put32(inside ? (0xFF000000u | colour) : 0);
    }
  }
  for (int y = kSize - 1; y >= 0; --y) {
    std::uint32_t mask = 0;  // bit set: transparent
    for (int x = 0; x < kSize; ++x) {
      const bool inside = x >= 8 && x < 24 && y >= 8 && y < 24;
      if (!inside) mask |= 0x80000000u >> x;
    }
    out.push_back(mask >> 24); out.push_back(mask >> 16); out.push_back(mask >> 8); out.push_back(mask);
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(out.data()), out.size());
}

bool IsThe32PixelImage(const Picture& picture, int left) {
  if (picture.width < left + kIconSize || picture.height < kIconSize) return false;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const bool edge = x == 0 || y == 0 || x == kIconSize - 1 || y == kIconSize - 1;
      if (picture.At(left + x, y) != (edge ? 0x000000u : 0x00FF00u)) return false;
    }
  }
  return true;
}

bool WriteShortcut(const std::filesystem::path& link, const std::filesystem::path& target) {
  CoInitialize(nullptr);
  win::ComRef<IShellLinkW> shell_link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shell_link.put_void()))) {
    return false;
  }
  shell_link->SetPath(target.c_str());
  win::ComRef<IPersistFile> file;
  return SUCCEEDED(shell_link->QueryInterface(IID_IPersistFile, file.put_void())) &&
         SUCCEEDED(file->Save(link.c_str(), TRUE));
}

AccessiblePtr AccessibleOf(HWND hwnd) {
  // Not linked: its import library defines IID_IAccessible a second time.
  static const auto from_lresult = reinterpret_cast<decltype(&ObjectFromLresult)>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "ObjectFromLresult")));
  const LRESULT served = SendMessageW(hwnd, WM_GETOBJECT, 0, LPARAM(OBJID_CLIENT));
  IAccessible* object = nullptr;
  if (served <= 0 ||
      FAILED(from_lresult(served, IID_IAccessible, 0, reinterpret_cast<void**>(&object)))) {
    return nullptr;
  }
  return AccessiblePtr(object);
}

AccessiblePtr AccessibleOfWindow(HWND hwnd) {
  static const auto from_window = reinterpret_cast<decltype(&AccessibleObjectFromWindow)>(
      reinterpret_cast<void*>(
          GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
  IAccessible* object = nullptr;
  from_window(hwnd, DWORD(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object));
  return AccessiblePtr(object);
}

AccessibleReading Read(IAccessible* object) {
  AccessibleReading reading;
  const auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR value = nullptr;
    std::wstring result = SUCCEEDED((object->*get)(Self(), &value)) && value ? value : L"";
    SysFreeString(value);
    return result;
  };
  reading.name = text(&IAccessible::get_accName);
  reading.description = text(&IAccessible::get_accDescription);
  reading.default_action = text(&IAccessible::get_accDefaultAction);
  VARIANT value;
  VariantInit(&value);
  if (SUCCEEDED(object->get_accRole(Self(), &value)) && value.vt == VT_I4) {
    reading.role = value.lVal;
  }
  VariantInit(&value);
  if (SUCCEEDED(object->get_accState(Self(), &value)) && value.vt == VT_I4) {
    reading.state = DWORD(value.lVal);
  }
  return reading;
}

}  // namespace quenda::testing
