#include "windows/folder_chooser.h"

#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "resources/folder_chooser_layout.h"

namespace quenda {

// Outside the unnamed namespace: FolderChooser::Node holds one.
struct PidlFree {
  void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

namespace {

using win::ComRef;

ComRef<IShellFolder> Desktop() {
  ComRef<IShellFolder> desktop;
  SHGetDesktopFolder(desktop.put());
  return desktop;
}

// The folder object of an absolute item list; the desktop for the empty list.
ComRef<IShellFolder> BindFolder(const ITEMIDLIST* absolute) {
  ComRef<IShellFolder> desktop = Desktop();
  if (!desktop || ILIsEmpty(absolute)) return desktop;
  ComRef<IShellFolder> folder;
  desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.put_void());
  return folder;
}

std::wstring TakeStrRet(STRRET& name, const ITEMIDLIST* pidl) {
  auto from_ansi = [](const char* text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
  };
  switch (name.uType) {
    case STRRET_WSTR: {
      std::wstring text = name.pOleStr ? name.pOleStr : L"";
      CoTaskMemFree(name.pOleStr);
      return text;
    }
    case STRRET_OFFSET:
      return from_ansi(reinterpret_cast<const char*>(pidl) + name.uOffset);
    case STRRET_CSTR:
      return from_ansi(name.cStr);
  }
  return {};
}

std::wstring ShellDisplayName(IShellFolder* folder, const ITEMIDLIST* pidl, SHGDNF flags) {
  STRRET name{};
  if (!folder || FAILED(folder->GetDisplayNameOf(pidl, flags, &name))) return {};
  return TakeStrRet(name, pidl);
}

// The shell's small icon of an item, as an index into the system image list.
int SmallIconIndex(const ITEMIDLIST* absolute, UINT extra) {
  SHFILEINFOW info{};
  SHGetFileInfoW(reinterpret_cast<const wchar_t*>(absolute), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra);
  return info.iIcon;
}

bool HasSubfolder(const ITEMIDLIST* absolute) {
  SHFILEINFOW info{};
  info.dwAttributes = SFGAO_HASSUBFOLDER;
  if (!SHGetFileInfoW(reinterpret_cast<const wchar_t*>(absolute), 0, &info, sizeof info,
                      SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED)) {
    return true;  // unknown: let opening the node tell
  }
  return (info.dwAttributes & SFGAO_HASSUBFOLDER) != 0;
}

}  // namespace

// What the tree keeps for one item: its absolute item list and whether it was filled.
struct FolderChooser::Node {
  Pidl absolute;
  bool filled = false;
};

FolderChooser::FolderChooser() = default;

FolderChooser::~FolderChooser() {
  // While the object is whole: the tree notifies its parent as it goes.
  if (hwnd()) DestroyWindow(hwnd());
}

bool FolderChooser::Create(HWND owner) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClassOnce(kClassName);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  if (!CreateTopLevel(kClassName, L"ディレクトリー選択", style, 0, kFolderChooserSize, owner)) {
    return false;
  }
  CreateControls();
  InsertRoot();
  return true;
}

void FolderChooser::CreateControls() {
  using namespace folder_ids;
  BuildLayout(FolderChooserLayout());
  const HWND tree = Control(Tree);
  SendMessageW(tree, TVM_SETINDENT, dpi().Scale(kIndent), 0);
  // The system's own image list: shared, so never destroyed here.
  SHFILEINFOW info{};
  const auto images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
      L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  SetDialogKeys(tree, Control(SetButton), Control(CancelButton));
  Arrange();
}

void FolderChooser::PlaceOwnControls() {
  SendMessageW(Control(folder_ids::Tree), TVM_SETINDENT, dpi().Scale(kIndent), 0);
  Arrange();
}

