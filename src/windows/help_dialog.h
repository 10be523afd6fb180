#pragma once
// HelpDialog: the help dialog. It points to the home page, whose address it shows as a link.
#include <string>

#include "platform/handle.h"
#include "resources/help_dialog_layout.h"
#include "ui/layout_builder.h"
#include "ui/window.h"

namespace quenda {

// What the link opens: `page` beside the program when it names a file there that exists, else
// `address` when one is set, else that file all the same, so that opening it says it is missing.
// A page that is an address or a full path is taken as it is.
std::wstring HomePageTarget(const std::wstring& page, const std::wstring& address,
                            const std::wstring& program_folder);

class HelpDialog : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TOpHelp";
  explicit HelpDialog(std::wstring page = kHomePage, std::wstring address = kHomePageAddress)
      : page_(std::move(page)), address_(std::move(address)) {}
  bool Create(HWND owner);

  void Dismiss();  // "OK"
  void OpenHomePage();  // the link

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Opening() override { ShowHomePage(); }
  void Paint(HDC dc) override;
  void FocusMarksChanged() override;

 private:
  // The manual may come or go while the program runs: looked for at each showing.
  void ShowHomePage();

  std::wstring page_, address_, target_;
};

}  // namespace quenda
