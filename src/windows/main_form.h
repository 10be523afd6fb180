#pragma once
// TMainForm: the launcher's main window. One page of 25 slot buttons, the page bank, the info
// display of the slot under the mouse, the slot popup menu, and files dropped on program pages.
#include <windows.h>

#include <array>
#include <map>
#include <string>

#include "platform/handle.h"
#include "ui/layout_builder.h"
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

class TMainForm : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TMainForm";
  static constexpr int kClientWidth = 366;
  static constexpr int kClientHeight = 362;

  // Creates the window and its controls and runs FormCreate; `dialogs` are the ones it opens.
  bool Create(const MainFormDialogs& dialogs);

  // Handlers, named as the launcher's behaviour names them.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void Exit1Click();
  void N3Click();
  void SpeedButton1Click(HWND page_button);
  void pr_KeyMssgDisp();
  void pr_KeyDisp(unsigned slot);
  void TblDisp();
  void BoxClr();
  void SpeedButton18MouseMove(HWND slot_button);
  void Panel4MouseMove();
  void FormMouseMove();
  void N2Click();
  void URL1Click();
  void SpeedButton18Click(HWND slot_button);
  bool AscUp();
  void pr_Drag(int accept);
  void ReceiveDropFiles(HDROP drop);

  // The slot popup as it is shown now ("URL取得" only on address pages); the caller owns it.
  win::UniqueMenu BuildPopupMenu() const;
  // The slot under a point in client coordinates, or -1.
  int SlotAtClientPoint(POINT client) const;

  HWND SlotButton(int slot) const { return slot_buttons_[slot]; }
  HWND PageButtonByTag(int tag) const;
  bool UrlItemVisible() const { return url_item_visible_; }
  bool AcceptsDrops() const { return accepts_drops_; }
  // Whether FormCreate reached its end (the table loaded without error).
  bool LoadedCleanly() const { return loaded_cleanly_; }

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

  MainFormDialogs dialogs_;
  std::array<HWND, 25> slot_buttons_{};
  win::UniqueBitmap blank_icon_;  // IconClr_Imag's picture
  bool shown_ = false;
  bool loaded_cleanly_ = false;
  bool url_item_visible_ = true;
  bool accepts_drops_ = false;
  // Set once a log-off or shut-down has tried to save, so repeated queries do not save again.
  bool saved_for_session_end_ = false;
};

}  // namespace quenda