void FolderChooser::Arrange() {
  using namespace folder_ids;
  const HWND tree = Control(Tree), bar = Control(Bar), right = Control(ButtonPanel);
  if (!tree || !bar || !right) return;
  RECT r;
  GetClientRect(hwnd(), &r);
  const int w = r.right, h = r.bottom;
  const int bar_height = dpi().Scale(kBarHeight), right_width = dpi().Scale(kButtonPanelWidth);
  const int bar_top = std::max(0, h - bar_height);
  SetWindowPos(tree, nullptr, 0, 0, w, bar_top, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(bar, nullptr, 0, bar_top, w, bar_height, SWP_NOZORDER | SWP_NOACTIVATE);
  // Inside the bar's one-pixel bevel, which stays one pixel at every DPI.
  SetWindowPos(right, nullptr, w - 1 - right_width, 1, right_width, bar_height - 2,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

FolderChooser::Node* FolderChooser::NodeOf(HTREEITEM item) const {
  if (!item) return nullptr;
  TVITEMW tv{};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  if (!SendMessageW(Control(folder_ids::Tree), TVM_GETITEMW, 0,
                    reinterpret_cast<LPARAM>(&tv))) {
    return nullptr;
  }
  return reinterpret_cast<Node*>(tv.lParam);
}

void FolderChooser::InsertRoot() {
  ITEMIDLIST* desktop_pidl = nullptr;
  if (FAILED(SHGetFolderLocation(nullptr, CSIDL_DESKTOP, nullptr, 0, &desktop_pidl))) return;
  auto node = std::make_unique<Node>();
  node->absolute.reset(desktop_pidl);
  std::wstring name = ShellDisplayName(Desktop().get(), desktop_pidl, SHGDN_NORMAL);
  TVINSERTSTRUCTW insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = name.data();
  insert.item.cChildren = 1;
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
  root_ = reinterpret_cast<HTREEITEM>(SendMessageW(
      Control(folder_ids::Tree), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  nodes_.push_back(std::move(node));
}

void FolderChooser::FillFolder(HTREEITEM item) {
  Node* node = NodeOf(item);
  if (!node || node->filled) return;
  node->filled = true;  // one level, once: the tree is not refreshed
  const HWND tree = Control(folder_ids::Tree);
  ComRef<IShellFolder> folder = BindFolder(node->absolute.get());
  ComRef<IEnumIDList> children;
  if (folder) folder->EnumObjects(hwnd(), SHCONTF_FOLDERS, children.put());
  int count = 0;
  ITEMIDLIST* child = nullptr;
  while (children && children->Next(1, &child, nullptr) == S_OK) {
    Pidl relative(child);
    auto entry = std::make_unique<Node>();
    entry->absolute.reset(ILCombine(node->absolute.get(), relative.get()));
    if (!entry->absolute) continue;
    std::wstring name = ShellDisplayName(folder.get(), relative.get(), SHGDN_INFOLDER);
    TVINSERTSTRUCTW insert{};
    insert.hParent = item;
    insert.hInsertAfter = TVI_LAST;
    // Icons and the button are asked for when the item is first drawn.
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = name.data();
    insert.item.cChildren = I_CHILDRENCALLBACK;
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.lParam = reinterpret_cast<LPARAM>(entry.get());
    if (SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))) {
      nodes_.push_back(std::move(entry));
      ++count;
    }
  }
  if (count == 0) {
    TVITEMW tv{};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = item;
    tv.cChildren = 0;
    SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return;
  }
  // In the shell's own order (My Computer before the folders on the desktop, and so on).
  TVSORTCB sort{};
  sort.hParent = item;
  sort.lParam = reinterpret_cast<LPARAM>(folder.get());
  sort.lpfnCompare = CompareItems;
  SendMessageW(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

int CALLBACK FolderChooser::CompareItems(LPARAM a, LPARAM b, LPARAM folder) {
  const HRESULT order = reinterpret_cast<IShellFolder*>(folder)->CompareIDs(
      0, ILFindLastID(reinterpret_cast<Node*>(a)->absolute.get()),
      ILFindLastID(reinterpret_cast<Node*>(b)->absolute.get()));
  return FAILED(order) ? 0 : short(HRESULT_CODE(order));
}

void FolderChooser::DescribeItem(NMTVDISPINFOW& info) const {
  const Node* node = reinterpret_cast<const Node*>(info.item.lParam);
  if (!node) return;
  const ITEMIDLIST* pidl = node->absolute.get();
  if (info.item.mask & TVIF_IMAGE) info.item.iImage = SmallIconIndex(pidl, 0);
  if (info.item.mask & TVIF_SELECTEDIMAGE) {
    info.item.iSelectedImage = SmallIconIndex(pidl, SHGFI_OPENICON);
  }
  if (info.item.mask & TVIF_CHILDREN) info.item.cChildren = HasSubfolder(pidl) ? 1 : 0;
  info.item.mask |= TVIF_DI_SETITEM;  // asked once per item
}

void FolderChooser::SelectItemUnderMouse() {
  const HWND tree = Control(folder_ids::Tree);
  TVHITTESTINFO hit{};
  GetCursorPos(&hit.pt);
  ScreenToClient(tree, &hit.pt);
  SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.hItem && (hit.flags & TVHT_ONITEM)) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit.hItem));
  }
}

std::wstring FolderChooser::ItemPath(HTREEITEM item) const {
  const Node* node = NodeOf(item);
  if (!node) return {};
  // A virtual folder (the control panel, the network) has no path, nor has a folder-like file.
  wchar_t path[MAX_PATH];
  if (!SHGetPathFromIDListW(node->absolute.get(), path)) return {};
  SHFILEINFOW info{};
  info.dwAttributes = SFGAO_FILESYSTEM;
  if (!ILIsEmpty(node->absolute.get()) &&
      (!SHGetFileInfoW(reinterpret_cast<const wchar_t*>(node->absolute.get()), 0, &info,
                       sizeof info, SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED) ||
       !(info.dwAttributes & SFGAO_FILESYSTEM))) {
    return {};
  }
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return path;
}

std::wstring FolderChooser::SelectedPath() const {
  const auto selected = reinterpret_cast<HTREEITEM>(SendMessageW(
      Control(folder_ids::Tree), TVM_GETNEXTITEM, TVGN_CARET, 0));
  return selected ? ItemPath(selected) : std::wstring();
}

std::optional<std::wstring> FolderChooser::ChooseFolder(HWND owner) {
  if (!ShowModal(owner) || chosen_folder_.empty()) return std::nullopt;
  return chosen_folder_;
}

void FolderChooser::Confirm() {
  const bool selected = TreeView_GetSelection(Control(folder_ids::Tree)) != nullptr;
  std::wstring path = SelectedPath();
  if (selected && path.empty()) {
    // Not a folder of the file system: said in the bar, and the chooser stays.
    SetWindowTextW(Control(folder_ids::Bar), kRefusedText);
    return;
  }
  chosen_folder_ = std::move(path);
  EndModal();
}

void FolderChooser::Cancel() {
  chosen_folder_.clear();
  EndModal();
}

LRESULT FolderChooser::OnNotify(const NMHDR& header) {
  if (header.idFrom != UINT_PTR(folder_ids::Tree)) return 0;
  switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
      const auto& tv = reinterpret_cast<const NMTREEVIEWW&>(header);
      if (tv.action & TVE_EXPAND) FillFolder(tv.itemNew.hItem);
      return FALSE;
    }
    case TVN_SELCHANGEDW:
      SetWindowTextW(Control(folder_ids::Bar), L"");
      return 0;
    case TVN_GETDISPINFOW:
      DescribeItem(reinterpret_cast<NMTVDISPINFOW&>(const_cast<NMHDR&>(header)));
      return 0;
    case NM_RCLICK:
      SelectItemUnderMouse();
      return 0;
  }
  return 0;
}

void FolderChooser::Opening() {
  SetWindowTextW(Control(folder_ids::Bar), L"");
  // Centred over the main window each time it opens.
  const HWND owner = GetWindow(hwnd(), GW_OWNER);
  RECT o, r;
  if (owner && GetWindowRect(owner, &o) && GetWindowRect(hwnd(), &r)) {
    SetWindowPos(hwnd(), nullptr, (o.left + o.right - (r.right - r.left)) / 2,
                 (o.top + o.bottom - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    win::CentreOnDesktop(hwnd());
  }
}

LRESULT FolderChooser::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        if (LOWORD(wparam) == folder_ids::SetButton) Confirm();
        if (LOWORD(wparam) == folder_ids::CancelButton) Cancel();
      }
      return 0;
    case WM_SIZE:
      Arrange();
      return 0;
    case WM_SHOWWINDOW:
      if (wparam) {
        if (!shown_) {
          shown_ = true;  // the desktop's own level, when the tree is first seen
          SendMessageW(Control(folder_ids::Tree), TVM_EXPAND, TVE_EXPAND,
                       reinterpret_cast<LPARAM>(root_));
        }
      }
      break;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
