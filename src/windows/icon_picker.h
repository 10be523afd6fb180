#pragma once
// IconPicker: the icon picker, a modal dialog in which the user clicks one of the icons a
// program or library file holds. Both entry editors run the icon choice through it.
#include <windows.h>

#include <string>

#include "platform/handle.h"
#include "ui/layout_builder.h"
#include "ui/window.h"

namespace quenda {

// The number of icons a file (CP932 path) holds, as ExtractIcon counts them.
int IconCount(const std::string& path);

class IconPicker : public win::LayoutWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TPrgIconGetBox";
  static constexpr int kCell = 32;  // an icon's cell in the strip at 96 DPI

  bool Create(HWND owner);

  // The icon choice on a file (CP932 path): empties the strip; for two or more icons fills it
  // and shows the picker modally over `owner`, then gives SelectedIcon, or 0 when that is no
  // icon of this file; otherwise gives 0.
  int IconChoice(HWND owner, const std::string& path);

  // The index of the icon cell last clicked, and of the cell last under the mouse; both live as
  // long as the picker and are never reset, so a picker closed without a click repeats the
  // previous choice.
  int SelectedIcon() const { return selected_icon_; }
  int HoverIcon() const { return hover_icon_; }

  // Steps of the icon choice.
  void EmptyStrip();
  // The strip `count` cells wide, icon i of the file drawn in cell i.
  void DrawStrip(const std::string& path, int count);

  // x in the strip's coordinates.
  void HoverStrip(int x);  // notes the icon under the mouse
  void ChooseHoveredIcon();  // and previews it
  void ChooseIcon(int index);  // and previews it
  // The cell the keyboard is on, marked while the strip has the focus; kept inside the strip
  // and scrolled into view.
  int KeyIcon() const { return key_icon_; }
  void MoveKeyIcon(int index);
  void Confirm();  // "OK"

  // The strip's picture: one 32 x 32 cell per icon, null while the strip is empty.
  HBITMAP StripBitmap() const { return strip_.get(); }
  HBITMAP PreviewBitmap() const { return preview_.get(); }  // null until the first click
  // A cell of the strip on the screen: kCell scaled to the window's DPI.
  int Cell() const { return dpi().Scale(kCell); }
  // Paints the strip control: each icon at its whole-multiple size, centred in its cell.
  void PaintStrip(HDC dc) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Opening() override { win::CentreOnDesktop(hwnd()); }
  void PlaceOwnControls() override;
  HWND CreateCustom(const LayoutRow& c, HWND parent, const RECT& r) override;

 private:
  void SizeStrip();
  void ShowPreview();

  win::UniqueBitmap strip_;    // the icons at 96 DPI, kCell apart
  win::UniqueBitmap preview_;  // the picked icon at 96 DPI
  win::UniqueBitmap shown_preview_;  // the preview scaled to a cell, as shown
  int selected_icon_ = 0;
  int hover_icon_ = 0;
  int key_icon_ = 0;
};

}  // namespace quenda
