#include "app/forms.h"

namespace quenda {

bool Forms::Create() {
  if (!main.Create({&prg, &url, &help})) return false;
  const HWND owner = main.hwnd();
  return prg.Create(owner, &icon_get, &folder) && icon_get.Create(owner) && folder.Create(owner) && url.Create(owner, &icon_get) &&
         help.Create(owner);
}

}  // namespace quenda
