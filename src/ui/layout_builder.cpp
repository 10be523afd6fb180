#include "ui/layout_builder.h"

#include "platform/cp932.h"
#include "platform/handle.h"
#include "ui/dpi.h"
#include "ui/font.h"
#include "ui/panel.h"
#include "ui/speed_button.h"
#include "ui/window.h"

namespace quenda::win {

namespace {

SIZE TextSize(HFONT font, const wchar_t* text) {
  WindowDC dc(nullptr);
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

HFONT ControlFont(const LayoutRow& c, HFONT window_font, Dpi dpi) {
  return c.font_height == kUiFontHeight ? window_font : FontForHeight(dpi.Scale(c.font_height));
}

RECT ControlRect(const LayoutRow& c, Dpi dpi, HFONT font) {
  RECT r = dpi.Scale(c.x, c.y, c.width, c.height);
  if (c.kind == ControlKind::Label) {
    // Measured in the scaled font rather than scaled: text does not grow in proportion.
    const SIZE text = TextSize(font, c.text);
    if (!c.width) r.right = r.left + text.cx;
    if (!c.height) r.bottom = r.top + text.cy;
  }
  return r;
}

ControlMap BuildControls(HWND window, std::span<const LayoutRow> layout, HFONT window_font,
                         Dpi dpi) {
  const HINSTANCE instance = ModuleInstance();
  ControlMap controls{{0, window}};
  for (const LayoutRow& c : layout) {
    if (c.kind == ControlKind::Custom) continue;  // its parent may itself be custom
    const HWND parent = controls.at(c.parent);
    const HMENU id = reinterpret_cast<HMENU>(INT_PTR(c.id));
    const DWORD visible = c.visible ? WS_VISIBLE : 0;
    const HFONT font = ControlFont(c, window_font, dpi);
    const RECT r = ControlRect(c, dpi, font);
    const int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    auto child = [&](const wchar_t* cls, DWORD style, DWORD ex_style = 0) {
      return CreateWindowExW(ex_style, cls, c.text, WS_CHILD | visible | style, x, y, w, h,
                             parent, id, instance, nullptr);
    };
    HWND control = nullptr;
    switch (c.kind) {
      case ControlKind::Panel:
        control = CreatePanel(parent, c.id, x, y, w, h, c.text,
                              {Bevel::None, Bevel::None, 1, CLR_INVALID});
        break;
      case ControlKind::LoweredPanel:
        control = CreatePanel(parent, c.id, x, y, w, h, c.text,
                              {Bevel::Raised, Bevel::Lowered, 1, c.colour});
        break;
      case ControlKind::RaisedPanel:
        control = CreatePanel(parent, c.id, x, y, w, h, c.text,
                              {Bevel::Raised, Bevel::None, 1, CLR_INVALID});
        break;
      case ControlKind::SunkenPanel:
        control = CreatePanel(parent, c.id, x, y, w, h, c.text,
                              {Bevel::Lowered, Bevel::None, 1, CLR_INVALID});
        break;
      case ControlKind::ValuePanel:
        control = CreatePanel(parent, c.id, x, y, w, h, c.text,
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
        control = SpeedButton::Create(parent, c.id, x, y, w, h, c.text, options, c.tag);
        if (SpeedButton* button = SpeedButton::From(control)) button->SetDpi(dpi);
        if (!c.visible) ShowWindow(control, SW_HIDE);
        break;
      }
      case ControlKind::Label:
        control = child(L"STATIC", SS_LEFT | SS_NOPREFIX);
        break;
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

void PlaceControls(const ControlMap& controls, std::span<const LayoutRow> layout,
                   HFONT window_font, Dpi dpi) {
  for (const LayoutRow& c : layout) {
    const auto found = controls.find(c.id);
    if (found == controls.end() || !found->second) continue;
    const HWND control = found->second;
    const HFONT font = ControlFont(c, window_font, dpi);
    if (c.kind != ControlKind::Custom) {
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      if (SpeedButton* button = SpeedButton::From(control)) button->SetDpi(dpi);
    }
    const RECT r = ControlRect(c, dpi, font);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(control, nullptr, TRUE);
  }
}

HWND LayoutWindow::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void LayoutWindow::BuildLayout(std::span<const LayoutRow> layout) {
  layout_ = layout;
  font_ = CreateUiFont(dpi().Scale(kUiFontHeight));
  controls_ = BuildControls(hwnd(), layout_, font_.get(), dpi());
}

void LayoutWindow::PlaceFromLayout(int id) {
  for (const LayoutRow& c : layout_) {
    if (c.id != id) continue;
    const RECT r = ControlRect(c, dpi(), ControlFont(c, font_.get(), dpi()));
    SetWindowPos(Control(id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void LayoutWindow::DpiChanged() {
  // The old font stays alive until every control has let go of it.
  UniqueFont old = std::move(font_);
  font_ = CreateUiFont(dpi().Scale(kUiFontHeight));
  PlaceControls(controls_, layout_, font_.get(), dpi());
  PlaceOwnControls();
}

std::string LayoutWindow::Cp932Text(int id) const { return ToCp932(GetText(Control(id))); }

void LayoutWindow::SetCp932Text(int id, const std::string& cp932) {
  SetText(Control(id), FromCp932(cp932));
}

}  // namespace quenda::win
