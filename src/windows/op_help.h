#pragma once
// TOpHelp: the help dialog. It points to the home page, whose address it shows as a link.
#include "ui/layout_builder.h"
#include "ui/window.h"

namespace quenda {

class TOpHelp : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TOpHelp";
  bool Create(HWND owner);

  void SpeedButton1Click();  // closes the dialog
  void StaticText1Click();  // the link: opens the home page

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
};

}  // namespace quenda
