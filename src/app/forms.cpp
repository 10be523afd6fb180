#include "app/forms.h"

namespace quenda {

bool Forms::Create(const PathText& table_folder, TableStorage& storage,
                   const std::string& machine) {
  file = std::make_unique<TableFile>(table_folder, storage, machine);
  if (!main.Create({&program_editor, &url_editor, &help, &backups}, table, *file)) return false;
  const HWND owner = main.hwnd();
  // The dialogs cost more to make than the main window; each is made when first opened.
  program_editor.CreateWhenNeeded(
      [this, owner] { return program_editor.Create(owner, &icon_picker, &folder); });
  icon_picker.CreateWhenNeeded([this, owner] { return icon_picker.Create(owner); });
  folder.CreateWhenNeeded([this, owner] { return folder.Create(owner); });
  url_editor.CreateWhenNeeded([this, owner] { return url_editor.Create(owner, &icon_picker); });
  help.CreateWhenNeeded([this, owner] { return help.Create(owner); });
  backups.CreateWhenNeeded([this, owner] { return backups.Create(owner); });
  return true;
}

bool Forms::CreateDialogsNow() {
  bool all = true;
  for (win::Window* dialog : std::initializer_list<win::Window*>{
           &program_editor, &icon_picker, &folder, &url_editor, &help, &backups}) {
    all = dialog->EnsureCreated() && all;
  }
  return all;
}

}  // namespace quenda
