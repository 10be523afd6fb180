#include "ui/layout_builder.h"

#include <commctrl.h>

#include <optional>
#include <utility>

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

// The panel kinds' looks.
std::optional<PanelOptions> PanelLook(const LayoutRow& c) {
  switch (c.kind) {
    case ControlKind::Panel: return PanelOptions{Bevel::None, Bevel::None, 1, CLR_INVALID};
    case ControlKind::LoweredPanel: return PanelOptions{Bevel::Raised, Bevel::Lowered, 1, c.colour};
    case ControlKind::RaisedPanel: return PanelOptions{Bevel::Raised, Bevel::None, 1, CLR_INVALID};
    case ControlKind::SunkenPanel: return PanelOptions{Bevel::Lowered, Bevel::None, 1, CLR_INVALID};
    case ControlKind::ValuePanel:
      return PanelOptions{Bevel::None, Bevel::Lowered, 2, RGB(255, 255, 255)};
    default: return std::nullopt;
  }
}

HWND CreateSpeedButton(const LayoutRow& c, HWND parent, const RECT& r, Dpi dpi) {
  SpeedButtonOptions options;
  if (c.colour != 0xFFFFFFFF) options.text_colour = c.colour;
  if (c.kind == ControlKind::PageButton) {
    options.flat = true;
    options.group = 1;
    options.num_glyphs = 4;
  }
  const HWND control = SpeedButton::Create(parent, c.id, r.left, r.top, r.right - r.left,
                                           r.bottom - r.top, c.text, options, c.tag);
  if (SpeedButton* button = SpeedButton::From(control)) button->SetDpi(dpi);
  if (c.kind == ControlKind::Button) SetTabStop(control, true);  // a dialog's Tab reaches it
  if (!c.visible) ShowWindow(control, SW_HIDE);
  return control;
}

}  // namespace

HFONT FontForHeight(int pixel_height, bool underline) {
  static std::map<std::pair<int, bool>, UniqueFont> fonts;  // for the process's life
  UniqueFont& font = fonts[{pixel_height, underline}];
  if (font) return font.get();
  font = CreateUiFont(pixel_height);
  if (underline) {
    LOGFONTW lf{};
    GetObjectW(font.get(), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    font = UniqueFont(CreateFontIndirectW(&lf));
  }
  return font.get();
}

HFONT ControlFont(const LayoutRow& c, HFONT window_font, Dpi dpi) {
  const bool underline = c.kind == ControlKind::Link;
  return c.font_height == kUiFontHeight && !underline
             ? window_font
             : FontForHeight(dpi.Scale(c.font_height), underline);
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

namespace {

// The system control a plain kind of row is made of.
struct SystemControl {
  ControlKind kind;
  const wchar_t* window_class;
  DWORD style, ex_style;
};

constexpr SystemControl kSystemControls[] = {
    {ControlKind::Label, L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
    {ControlKind::Edit, L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {ControlKind::ReadOnlyEdit, L"EDIT", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {ControlKind::Memo, L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
     WS_EX_CLIENTEDGE},
    {ControlKind::ReadOnlyMemo, L"EDIT", ES_READONLY | ES_MULTILINE, WS_EX_CLIENTEDGE},
    {ControlKind::CheckBox, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {ControlKind::Image, L"STATIC", SS_BITMAP, 0},
    {ControlKind::GroupBox, L"BUTTON", BS_GROUPBOX, 0},
    // A long path keeps its start and its file name.
    {ControlKind::Link, L"STATIC", WS_TABSTOP | SS_NOTIFY | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS,
     0},
    // No TVS_LINESATROOT: no lines at the root; no TVS_EDITLABELS: nothing is renamed.
    {ControlKind::TreeView, WC_TREEVIEWW, WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES,
     WS_EX_CLIENTEDGE},
    {ControlKind::ListBox, L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
     WS_EX_CLIENTEDGE},
};

const SystemControl* SystemControlFor(ControlKind kind) {
  for (const SystemControl& made : kSystemControls) {
    if (made.kind == kind) return &made;
  }
  return nullptr;
}

}  // namespace

ControlMap BuildControls(HWND window, std::span<const LayoutRow> layout, HFONT window_font,
                         Dpi dpi, const CustomMaker& make_custom) {
  const HINSTANCE instance = ModuleInstance();
  ControlMap controls{{0, window}};
  for (const LayoutRow& c : layout) {
    const auto found = controls.find(c.parent);
    if (found == controls.end()) continue;  // on a custom control left out
    const HWND parent = found->second;
    const HFONT font = ControlFont(c, window_font, dpi);
    const RECT r = ControlRect(c, dpi, font);
    auto child = [&](const wchar_t* cls, DWORD style, DWORD ex_style = 0) {
      return CreateWindowExW(ex_style, cls, c.text, WS_CHILD | (c.visible ? WS_VISIBLE : 0) | style,
                             r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             reinterpret_cast<HMENU>(INT_PTR(c.id)), instance, nullptr);
    };
    HWND control = nullptr;
    if (const std::optional<PanelOptions> look = PanelLook(c)) {
      control = CreatePanel(parent, c.id, r, c.text, *look);
    }
    if (const SystemControl* made = SystemControlFor(c.kind)) {
      control = child(made->window_class, made->style, made->ex_style);
      if (c.kind == ControlKind::GroupBox) {
        // Behind the controls it frames.
        SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
    } else if (c.kind == ControlKind::Button || c.kind == ControlKind::PageButton) {
      control = CreateSpeedButton(c, parent, r, dpi);
    } else if (c.kind == ControlKind::Custom) {
      if (!make_custom) continue;
      control = make_custom(c, parent, r);
    }
    if (c.kind != ControlKind::Custom) {
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
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
  controls_ = BuildControls(hwnd(), layout_, font_.get(), dpi(),
                            [this](const LayoutRow& c, HWND parent, const RECT& r) {
                              return CreateCustom(c, parent, r);
                            });
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
