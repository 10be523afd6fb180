#include "windows/program_icon.h"

#include "platform/cp932.h"
#include "platform/handle.h"
#include "platform/icon_bitmap.h"
#include "windows/icon_picker.h"

namespace quenda {

ProgramIcon IconFromProgram(IconPicker* picker, HWND owner, const std::string& path) {
  const int index = picker ? picker->IconChoice(owner, path) : 0;
  const win::UniqueIcon icon = win::FileIcon32(win::FromCp932(path), index);
  return {win::ComposeIcon(icon.get(), kIconPalette[kBlack]), bool(icon)};
}

}  // namespace quenda
