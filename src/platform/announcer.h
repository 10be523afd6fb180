#pragma once
// Spoken notices for a screen reader through UI Automation, behind a seam tests replace.
#include <windows.h>

#include <string>

namespace quenda {

// Tells a screen reader what changed where no focus moved. This one raises a UI Automation
// notification (Windows 10 1709 on) and does nothing where the system has none.
class Announcer {
 public:
  virtual ~Announcer() = default;
  // `text` from `window`; a newer notice of the same `activity` replaces one not yet read.
  virtual void Announce(HWND window, const std::wstring& text, const wchar_t* activity);
};
Announcer& CurrentAnnouncer();
void SetAnnouncer(Announcer* announcer);  // not owned; nullptr restores the system's

}  // namespace quenda
