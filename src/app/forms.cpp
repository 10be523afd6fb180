#include "app/forms.h"

namespace quenda {

bool Forms::Create(const PathText& table_folder, TableStorage& storage, const std::string& machine) {
  file = std::make_unique<TableFile>(table_folder, storage, machine);
  if (!main.Create({&prg, &url, &help}, table, *file)) return false;
  const HWND owner = main.hwnd();
  // The dialogs cost more to make than the main window; each is made when first opened.
  prg.CreateWhenNeeded([this, owner] { return prg.Create(owner, &icon_get, &folder); });
  icon_get.CreateWhenNeeded([this, owner] { return icon_get.Create(owner); });
  folder.CreateWhenNeeded([this, owner] { return folder.Create(owner); });
  url.CreateWhenNeeded([this, owner] { return url.Create(owner, &icon_get); });
  help.CreateWhenNeeded([this, owner] { return help.Create(owner); });
  return true;
}

bool Forms::CreateDialogsNow() {
  bool all = true;
  for (win::Window* dialog : std::initializer_list<win::Window*>{&prg, &icon_get, &folder, &url, &help}) {
    all = dialog->EnsureCreated() && all;
  }
  return all;
}

}  // namespace quenda
