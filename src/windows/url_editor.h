#pragma once
// UrlEditor: the URL entry editor, a modal dialog over the main window that edits the address
// slot the main window hands it through a working copy, given back only by "設　定".
#include <string>

#include "core/slot_table.h"
#include "platform/handle.h"
#include "windows/entry_editor.h"

namespace quenda {

class IconPicker;

class UrlEditor : public EntryEditor {
 public:
  static constexpr const wchar_t* kClassName = L"TKeyIn_URL";
  bool Create(HWND owner, IconPicker* picker);

  void LoadHandedSlot() override;
  void Confirm();  // "設　定"
  void Cancel();  // "ｷｬﾝｾﾙ"
  void CaptureFromBrowser();  // "ＵＲＬ取得"
  void ChooseLocalPage();  // "ファイル起動"
  void ClearEntry();  // "クリヤー": after asking
  void ChooseIconFile();  // "Fileから": an icon or program file
  void ShowTitleClicked();  // "文字表示": the key shows its title, or else its icon
  void KeyTitleChanged();  // cut to its field, previewed on the key
  void LoadIconFromIconFile(const std::string& path);
  void LoadIconFromProgram(const std::string& path);
  void TakeLocalPage(const std::wstring& path);
  void RefreshKeyPreview();

  const IconBitmap& WorkingPicture() const { return working_; }
  bool ShowsTitle() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void LoadControls();  // the controls from the working copy, as the editor opens
  void SetShowsTitle(bool checked);
  void ShowPreviewCaption();
  void SetNowStatistics();                 // "0" and the current date and time

  IconPicker* picker_ = nullptr;
  SlotEntry working_entry_{};
  IconBitmap working_{};  // the key preview's picture, as edited
  bool loading_ = false;  // controls are being filled, not edited
};

}  // namespace quenda
