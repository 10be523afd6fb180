#pragma once
// TKeyIn_URL: the URL entry editor, a modal dialog over the main window that edits the address
// slot the main window hands it through a working copy, given back only by "設　定".
#include <string>

#include "core/slot_table.h"
#include "platform/handle.h"
#include "windows/entry_editor.h"

namespace quenda {

class TPrgIconGetBox;

class TKeyIn_URL : public EntryEditor {
 public:
  static constexpr const wchar_t* kClassName = L"TKeyIn_URL";
  bool Create(HWND owner, TPrgIconGetBox* picker);

  // Handlers, named as the editor's behaviour names them.
  void FormActivate() override;  // loads the slot into the controls as the editor opens
  void SpeedButton3Click();  // "設　定": gives the edited entry and closes
  void SpeedButton4Click();  // "ｷｬﾝｾﾙ": closes, the slot as it was
  void SpeedButton2Click();  // "ＵＲＬ取得": takes address and title from the browser
  void SpeedButton7Click();  // "ファイル起動": takes a local page chosen from a file dialog
  void SpeedButton6Click();  // "クリヤー": empties the slot after asking
  void SpeedButton5Click();  // "Fileから": takes the key's icon from an icon or program file
  void CheckBox1Click();  // key shows the title (checked) or the icon
  void MaskEdit1Change();  // the key's title: cut to its field, previewed on the key
  void pr_ReadImge(const std::string& path);  // the key's icon from an icon file
  void LoadIconFromProgram(const std::string& path);
  void TakeLocalPage(const std::wstring& path);
  void RefreshKeyPreview();

  const IconBitmap& WorkingPicture() const { return working_; }
  bool Checked() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void LoadControls();  // the controls from the working copy, as the editor opens
  void SetChecked(bool checked);
  void ShowPreviewCaption();
  void SetNowStatistics();                 // "0" and the current date and time

  TPrgIconGetBox* picker_ = nullptr;
  SlotEntry UrlEditRecord{};
  IconBitmap working_{};  // the working picture (Image1)
  bool loading_ = false;  // controls are being filled, not edited
};

}  // namespace quenda
