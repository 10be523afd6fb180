#pragma once
// The six windows of the program: the main window made at start-up, each dialog when first
// needed (in this order when all are made at once); all kept until exit.
#include <memory>
#include <string>

#include "core/slot_table.h"
#include "core/table_file.h"
#include "windows/get_folder.h"
#include "windows/key_in_url.h"
#include "windows/main_form.h"
#include "windows/op_help.h"
#include "windows/prg_form.h"
#include "windows/prg_icon_get_box.h"

namespace quenda {

struct Forms {
  // What the windows show and where it is kept; the main window works on these.
  SlotTable table;
  std::unique_ptr<TableFile> file;
  TMainForm main;
  TPrgForm prg;
  TPrgIconGetBox icon_get;
  TGetFolder folder;
  TKeyIn_URL url;
  TOpHelp help;

  // Creates the main window on the table file in `table_folder` (its FormCreate loads the table;
  // `machine` names this PC in the file) and readies the dialogs to be created when first opened.
  bool Create(const PathText& table_folder, TableStorage& storage, const std::string& machine);
  // Creates every dialog not made yet, in the order above.
  bool CreateDialogsNow();
};

}  // namespace quenda
