#include "program_entries/program_icon.h"

#include "program_entries/icon_get_form.h"
#include "win/cp932.h"
#include "win/handle.h"
#include "win/icon_bitmap.h"

namespace quenda {

ProgramIcon IconFromProgram(TPrgIconGetBox* picker, HWND owner, const std::string& path) {
  const int index = picker ? picker->IconChoice(owner, path) : 0;
  const win::UniqueIcon icon = win::FileIcon32(win::FromCp932(path), index);
  return {win::ComposeIcon(icon.get(), kIconPalette[kBlack]), bool(icon)};
}

}  // namespace quenda
