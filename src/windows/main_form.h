#pragma once
// TMainForm: the launcher's main window. One page of 25 slot buttons, the page bank, the info
// display of the slot under the mouse, the slot popup menu, and files dropped on program pages.
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>

#include "core/now_text.h"
#include "core/slot_table.h"
#include "core/table_file.h"
#include "platform/folder_watch.h"
#include "platform/handle.h"
#include "ui/layout_builder.h"
#include "ui/speed_button.h"
#include "ui/window.h"

namespace quenda {

class TKeyIn_URL;
class TOpHelp;
class TPrgForm;

// The dialogs the main window opens; they belong to whoever creates the windows (Forms).
struct MainFormDialogs {
  TPrgForm* prg = nullptr;
  TKeyIn_URL* url = nullptr;
  TOpHelp* help = nullptr;
};

// What the main window has selected: the page shown, the tag of its page button, and the slot
// last under the mouse, clicked or dropped on.
struct SlotSelection {
  PageIndex CurrentPage = 0;
  SlotIndex CurrentSlot = 0;
  PageTag CurrentTag = 0;
};

class TMainForm : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TMainForm";
  static constexpr int kClientWidth = 366;
  static constexpr int kClientHeight = 362;

  // Creates the window and its controls and runs FormCreate; `dialogs` are the ones it opens,
  // `table` and `file` what it shows and where that is kept (the caller owns them).
  bool Create(const MainFormDialogs& dialogs, SlotTable& table, TableFile& file);

  // Handlers, named as the launcher's behaviour names them.
  void FormCreate();  // loads the table, showing any error
  void FormShow();  // draws the slot buttons
  bool FormCloseQuery();  // saves the table; on failure asks whether to close unsaved
  void Exit1Click();  // "終了": closes the window as its close box does
  void N3Click();  // "操作方法": shows the help dialog
  void SpeedButton1Click(HWND page_button);  // any page button: switches to its page
  void pr_KeyMssgDisp();  // redraws all 25 slot buttons of the current page
  void pr_KeyDisp(unsigned slot);  // shows one slot button: its icon or its title's start
  void TblDisp();  // fills the info display from the slot under the mouse
  void BoxClr();  // empties the info display
  void SpeedButton18MouseMove(HWND slot_button);  // any slot button: makes it current, shows its info
  void Panel4MouseMove();  // the grid between the buttons: empties the info display
  void FormMouseMove();  // the window beside the grid: empties the info display
  void N2Click(SlotIndex slot);  // "内容の編集": edits the popup's slot, then saves the table
  void URL1Click(SlotIndex slot);  // "URL取得": fills the popup's slot from the browser, saves
  void SpeedButton18Click(HWND slot_button);  // any slot button: opens its target, counts it
  void AscUp();  // counts an opening of the selected slot and stamps the time
  void pr_Drag(int accept);  // accepts dropped files (1) or not (0)
  void ReceiveDropFiles(HDROP drop);  // fills the slot under the drop from its first file

  const SlotSelection& Selection() const { return selection_; }

  // The slot popup as it is shown now ("URL取得" only on address pages); the caller owns it.
  win::UniqueMenu BuildPopupMenu() const;
  // The slot under a point in client coordinates, or -1.
  int SlotAtClientPoint(POINT client) const;

  // Where the keyboard is: a slot of the grid, or the page bank (the current page's button).
  int FocusedSlot() const { return focus_slot_; }
  bool FocusInPageBank() const { return focus_in_bank_; }
  const std::wstring& TypedText() const { return typed_; }
  // Whether the activation hot key was taken at start-up.
  bool HotKeyRegistered() const { return hot_key_registered_; }

  HWND SlotButton(int slot) const { return slot_buttons_[slot]; }
  HWND PageButtonByTag(int tag) const;
  bool UrlItemVisible() const { return url_item_visible_; }
  bool AcceptsDrops() const { return accepts_drops_; }
  // Whether FormCreate reached its end (the table loaded without error).
  bool LoadedCleanly() const { return loaded_cleanly_; }
  // Takes in what another program (another PC's Quenda) wrote to the table file meanwhile.
  void TakeOtherWritersChanges();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateControls();
  void OnCommand(int id, int code, HWND control);
  void OnContextMenu(HWND source, POINT screen);
  LRESULT OnQueryEndSession();
  void OnEndSession(bool ending);
  void SaveForSessionEnd();
  bool IsSlotButton(HWND hwnd) const;
  std::shared_ptr<const win::Glyph> SlotGlyph(PageIndex page, unsigned slot);
  win::SpeedButton::AccessibleText SlotAccessibleText(unsigned slot) const;
  // The keyboard: true when the key was used.
  bool OnKeyDown(UINT key);
  void MoveFocusTo(int slot);
  void SwitchPage(int tag);
  void StepPage(int step);
  void UpdateFocusMark();
  void RegisterActivationKey();
  // Saves the table, merged with another writer's change; shows what the merge brought.
  void SaveTable();
  void ShowSync(const TableFile::SyncResult& sync);
  void OnHotKey();
  // Type to find: a character typed, Backspace and Esc included.
  void OnTypedChar(wchar_t c);
  bool FindTyped();
  void ClearTyped();

  MainFormDialogs dialogs_;
  SlotTable* table_ = nullptr;
  TableFile* file_ = nullptr;
  FolderWatch folder_watch_;
  // While an editor is open another writer's change waits for its "設　定", where it is merged:
  // taken in before, it would be overwritten by the editor's entry unseen.
  bool editing_ = false;
  SlotSelection selection_;
  SlotIndex popup_slot_ = 0;  // the slot the popup was last opened for
  int focus_slot_ = 0;
  bool focus_in_bank_ = false;
  // The focus mark shows only once a key has been used, so a mouse user never sees it.
  bool keyboard_used_ = false;
  // The button accessibility clients were last told has the focus.
  HWND focus_announced_ = nullptr;
  bool hot_key_registered_ = false;
  std::wstring typed_;  // the text being found
  std::uint64_t typed_at_ = 0;  // milliseconds
  std::array<HWND, 25> slot_buttons_{};
  win::UniqueBitmap blank_icon_;  // IconClr_Imag's picture
  // Each shown icon slot's glyph with the icon it was made from, by record: a page switch hands
  // the buttons these, and a glyph is made again only when its slot's icon has changed.
  struct CachedGlyph {
    IconBitmap icon;
    std::shared_ptr<const win::Glyph> glyph;
  };
  std::map<int, CachedGlyph> glyphs_;
  bool shown_ = false;
  bool loaded_cleanly_ = false;
  bool url_item_visible_ = true;
  bool accepts_drops_ = false;
  // Set once a log-off or shut-down has tried to save, so repeated queries do not save again.
  bool saved_for_session_end_ = false;
};

}  // namespace quenda
