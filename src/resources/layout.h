#pragma once
// Window layouts as tables of controls: kind, name, identifier, parent, rectangle and text, in
// the order they are created. Positions are client pixels at 96 DPI relative to the parent.
#include <span>

namespace quenda {

enum class ControlKind { Panel, LoweredPanel, ValuePanel, Button, PageButton, Label, Edit,
                         Memo, Image };

struct ControlSpec {
  ControlKind kind;
  const wchar_t* name;
  int id;
  int parent;  // 0: the window itself
  int x, y, width, height;  // a label's size follows its text
  const wchar_t* text;
  int tag = 0;
  bool visible = true;
};

}  // namespace quenda
