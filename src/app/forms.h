#pragma once
// The six windows of the program: the main window made at start-up, each dialog when first
// needed (in this order when all are made at once); all kept until exit.
#include "windows/folder_chooser.h"
#include "windows/help_dialog.h"
#include "windows/icon_picker.h"
#include "windows/main_window.h"
#include "windows/program_editor.h"
#include "windows/url_editor.h"

namespace quenda {

struct Forms {
  MainWindow main;
  ProgramEditor program_editor;
  IconPicker icon_picker;
  FolderChooser folder;
  UrlEditor url_editor;
  HelpDialog help;

  // Creates the main window (its LoadAtStart loads the table) and readies the dialogs to be
  // created when first opened.
  bool Create();
  // Creates every dialog not made yet, in the order above.
  bool CreateDialogsNow();
};

}  // namespace quenda
