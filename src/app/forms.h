#pragma once
// The six windows of the program: the main window made at start-up, each dialog when first
// needed (in this order when all are made at once); all kept until exit.
#include "windows/get_folder.h"
#include "windows/key_in_url.h"
#include "windows/main_form.h"
#include "windows/op_help.h"
#include "windows/prg_form.h"
#include "windows/prg_icon_get_box.h"

namespace quenda {

struct Forms {
  TMainForm main;
  TPrgForm prg;
  TPrgIconGetBox icon_get;
  TGetFolder folder;
  TKeyIn_URL url;
  TOpHelp help;

  // Creates the main window (its FormCreate loads the table) and readies the dialogs to be
  // created when first opened.
  bool Create();
  // Creates every dialog not made yet, in the order above.
  bool CreateDialogsNow();
};

}  // namespace quenda
