#pragma once
// The icon both entry editors take from a program file: the icon choice (the picker shows when
// the file holds several), then that icon drawn at (0,0) on the black blank, with no fill.
#include <windows.h>

#include <string>

#include "core/slot_icon.h"

namespace quenda {

class IconPicker;

struct ProgramIcon {
  Picture picture;     // the black blank with the icon on it
  bool found = false;  // false: the file gave no icon at the chosen index
};

ProgramIcon IconFromProgram(IconPicker* picker, HWND owner, const std::string& path);

}  // namespace quenda
