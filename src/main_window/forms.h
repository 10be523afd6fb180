#pragma once
// The six windows of the program, created once at start-up in this order and kept until exit.
#include "main_window/main_crt.h"
#include "program_entries/folder_form.h"
#include "program_entries/icon_get_form.h"
#include "program_entries/prg_edit.h"
#include "url_entries/help.h"
#include "url_entries/url_edit.h"

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
