// The folder chooser on the real shell namespace of the Wine prefix: the bottom bar, the tree
// filled one level at a time, the path of real folders and the refusal of virtual ones, and
// what the buttons and the close box leave as the chooser's answer.
#include "windows/folder_chooser.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <set>

#include "platform/cp932.h"
#include "resources/folder_chooser_layout.h"
#include "support/win_test_support.h"
#include "windows/modal_probe.h"

namespace quenda {
namespace {

using namespace folder_ids;
using testing::ModalProbe;
using testing::PostClick;

// A shell folder's display name, asked of the shell directly.
std::wstring ShellDisplayName(int csidl) {
  ITEMIDLIST* pidl = nullptr;
  if (FAILED(SHGetFolderLocation(nullptr, csidl, nullptr, 0, &pidl))) return {};
  SHFILEINFOW info{};
  SHGetFileInfoW(reinterpret_cast<const wchar_t*>(pidl), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_DISPLAYNAME);
  CoTaskMemFree(pidl);
  return info.szDisplayName;
}

bool SamePathPrefix(const std::wstring& prefix, const std::wstring& path) {
  if (prefix.empty() || prefix.size() > path.size()) return false;
  if (CompareStringOrdinal(prefix.c_str(), int(prefix.size()), path.c_str(), int(prefix.size()),
                           TRUE) != CSTR_EQUAL) {
    return false;
  }
  return prefix.size() == path.size() || prefix.back() == L'\\' || path[prefix.size()] == L'\\';
}

class FolderChooserTest : public ::testing::Test {
 protected:
  FolderChooserTest() {
    owner = testing::CreateOwnerWindow(40, 60, 380, 420);
    created = chooser.Create(owner);
    tree = chooser.Control(Tree);
  }
  ~FolderChooserTest() override {
    DestroyWindow(chooser.hwnd());
    DestroyWindow(owner);
    testing::PumpMessages();
  }

