#pragma once
// ProgramEditor: the program entry editor, a modal dialog over the main window for the program slot
// the main window hands it. Its working copy goes back only through "設　定"; only "クリヤー"
// changes the slot at once.
#include <string>

#include "core/slot_table.h"
#include "platform/handle.h"
#include "windows/entry_editor.h"

namespace quenda {

class IconPicker;
class FolderChooser;

class ProgramEditor : public EntryEditor {
 public:
  static constexpr const wchar_t* kClassName = L"TPrgForm";
  bool Create(HWND owner, IconPicker* picker, FolderChooser* folders);

  void LoadHandedSlot() override;
  void ChooseProgram();  // "参照" beside the program
  void ChooseWorkFolder();  // "参照" beside the working folder
  void Confirm();  // "設　定"
  void ClearEntry();  // "クリヤー": after asking
  void Cancel();  // "ｷｬﾝｾﾙ"
  void LoadIconFromProgram(const std::string& path);

  const IconBitmap& Glyph() const { return glyph_; }
  const SlotEntry& WorkingRecord() const { return working_entry_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void FillControls();
  void ShowGlyph();

  IconPicker* picker_ = nullptr;
  FolderChooser* folders_ = nullptr;
  SlotEntry working_entry_{};
  IconBitmap glyph_{};  // the key preview's glyph
};

}  // namespace quenda
