#pragma once
// FolderChooser: a modal dialog with a tree of the shell namespace rooted at the desktop,
// folders only, filled one level at a time as nodes open.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"
#include "ui/layout_builder.h"
#include "ui/window.h"

namespace quenda {

class FolderChooser : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TGetFolder";
  static constexpr int kIndent = 19;  // at 96 DPI
  // What the bar says when "設　定" is refused on a folder that is not in the file system.
  static constexpr const wchar_t* kRefusedText = L"このフォルダーは選べません";

  FolderChooser();
  ~FolderChooser() override;

  bool Create(HWND owner);

  // Shows the chooser modally over `owner` and gives ChosenFolder, or nothing when it is empty.
  std::optional<std::wstring> ChooseFolder(HWND owner);
  // The folder chosen by the last "設　定", whole, empty after "ｷｬﾝｾﾙ"; the close box leaves it.
  // Lives as long as the chooser and is never reset.
  const std::wstring& ChosenFolder() const { return chosen_folder_; }

  // "設　定": closes with the selected folder, or stays and says why when it is not one of the
  // file system.
  void Confirm();
  void Cancel();  // "ｷｬﾝｾﾙ"

  // An item's path in the file system; empty for a virtual folder (the control panel, My
  // Computer, the network) or a folder-like file.
  std::wstring ItemPath(HTREEITEM item) const;
  // The selected item's path; empty when nothing is selected.
  std::wstring SelectedPath() const;

  HTREEITEM Root() const { return root_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Opening() override;
  void PlaceOwnControls() override;

 private:
  struct Node;

  void CreateControls();
  void Arrange();
  void InsertRoot();
  LRESULT OnNotify(const NMHDR& header);
  void FillFolder(HTREEITEM item);  // as its node opens
  void DescribeItem(NMTVDISPINFOW& info) const;  // icons and button, when first drawn
  void SelectItemUnderMouse();
  Node* NodeOf(HTREEITEM item) const;
  // Orders two items of one folder (`folder`, an IShellFolder) as that folder does.
  static int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM folder);

  HTREEITEM root_ = nullptr;
  bool shown_ = false;
  std::vector<std::unique_ptr<Node>> nodes_;  // every item's node, freed with the window
  std::wstring chosen_folder_;
};

}  // namespace quenda