  std::vector<HTREEITEM> Children(HTREEITEM item) {
    std::vector<HTREEITEM> children;
    for (auto child = TreeView_GetChild(tree, item); child; child = TreeView_GetNextSibling(tree, child)) {
      children.push_back(child);
    }
    return children;
  }
  std::wstring Text(HTREEITEM item) {
    wchar_t text[MAX_PATH]{};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    TreeView_GetItem(tree, &tv);
    return text;
  }
  int Buttons(HTREEITEM item) {  // asks the chooser through its callback
    TVITEMW tv{};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = item;
    TreeView_GetItem(tree, &tv);
    return tv.cChildren;
  }
  void Expand(HTREEITEM item) {
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    expanded.insert(item);
  }
  HTREEITEM ChildNamed(HTREEITEM parent, const std::wstring& text) {
    for (HTREEITEM child : Children(parent)) {
      if (Text(child) == text) return child;
    }
    return nullptr;
  }
  // Opens the tree down to a file-system folder, as a user would, and gives its item.
  HTREEITEM Open(const std::wstring& path) {
    Expand(chooser.Root());
    HTREEITEM at = ChildNamed(chooser.Root(), ShellDisplayName(CSIDL_DRIVES));
    for (int depth = 0; at && depth < 32; ++depth) {
      Expand(at);
      HTREEITEM next = nullptr;
      for (HTREEITEM child : Children(at)) {
        const std::wstring child_path = chooser.ItemPath(child);
        if (SamePathPrefix(child_path, path)) {
          if (child_path.size() == path.size()) return child;
          next = child;
        }
      }
      at = next;
    }
    return nullptr;
  }
  void Select(HTREEITEM item) { TreeView_SelectItem(tree, item); }
  RECT RectIn(HWND hwnd, HWND relative_to) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, relative_to, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  HWND owner = nullptr;
  FolderChooser chooser;
  bool created = false;
  HWND tree = nullptr;
  std::set<HTREEITEM> expanded;
};

TEST_F(FolderChooserTest, TheTreeFillsTheWindowAboveTheBarAtAnySize) {
  ASSERT_TRUE(created);
  RECT w;
  GetWindowRect(chooser.hwnd(), &w);
  EXPECT_EQ(w.right - w.left, kFolderChooserSize.width);
  EXPECT_EQ(w.bottom - w.top, kFolderChooserSize.height);
  EXPECT_EQ(win::GetText(chooser.hwnd()), L"ディレクトリー選択");
  EXPECT_TRUE(GetWindowLongW(chooser.hwnd(), GWL_STYLE) & WS_THICKFRAME);
  const LONG tree_style = GetWindowLongW(tree, GWL_STYLE);
  EXPECT_EQ(tree_style & (TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS),
            TVS_HASLINES | TVS_HASBUTTONS);
  EXPECT_EQ(TreeView_GetIndent(tree), 19u);
  SHFILEINFOW info{};
  const auto system_small = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  EXPECT_EQ(TreeView_GetImageList(tree, TVSIL_NORMAL), system_small);

  const HWND bar = chooser.Control(Bar), right = chooser.Control(ButtonPanel);
  for (SIZE size : {SIZE{kFolderChooserSize.width, kFolderChooserSize.height}, SIZE{820, 500}}) {
    SetWindowPos(chooser.hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(chooser.hwnd(), &client);
    const RECT t = RectIn(tree, chooser.hwnd()), b = RectIn(bar, chooser.hwnd());
    EXPECT_EQ(t.left, 0);
    EXPECT_EQ(t.top, 0);
    EXPECT_EQ(t.right, client.right);
    EXPECT_EQ(t.bottom, b.top);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.right, client.right);
    EXPECT_EQ(b.bottom, client.bottom);
    EXPECT_EQ(b.bottom - b.top, 30);
    const RECT p = RectIn(right, bar);
    EXPECT_EQ(p.right - p.left, 156);
    EXPECT_EQ(p.right, client.right - 1);  // against the bar's right bevel
  }
  struct {
    int id;
    const wchar_t* text;
    int x;
  } buttons[] = {{SetButton, L"設　定", 13}, {CancelButton, L"ｷｬﾝｾﾙ", 87}};
  for (const auto& button : buttons) {
    const HWND hwnd = chooser.Control(button.id);
    EXPECT_EQ(GetParent(hwnd), right);
    EXPECT_EQ(GetDlgCtrlID(hwnd), button.id);
    EXPECT_EQ(win::GetText(hwnd), button.text);
    const RECT r = RectIn(hwnd, right);
    EXPECT_EQ(r.left, button.x);
    EXPECT_EQ(r.top, 3);
    EXPECT_EQ(r.right - r.left, 56);
    EXPECT_EQ(r.bottom - r.top, 22);
  }
}

TEST_F(FolderChooserTest, NodesFillWhenOpenedAndOnlyFileSystemFoldersAreTaken) {
  ASSERT_TRUE(created);
  testing::ScopedTempDir dir;
  const auto folder = dir.path() / L"作業フォルダー\uD55C";  // 한: CP932 lacks it
  std::filesystem::create_directory(folder);
  wchar_t long_path[MAX_PATH * 4];
  ASSERT_NE(GetLongPathNameW(folder.c_str(), long_path, MAX_PATH * 4), 0u);

  // Nothing is enumerated until a node opens, and then only its own level.
  const HTREEITEM root = chooser.Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Text(root), ShellDisplayName(CSIDL_DESKTOP));
  EXPECT_TRUE(Children(root).empty());
  Expand(root);
  ASSERT_FALSE(Children(root).empty());
  for (HTREEITEM child : Children(root)) EXPECT_TRUE(Children(child).empty()) << Text(child);

  // A virtual node has no path: "設　定" on it is refused in the bar.
  const HTREEITEM computer = ChildNamed(root, ShellDisplayName(CSIDL_DRIVES));
  ASSERT_NE(computer, nullptr);
  EXPECT_EQ(Buttons(computer), 1);
  Select(computer);
  chooser.Confirm();
  EXPECT_EQ(chooser.ChosenFolder(), L"");
  EXPECT_EQ(win::GetText(chooser.Control(Bar)), FolderChooser::kRefusedText);

