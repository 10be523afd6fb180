#pragma once
// MainWindow: the launcher's main window. One page of slot buttons, the page bank, the info
// display of the slot under the mouse, the slot popup menu, and files dropped on program pages.
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>

#include "core/now_text.h"
#include "core/slot_moves.h"
#include "core/slot_table.h"
#include "core/table_file.h"
#include "platform/folder_watch.h"
#include "platform/handle.h"
#include "ui/layout_builder.h"
#include "ui/speed_button.h"
#include "ui/window.h"

namespace quenda {

class UrlEditor;
class HelpDialog;
class BackupChooser;
class ProgramEditor;

// The dialogs the main window opens; they belong to whoever creates the windows (Forms).
struct MainWindowDialogs {
  ProgramEditor* program_editor = nullptr;
  UrlEditor* url_editor = nullptr;
  HelpDialog* help = nullptr;
  BackupChooser* backups = nullptr;
};

// What the main window has selected: the page shown, the tag of its page button, and the slot
// last under the mouse, clicked or dropped on.
struct SlotSelection {
  PageIndex page = 0;
  SlotIndex slot = 0;
  PageTag tag = 0;
};

class MainWindow : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TMainForm";

  // Creates the window and its controls and runs LoadAtStart; `dialogs` are the ones it opens,
  // `table` and `file` what it shows and where that is kept (the caller owns them).
  bool Create(const MainWindowDialogs& dialogs, SlotTable& table, TableFile& file);

  void LoadAtStart();  // shows any error of the table's load
  void ShowFirstPage();
  // On a failed save, asks whether to close unsaved; true when the window may close.
  bool SaveBeforeClose();
  void CloseFromMenu();  // "終了"
  void ShowHelp();  // "操作方法"
  // "バックアップから戻す…": the backup chosen replaces the table, as one undoable step; saves.
  void RestoreFromBackup();
  void OpenPage(HWND page_button);
  void ShowPage();
  void ShowSlot(unsigned slot);  // its icon or the start of its title
  void ShowSlotDetails();  // of the selected slot, in the info line and the panels below
  void ClearDetails();
  void HoverSlot(HWND slot_button);  // selects the slot and shows its details
  void HoverGrid();
  void HoverBesideGrid();
  void EditSlot(SlotIndex slot);  // "内容の編集"; saves the table, even after ｷｬﾝｾﾙ
  void CaptureIntoSlot(SlotIndex slot);  // "URL取得"; saves the table
  // Opens the slot's target; a program page's as administrator when `elevated` (Ctrl+Shift, as
  // in the Start menu, or the popup's "管理者として実行").
  void OpenSlot(HWND slot_button, bool elevated = false);
  void CountOpening();  // of the selected slot, stamped with the time
  void AcceptDrops(bool accept);
  void ReceiveDropFiles(HDROP drop);  // fills the slot under the drop from its first file
  // Swaps the focused slot with its neighbour `step` slots on; the focus follows. Saves.
  void SwapFocusedSlot(int step);
  // A move made: kept for undo, both slots shown again and the table saved; a refused one's
  // reason on the info line. True when something moved.
  bool TakeMove(MoveResult moved, SlotIndex from, SlotIndex to);
  // The slot dragged with the mouse, let go at a point in client coordinates: onto another slot
  // of the page it swaps with it, onto a page button of its group it moves to that page's first
  // empty slot; anywhere else nothing moves. Saves.
  void DropDraggedSlot(POINT client);
  // Ctrl+Z / Ctrl+Y and the popup's "元に戻す": saves and says on the info line what was done.
  void UndoChange(bool redo);

  const SlotSelection& Selection() const { return selection_; }

  // The slot popup as it is shown now ("URL取得" only on address pages); the caller owns it.
  win::UniqueMenu BuildPopupMenu() const;
  // The slot under a point in client coordinates, or -1.
  int SlotAtClientPoint(POINT client) const;
  // The innermost visible, enabled control under a point in client coordinates (or the window).
  HWND ControlAtClientPoint(POINT client) const;

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
  // Whether LoadAtStart reached its end (the table loaded without error).
  bool LoadedCleanly() const { return loaded_cleanly_; }
  // Takes in what another program (another PC's Quenda) wrote to the table file meanwhile.
  void TakeOtherWritersChanges();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateControls();
  void OnCommand(int id, int code, HWND control);
  void OnContextMenu(HWND source, POINT screen);
  bool RefusedBehindDialog(UINT message, WPARAM wparam);
  void KeepKeyboardForGrid();
  static LRESULT CALLBACK DetailFieldKeys(HWND field, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR, DWORD_PTR self);
  void ReturnKeyboardToGrid();
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
  // A change through this window: begun with the slot's record before, recorded once done.
  TableStep BeginSlotStep(const char* what, SlotIndex slot) const;
  void RecordStep(TableStep step);
  bool OnMoveOrUndoKey(UINT key, bool shift);
  // The main window holds the mouse from a slot button's drag until it is let go or cancelled.
  void BeginSlotDrag(SlotIndex slot);
  void CancelSlotDrag();
  bool Dragging() const { return dragged_slot_ >= 0; }
  void ShowSync(const TableFile::SyncResult& sync);
  void OnHotKey();
  // Type to find: a character typed, Backspace and Esc included.
  void OnTypedChar(wchar_t c);
  bool FindTyped();
  void ClearTyped();

  MainWindowDialogs dialogs_;
  SlotTable* table_ = nullptr;
  TableFile* file_ = nullptr;
  UndoHistory history_;  // of this run's changes
  FolderWatch folder_watch_;
  // While an editor is open another writer's change waits for its "設　定", where it is merged:
  // taken in before, it would be overwritten by the editor's entry unseen.
  bool editing_ = false;
  SlotSelection selection_;
  SlotIndex popup_slot_ = 0;  // the slot the popup was last opened for
  int dragged_slot_ = -1;     // the slot being dragged with the mouse, or -1
  int focus_slot_ = 0;
  bool focus_in_bank_ = false;
  // The focus mark shows only once a key has been used, so a mouse user never sees it.
  bool keyboard_used_ = false;
  // The button accessibility clients were last told has the focus.
  HWND focus_announced_ = nullptr;
  HWND info_line_name_ = nullptr;  // hidden label: the info line's name, told on a failed search
  bool hot_key_registered_ = false;
  std::wstring typed_;  // the text being found
  std::uint64_t typed_at_ = 0;  // milliseconds
  std::array<HWND, kSlotsPerPage> slot_buttons_{};
  win::UniqueBitmap blank_icon_;  // the blank icon image's picture
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
