#pragma once
// Window layouts as tables of controls: kind, name, identifier, parent, rectangle and text, in
// the order they are created. Positions are client pixels at 96 DPI relative to the parent.
#include <span>

namespace quenda {

enum class ControlKind {
  Panel,         // no bevel
  LoweredPanel,  // raised outer, lowered inner bevel
  RaisedPanel,   // raised bevel: a frame around other controls
  SunkenPanel,   // lowered bevel
  ValuePanel,    // white, lowered inner bevel of width 2: shows a value as its caption
  Button,        // speed button
  PageButton,    // grouped flat speed button with the page glyph strip
  Label,         // sized to its text
  Edit,          // single-line edit
  ReadOnlyEdit,
  Memo,          // multi-line edit
  ReadOnlyMemo,
  CheckBox,
  Image,         // a bitmap picture
  GroupBox,      // a captioned frame, behind the controls it frames
  Link,          // blue underlined text that reports clicks (STN_CLICKED)
  TreeView,      // with buttons and lines, but none at the root
  ListBox,       // one line chosen; reports double clicks (LBN_DBLCLK)
  Custom,        // of the window's own kind: the window makes it where the layout says
};

// The windows' font height in pixels at 96 DPI; a control may name another.
inline constexpr int kUiFontHeight = 12;

// Button text colours the layouts use (COLORREF: 0x00BBGGRR).
inline constexpr unsigned kMaroonText = 0x000080;
inline constexpr unsigned kBlueText = 0xFF0000;

// A window's size at 96 DPI, stated once, in its layout: the client area of a fixed window, the
// outer size of one the user can size.
struct WindowSize {
  int width, height;
  bool outer = false;
};

struct LayoutRow {
  ControlKind kind;
  const wchar_t* name;
  int id;
  int parent;  // 0: the window itself
  int x, y, width, height;  // a label's size follows its text
  const wchar_t* text;
  int tag = 0;
  bool visible = true;
  unsigned colour = 0xFFFFFFFF;  // a button's text colour (COLORREF); unset: the system's
  int font_height = kUiFontHeight;
};

// A speed button whose text colour says what it does: blue confirms, maroon clears or fetches.
constexpr LayoutRow ColouredButton(const wchar_t* name, int id, int parent, int x, int y,
                                   int width, int height, const wchar_t* text, unsigned colour) {
  return {ControlKind::Button, name, id, parent, x, y, width, height, text, 0, true, colour};
}

}  // namespace quenda