  // A real folder gives its full path.
  const HTREEITEM item = Open(long_path);
  ASSERT_NE(item, nullptr);
  Select(item);
  PostClick(chooser.Control(SetButton));
  testing::PumpMessages();
  EXPECT_EQ(chooser.ChosenFolder(), long_path);
  EXPECT_EQ(Text(item), L"作業フォルダー\uD55C");
  EXPECT_EQ(win::GetText(chooser.Control(Bar)), L"");

  // Only the nodes opened on the way hold items; the others still offer to open.
  std::vector<HTREEITEM> pending{root};
  int unopened_with_button = 0;
  while (!pending.empty()) {
    const HTREEITEM at = pending.back();
    pending.pop_back();
    const std::vector<HTREEITEM> children = Children(at);
    if (!children.empty()) {
      EXPECT_TRUE(expanded.count(at)) << Text(at);
    }
    if (children.empty() && !expanded.count(at) && Buttons(at) == 1) ++unopened_with_button;
    pending.insert(pending.end(), children.begin(), children.end());
  }
  EXPECT_GT(unopened_with_button, 0);  // C:\windows at least

  // A right click selects the node under the pointer.
  TreeView_EnsureVisible(tree, computer);
  RECT r;
  ASSERT_TRUE(TreeView_GetItemRect(tree, computer, &r, TRUE));
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  POINT screen = at;
  ClientToScreen(tree, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(tree, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(tree, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  testing::PumpMessages();
  EXPECT_EQ(TreeView_GetSelection(tree), computer);

  // With nothing selected the path is empty.
  Select(nullptr);
  chooser.Confirm();
  EXPECT_EQ(chooser.ChosenFolder(), L"");
}

TEST_F(FolderChooserTest, SetTakesTheSelectionCancelEmptiesAndTheCloseBoxKeeps) {
  ASSERT_TRUE(created);
  const HTREEITEM root = chooser.Root();
  ModalProbe probe;
  RECT shown{}, owner_rect;
  // Far enough from the screen's edge for the chooser centred over it to fit.
  SetWindowPos(owner, nullptr, 300, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(owner, &owner_rect);
  bool root_filled = false;

  // The first showing opens the desktop's level; "設　定" takes the selection and closes.
  probe.Post([&] {
    GetWindowRect(chooser.hwnd(), &shown);
    root_filled = !Children(root).empty();
    Select(ChildNamed(root, ShellDisplayName(CSIDL_DRIVES)));
  });
  PostClick(chooser.Control(SetButton));  // refused: a virtual folder
  bool stayed = false;
  probe.Post([&] {
    stayed = IsWindowVisible(chooser.hwnd());
    Select(root);
  });
  PostClick(chooser.Control(SetButton));
  const std::optional<std::wstring> chosen = chooser.ChooseFolder(owner);
  EXPECT_TRUE(root_filled);
  EXPECT_TRUE(stayed);
  EXPECT_NEAR(shown.left + shown.right, owner_rect.left + owner_rect.right, 1);
  EXPECT_NEAR(shown.top + shown.bottom, owner_rect.top + owner_rect.bottom, 1);
  const std::wstring desktop = chosen.value_or(L"");
  wchar_t desktop_path[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop_path)));
  EXPECT_EQ(desktop, desktop_path);
  EXPECT_FALSE(IsWindowVisible(chooser.hwnd()));
  EXPECT_TRUE(IsWindowEnabled(owner));

  // The close box leaves the earlier choice; the selection stays for the next showing.
  PostMessageW(chooser.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(chooser.ChooseFolder(owner), desktop);
  EXPECT_EQ(TreeView_GetSelection(tree), root);

  PostClick(chooser.Control(CancelButton));
  EXPECT_EQ(chooser.ChooseFolder(owner), std::nullopt);
  EXPECT_TRUE(IsWindow(chooser.hwnd()));
}

}  // namespace
}  // namespace quenda
