#pragma once
// TPrgForm: the program entry editor, a modal dialog over the main window for the program slot
// the main window hands it. Its working copy goes back only through "設　定"; only "クリヤー"
// changes the slot at once.
#include <optional>
#include <string>

#include "core/slot_table.h"
#include "platform/handle.h"
#include "ui/layout_builder.h"
#include "ui/window.h"

namespace quenda {

class TPrgIconGetBox;
class TGetFolder;

class TPrgForm : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TPrgForm";
  bool Create(HWND owner, TPrgIconGetBox* picker, TGetFolder* folders);

  // Shows the editor modally over `owner` on a slot; gives the edited entry after "設　定",
  // nothing after "ｷｬﾝｾﾙ" or the close box.
  std::optional<SlotEntry> Edit(HWND owner, SlotEdit slot);
  // Loads a slot without showing the editor; Result() then holds what "設　定" gives.
  void Load(SlotEdit slot);
  const std::optional<SlotEntry>& Result() const { return result_; }

  // Handlers, named as the editor's behaviour names them.
  void FormActivate();  // loads the slot into the controls as the editor opens
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
  void Opening() override { FormActivate(); }

 private:
  void FillControls();
  void ShowGlyph();

  TPrgIconGetBox* picker_ = nullptr;
  TGetFolder* folders_ = nullptr;
  SlotEdit slot_;
  SlotEntry PrgEditRecord{};
  std::optional<SlotEntry> result_;
  IconBitmap glyph_{};  // SpeedButton7's glyph
};

}  // namespace quenda
