#pragma once
// TPrgForm: the program entry editor, a modal dialog over the main window for the program slot
// the main window hands it. Its working copy goes back only through "設　定"; only "クリヤー"
// changes the slot at once.
#include <string>

#include "core/slot_table.h"
#include "platform/handle.h"
#include "windows/entry_editor.h"

namespace quenda {

class TPrgIconGetBox;
class TGetFolder;

class TPrgForm : public EntryEditor {
 public:
  static constexpr const wchar_t* kClassName = L"TPrgForm";
  bool Create(HWND owner, TPrgIconGetBox* picker, TGetFolder* folders);

  // Handlers, named as the editor's behaviour names them.
  void FormActivate() override;  // loads the slot into the controls as the editor opens
  void SpeedButton6Click();  // "参照": the program
  void SpeedButton2Click();  // "参照": the working folder
  void SpeedButton3Click();  // "設　定": gives the edited entry and closes
  void SpeedButton8Click();  // "クリヤー": empties the slot after asking
  void SpeedButton4Click();  // "ｷｬﾝｾﾙ": closes, the slot as it was
  void LoadIconFromProgram(const std::string& path);

  const IconBitmap& Glyph() const { return glyph_; }
  const SlotEntry& WorkingRecord() const { return PrgEditRecord; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void FillControls();
  void ShowGlyph();

  TPrgIconGetBox* picker_ = nullptr;
  TGetFolder* folders_ = nullptr;
  SlotEntry PrgEditRecord{};
  IconBitmap glyph_{};  // SpeedButton7's glyph
};

}  // namespace quenda
