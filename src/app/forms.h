#pragma once
// The six windows of the program, created once at start-up in this order and kept until exit.
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

  // Creates the windows in order; the main window's FormCreate runs before the next one.
  bool Create();
};

}  // namespace quenda
