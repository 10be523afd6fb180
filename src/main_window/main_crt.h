#pragma once
// TMainForm: the launcher's main window. It owns the start-up of the table (FormCreate), saves
// it on every close request and hands the menu commands on.
#include <windows.h>

#include "win/handle.h"
#include "win/window.h"

namespace quenda {

struct Forms;

class TMainForm : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TMainForm";
  static constexpr int kClientWidth = 366;
  static constexpr int kClientHeight = 362;

  // Creates the window and runs FormCreate; `forms` gives the dialogs the menus open.
  bool Create(Forms* forms);

  // Handlers, named as the launcher's behaviour names them.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void Exit1Click();
  void N3Click();

  // Whether FormCreate reached its end (the table loaded without error).
  bool LoadedCleanly() const { return loaded_cleanly_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  LRESULT OnQueryEndSession();
  void OnEndSession(bool ending);

  Forms* forms_ = nullptr;
  win::UniqueFont font_;
  bool shown_ = false;
  bool loaded_cleanly_ = false;
  // Set once a log-off or shut-down has saved, so repeated queries do not save again.
  bool saved_for_session_end_ = false;
};

}  // namespace quenda
