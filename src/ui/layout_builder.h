#pragma once
// Creates a window's controls from its layout table, each a real child window with the
// layout's identifier and its caption as window text, all in the window's font, placed and
// sized for the window's DPI.
#include <windows.h>

#include <functional>
#include <map>
#include <span>
#include <string>

#include "platform/handle.h"
#include "ui/dpi.h"
#include "ui/layout_row.h"
#include "ui/window.h"

namespace quenda::win {

// Identifier to window; the window itself under 0.
using ControlMap = std::map<int, HWND>;

// Makes a custom control at its place in its parent.
using CustomMaker = std::function<HWND(const LayoutRow& c, HWND parent, const RECT& r)>;

// Without a maker, custom controls (and what lies on them) are left out.
ControlMap BuildControls(HWND window, std::span<const LayoutRow> layout, HFONT font,
                         Dpi dpi = Dpi(), const CustomMaker& make_custom = nullptr);

// Moves every control of `layout` found in `controls` to its place at `dpi` and gives those the
// layout builds their fonts at that DPI; custom controls get their place only.
void PlaceControls(const ControlMap& controls, std::span<const LayoutRow> layout, HFONT font,
                   Dpi dpi);

// Where a control lies at `dpi`, in its parent's client coordinates. A label without a size
// takes its text's size in `font`.
RECT ControlRect(const LayoutRow& c, Dpi dpi, HFONT font);

// The font of a control at `dpi`: the window's, or one of the control's own height (underlined
// for a link).
HFONT ControlFont(const LayoutRow& c, HFONT window_font, Dpi dpi);

// The font of a control whose height or underline differs from the window's, kept for the
// process's life.
HFONT FontForHeight(int pixel_height, bool underline = false);

// A window whose controls come from a layout table, found by their identifiers. It keeps them
// and their fonts scaled to its DPI.
class LayoutWindow : public Window {
 public:
  HWND Control(int id) const;
  HFONT Font() const { return font_.get(); }

 protected:
  // Creates the layout's controls at the window's DPI; the layout must outlive the window.
  void BuildLayout(std::span<const LayoutRow> layout);
  // Puts one control back to its layout place (a picture static takes its picture's size).
  void PlaceFromLayout(int id);
  // New fonts and places for the layout's controls, then for the window's own.
  void DpiChanged() final;
  // The controls the window places itself, at its new DPI, in the new Font(); the font they had
  // lives until this returns.
  virtual void PlaceOwnControls() {}
  // Makes a custom control of the layout at `r` in `parent`.
  virtual HWND CreateCustom(const LayoutRow&, HWND, const RECT&) { return nullptr; }

  std::string Cp932Text(int id) const;
  void SetCp932Text(int id, const std::string& cp932);

 private:
  ControlMap controls_;
  std::span<const LayoutRow> layout_;
  UniqueFont font_;
};

}  // namespace quenda::win
