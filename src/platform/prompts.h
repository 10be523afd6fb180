#pragma once
// What the program shows through the system: the application title, message boxes (behind a
// seam tests replace) and the error box every failing handler ends in.
#include <windows.h>

#include <string>

#include "core/errors.h"

namespace quenda {

// Message boxes go through this seam; tests install one that records and answers.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual int Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                         UINT type);
};
Prompts& CurrentPrompts();
void SetPrompts(Prompts* prompts);  // not owned; nullptr restores the system's

// The program file's name without folder, cut at its first ".", all but the first character in
// lower case ("QUENDA.EXE" gives "Quenda").
std::wstring ApplicationTitle();
// The running program's full path.
std::wstring ProgramPath();
// The folder Quenda.exe is in, without a final separator.
std::wstring ProgramFolder();
std::wstring ApplicationTitleFrom(const std::wstring& module_path);

// The error's full text as the user sees it, the path kept in UTF-16.
std::wstring ErrorTextW(const Error& error);

// Error icon, the application title as caption, the text and then "." when its last character
// sorts after ".".
void ShowErrorBox(HWND owner, const Error& error);
// The same box with the text as it is.
void ShowErrorText(HWND owner, const std::wstring& text);

}  // namespace quenda
