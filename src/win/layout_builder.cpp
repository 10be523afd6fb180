#include "win/layout_builder.h"

#include "win/cp932.h"
#include "win/font.h"
#include "win/handle.h"
#include "win/panel.h"
#include "win/speed_button.h"
#include "win/window.h"

namespace quenda::win {

namespace {

SIZE TextSize(HWND hwnd, HFONT font, const wchar_t* text) {
  WindowDC dc(hwnd);
  SelectGuard select(dc.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text, lstrlenW(text), &size);
  return size;
}

}  // namespace

HFONT FontForHeight(int pixel_height) {
  static std::map<int, UniqueFont> fonts;  // one per height for the process's life
  UniqueFont& font = fonts[pixel_height];
  if (!font) font = CreateUiFont(pixel_height);
  return font.get();
}

ControlMap BuildControls(HWND window, std::span<const ControlSpec> layout, HFONT window_font) {
  const HINSTANCE instance = ModuleInstance();
  ControlMap controls{{0, window}};
  for (const ControlSpec& c : layout) {
    if (c.kind == ControlKind::Custom) continue;  // its parent may itself be custom
    const HWND parent = controls.at(c.parent);
    const HMENU id = reinterpret_cast<HMENU>(INT_PTR(c.id));
    const DWORD visible = c.visible ? WS_VISIBLE : 0;
    const HFONT font = c.font_height == 12 ? window_font : FontForHeight(c.font_height);
    auto child = [&](const wchar_t* cls, DWORD style, DWORD ex_style = 0) {
      return CreateWindowExW(ex_style, cls, c.text, WS_CHILD | visible | style, c.x, c.y, c.width,
                             c.height, parent, id, instance, nullptr);
    };
    HWND control = nullptr;
    switch (c.kind) {
      case ControlKind::Panel:
        control = CreatePanel(parent, c.id, c.x, c.y, c.width, c.height, c.text,
                              {Bevel::None, Bevel::None, 1, CLR_INVALID});
        break;
      case ControlKind::LoweredPanel:
        control = CreatePanel(parent, c.id, c.x, c.y, c.width, c.height, c.text,
                              {Bevel::Raised, Bevel::Lowered, 1, c.colour});
        break;
      case ControlKind::RaisedPanel:
        control = CreatePanel(parent, c.id, c.x, c.y, c.width, c.height, c.text,
                              {Bevel::Raised, Bevel::None, 1, CLR_INVALID});
        break;
      case ControlKind::SunkenPanel:
        control = CreatePanel(parent, c.id, c.x, c.y, c.width, c.height, c.text,
                              {Bevel::Lowered, Bevel::None, 1, CLR_INVALID});
        break;
      case ControlKind::ValuePanel:
        control = CreatePanel(parent, c.id, c.x, c.y, c.width, c.height, c.text,
                              {Bevel::None, Bevel::Lowered, 2, RGB(255, 255, 255)});
        break;
      case ControlKind::Button:
      case ControlKind::PageButton: {
        SpeedButtonOptions options;
        if (c.colour != 0xFFFFFFFF) options.text_colour = c.colour;
        if (c.kind == ControlKind::PageButton) {
          options.flat = true;
          options.group = 1;
          options.num_glyphs = 4;
        }
        control = SpeedButton::Create(parent, c.id, c.x, c.y, c.width, c.height, c.text, options,
                                      c.tag);
        if (!c.visible) ShowWindow(control, SW_HIDE);
        break;
      }
      case ControlKind::Label: {
        const SIZE size = TextSize(window, font, c.text);
        const int w = c.width ? c.width : size.cx, h = c.height ? c.height : size.cy;
        control = CreateWindowExW(0, L"STATIC", c.text, WS_CHILD | visible | SS_LEFT | SS_NOPREFIX,
                                  c.x, c.y, w, h, parent, id, instance, nullptr);
        break;
      }
      case ControlKind::Edit:
        control = child(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
        break;
      case ControlKind::ReadOnlyEdit:
        control = child(L"EDIT", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
        break;
      case ControlKind::Memo:
        control = child(L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                        WS_EX_CLIENTEDGE);
        break;
      case ControlKind::ReadOnlyMemo:
        control = child(L"EDIT", ES_READONLY | ES_MULTILINE, WS_EX_CLIENTEDGE);
        break;
      case ControlKind::CheckBox:
        control = child(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX);
        break;
      case ControlKind::Image:
        control = child(L"STATIC", SS_BITMAP);
        break;
      case ControlKind::Custom:
        continue;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    controls[c.id] = control;
  }
  return controls;
}

HWND LayoutWindow::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

std::string LayoutWindow::Cp932Text(int id) const { return ToCp932(GetText(Control(id))); }

void LayoutWindow::SetCp932Text(int id, const std::string& cp932) {
  SetText(Control(id), FromCp932(cp932));
}

}  // namespace quenda::win
