#pragma once
// The seven windows of the program: the main window made at start-up, each dialog when first
// needed (in this order when all are made at once); all kept until exit.
#include <memory>
#include <string>

#include "core/slot_table.h"
#include "core/table_file.h"
#include "windows/backup_chooser.h"
#include "windows/folder_chooser.h"
#include "windows/help_dialog.h"
#include "windows/icon_picker.h"
#include "windows/main_window.h"
#include "windows/program_editor.h"
#include "windows/url_editor.h"

namespace quenda {

struct Forms {
  // What the windows show and where it is kept; the main window works on these.
  SlotTable table;
  std::unique_ptr<TableFile> file;
  MainWindow main;
  ProgramEditor program_editor;
  IconPicker icon_picker;
  FolderChooser folder;
  UrlEditor url_editor;
  HelpDialog help;
  BackupChooser backups;

  // Creates the main window on the table file in `table_folder` (its LoadAtStart loads the
  // table; `machine` names this PC in the file) and readies the dialogs to be created when first
  // opened.
  bool Create(const PathText& table_folder, TableStorage& storage, const std::string& machine);
  // Creates every dialog not made yet, in the order above.
  bool CreateDialogsNow();
};

}  // namespace quenda
