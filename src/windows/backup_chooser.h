#pragma once
// BackupChooser: lists the table's backups, newest first, and gives back the one chosen.
#include <optional>
#include <string>
#include <vector>

#include "ui/layout_builder.h"
#include "ui/window.h"

namespace quenda {

class BackupChooser : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TBackupForm";
  bool Create(HWND owner);

  // Shows `lines`, one a backup, modally over `owner`: the index of the one chosen by "戻す",
  // Enter or a double click, or nothing.
  std::optional<std::size_t> ChooseBackup(HWND owner, const std::vector<std::wstring>& lines);

  void Confirm();  // "戻す": the selected line, if any
  void Cancel();   // "ｷｬﾝｾﾙ"

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  std::optional<std::size_t> chosen_;
};

}  // namespace quenda
