#include "windows/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "core/access_stats.h"
#include "core/capture.h"
#include "core/drop_entry.h"
#include "core/find_text.h"
#include "core/hot_key.h"
#include "core/table_backups.h"
#include "core/table_file.h"
#include "core/text_rules.h"
#include "platform/announcer.h"
#include "platform/cp932.h"
#include "platform/full_text_win.h"
#include "platform/icon_bitmap.h"
#include "platform/ini_file.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/shell_file_icon.h"
#include "resources/main_window_layout.h"
#include "resources/resource_ids.h"
#include "ui/layout_builder.h"
#include "ui/panel.h"
#include "ui/speed_button.h"
#include "windows/backup_chooser.h"
#include "windows/help_dialog.h"
#include "windows/program_editor.h"
#include "windows/url_editor.h"

namespace quenda {

namespace {

win::UniqueBitmap PageGlyph() {
  return win::UniqueBitmap(static_cast<HBITMAP>(LoadImageW(
      win::ModuleInstance(), MAKEINTRESOURCEW(IDB_PAGE_GLYPH), IMAGE_BITMAP, 0, 0,
      LR_CREATEDIBSECTION)));
}

constexpr int kActivationHotKeyId = 1;
// Posted by the folder watch when a file in the table's folder changed.
constexpr UINT kTableFolderChanged = WM_APP + 1;

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// The pointer while a slot is dragged.
void ShowMoveCursor() { SetCursor(LoadCursorW(nullptr, IDC_SIZEALL)); }

constexpr UINT_PTR kTypedTimerId = 1;

// The last part of a path as the shell spells it.
std::wstring_view FileNameOf(std::wstring_view path) {
  const std::size_t at = path.find_last_of(L"\\:/");
  return at == std::wstring_view::npos ? path : path.substr(at + 1);
}

std::u16string AsU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// A slot shows its icon, or else its title.
bool ShowsIcon(const SlotTable& table, PageIndex page, unsigned slot) {
  return GetSlotField(table, Flag1, page, int(slot)) == "0";
}

}  // namespace

bool MainWindow::Create(const MainWindowDialogs& dialogs, SlotTable& table, TableFile& file) {
  dialogs_ = dialogs;
  table_ = &table;
  file_ = &file;
  RegisterClassOnce(kClassName, 0, LoadIconW(win::ModuleInstance(), MAKEINTRESOURCEW(IDI_QUENDA)));
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  HMENU menu = LoadMenuW(win::ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINMENU));
  if (!CreateTopLevel(kClassName, L"Quenda", style, 0, kMainWindowSize, nullptr, menu)) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  CreateControls();
  KeepKeyboardForGrid();
  LoadAtStart();
  RegisterActivationKey();
  folder_watch_.Start(file_->Folder(), hwnd(), kTableFolderChanged);
  return true;
}

void MainWindow::CreateControls() {
  BuildLayout(MainWindowLayout());
  std::wstring label;  // each page button follows its label in the layout
  for (const LayoutRow& c : MainWindowLayout()) {
    win::SpeedButton* button = win::SpeedButton::From(Control(c.id));
    if (c.kind == ControlKind::Label) label = c.text;
    if (c.kind == ControlKind::Button) {
      slot_buttons_[c.tag] = Control(c.id);
      button->SetDraggable(true);
      button->SetAccessibleText(
          [this, slot = unsigned(c.tag)] { return SlotAccessibleText(slot); });
    }
    if (c.kind == ControlKind::PageButton) {
      button->SetGlyph(PageGlyph());
      // Its place among the pages the keys step through; a hidden page has none.
      const auto* at = std::find(std::begin(kKeyPageTags), std::end(kKeyPageTags), c.tag);
      const std::wstring place =
          at == std::end(kKeyPageTags)
              ? L""
              : std::to_wstring(at - std::begin(kKeyPageTags) + 1) + L"/" +
                    std::to_wstring(kKeyPages);
      button->SetAccessibleText(
          [label, place] { return win::SpeedButton::AccessibleText{label, place, true}; });
    }
  }
  info_line_name_ = win::NameField(Control(main_ids::InfoLine), L"");
  blank_icon_ = win::BitmapFromIcon(BlankIcon());
  const HWND blank = Control(main_ids::BlankIconImage);
  win::SetStaticBitmap(blank, blank_icon_.get(), nullptr);
  // A bitmap static takes its picture's size; the layout's size holds.
  PlaceFromLayout(main_ids::BlankIconImage);
}

HWND MainWindow::PageButtonByTag(int tag) const {
  for (const LayoutRow& c : MainWindowLayout()) {
    if (c.kind == ControlKind::PageButton && c.tag == tag) return Control(c.id);
  }
  return nullptr;
}

void MainWindow::LoadAtStart() {
  selection_.page = 0;
  selection_.slot = 0;
  loaded_cleanly_ = false;
  if (MaybeError error = file_->Load(*table_)) {
    ShowErrorBox(hwnd(), *error);
    return;
  }
  win::SpeedButton::From(Control(main_ids::ButtonId(1)))->SetDown(true);
  loaded_cleanly_ = true;
}

void MainWindow::ShowFirstPage() { ShowPage(); }

bool MainWindow::SaveBeforeClose() {
  MaybeError error = file_->Save(*table_);
  if (!error) return true;
  ShowErrorBox(hwnd(), *error);
  // A table that cannot be saved must not keep the user from leaving; the files stay as they are.
  // No is the default: an Enter too many after the error box loses nothing.
  return CurrentPrompts().Show(hwnd(), L"保存せずに終了しますか？", L"確認",
                               MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void MainWindow::CloseFromMenu() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void MainWindow::ShowHelp() {
  if (dialogs_.help) dialogs_.help->ShowModal(hwnd());
}

void MainWindow::RestoreFromBackup() {
  if (!dialogs_.backups) return;
  const std::vector<TableBackup> backups = ListBackups(file_->Storage(), file_->BackupFolder());
  std::vector<std::wstring> lines;
  for (const TableBackup& backup : backups) {
    SlotTable read;
    (void)file_->ReadBackup(backup.path, read);  // a damaged one counts what could be read
    lines.push_back(win::FromCp932(BackupLine(backup, FilledSlots(read))));
  }
  const std::optional<std::size_t> chosen = dialogs_.backups->ChooseBackup(hwnd(), lines);
  if (!chosen || !hwnd()) return;
  SlotTable backup;
  if (MaybeError error = file_->ReadBackup(backups[*chosen].path, backup)) {
    ShowErrorBox(hwnd(), *error);
    return;
  }
  history_.Record(RestoreTable(*table_, backup));
  ShowPage();
  SaveTable();
  win::SetText(Control(main_ids::InfoLine),
               L"バックアップから戻しました: " + win::FromCp932(BackupDate(backups[*chosen])));
}

void MainWindow::OpenPage(HWND page_button) {
  AcceptDrops(false);
  selection_.tag = win::SpeedButton::From(page_button)->Tag();
  selection_.page = PageFromTag(selection_.tag);
  const PageKind kind = KindOfPage(selection_.tag);
  if (kind == PageKind::Program) {
    url_item_visible_ = false;
    ShowPage();
    AcceptDrops(true);
  } else if (kind == PageKind::Address) {
    url_item_visible_ = true;
    ShowPage();
  }
}

void MainWindow::ShowPage() {
  // Setting a button only marks it for drawing, so all are drawn together at the end. (Turning
  // the grid's drawing off and on around this cost a quarter of a page switch under Wine.)
  const HWND grid = Control(main_ids::SlotGrid);
  for (unsigned slot = 0; slot < kSlotsPerPage; ++slot) ShowSlot(slot);
  RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MainWindow::ShowSlot(unsigned slot) {
  const HWND button = slot_buttons_[slot];
  win::SpeedButton* b = win::SpeedButton::From(button);
  const PageIndex page = selection_.page;
  const bool icon = ShowsIcon(*table_, page, slot);
  b->SetGlyph(icon ? SlotGlyph(page, slot) : nullptr);
  const std::wstring caption =
      icon ? std::wstring() : FirstColumns(SlotFieldWide(*table_, Title, page, int(slot)), 12);
  // Setting the same text again would only draw the button again.
  if (win::GetText(button) != caption) win::SetText(button, caption);
}

std::shared_ptr<const win::Glyph> MainWindow::SlotGlyph(PageIndex page, unsigned slot) {
  const IconBitmap& icon = table_->At(page, int(slot)).icon;
  CachedGlyph& cached = glyphs_[page * kSlotsPerPage + int(slot)];
  if (!cached.glyph || cached.icon != icon) {
    cached.icon = icon;
    cached.glyph = win::MakeGlyph(win::BitmapFromIcon(icon).get());
  }
  return cached.glyph;
}

// As the button shows it: the title, or for an icon the name; the description tells the page
// and the place on it ("D1 4/25"), then the target.
win::SpeedButton::AccessibleText MainWindow::SlotAccessibleText(unsigned slot) const {
  const PageIndex page = selection_.page;
  std::wstring name =
      SlotFieldWide(*table_, ShowsIcon(*table_, page, slot) ? DisplayName : Title, page, int(slot));
  const std::wstring target = SlotFieldWide(*table_, Target, page, int(slot));
  if (name.empty()) name = target.empty() ? L"空き" : target;
  std::wstring where =
      win::SpeedButton::From(PageButtonByTag(selection_.tag))->AccessibleTextNow().name + L" " +
      std::to_wstring(slot + 1) + L"/" + std::to_wstring(kSlotsPerPage);
  if (!target.empty()) where += L" " + target;
  return {std::move(name), std::move(where), true};
}

void MainWindow::ShowSlotDetails() {
  const PageIndex page = selection_.page;
  const SlotIndex slot = selection_.slot;
  win::SetText(Control(main_ids::InfoLine), SlotFieldWide(*table_, DisplayName, page, slot));
  win::SetText(Control(main_ids::AccessCountPanel),
               SlotFieldWide(*table_, AccessCount, page, slot));
  win::SetText(Control(main_ids::LastAccessPanel), SlotFieldWide(*table_, LastAccess, page, slot));
  win::SetText(Control(main_ids::MemoBox), SlotFieldWide(*table_, Memo, page, slot));
}

void MainWindow::ClearDetails() {
  for (int id : {main_ids::InfoLine, main_ids::AccessCountPanel, main_ids::LastAccessPanel,
                 main_ids::MemoBox}) {
    if (!win::GetText(Control(id)).empty()) win::SetText(Control(id), L"");
  }
}

void MainWindow::HoverSlot(HWND slot_button) {
  selection_.slot = win::SpeedButton::From(slot_button)->Tag();
  ShowSlotDetails();
}

void MainWindow::HoverGrid() { ClearDetails(); }

void MainWindow::HoverBesideGrid() { ClearDetails(); }

void MainWindow::EditSlot(SlotIndex slot) {
  const PageIndex page = selection_.page;
  const PageKind kind = KindOfPage(selection_.tag);
  if (kind != PageKind::Hidden) {
    std::optional<SlotEntry> edited;
    TableStep step = BeginSlotStep(step_name::kEdit, slot);
    editing_ = true;
    if (kind == PageKind::Program && dialogs_.program_editor) {
      edited = dialogs_.program_editor->Edit(hwnd(), SlotEditAt(*table_, page, slot));
    }
    if (kind == PageKind::Address && dialogs_.url_editor) {
      edited = dialogs_.url_editor->Edit(hwnd(), SlotEditAt(*table_, page, slot));
    }
    editing_ = false;
    if (!hwnd()) return;  // the session ended while the editor was open; it saved the table
    if (edited) StoreSlotEntry(*table_, page, slot, *edited);
    if (!edited) step.what = step_name::kClear;  // only the editor's クリヤー can have changed it
    RecordStep(std::move(step));
    ShowPage();
  }
  // Saved whatever the editor did, cancelled included.
  SaveTable();
}

void MainWindow::CaptureIntoSlot(SlotIndex slot) {
  const std::optional<CapturedPage> captured = CaptureBrowserPage();
  if (!captured || captured->address.empty()) return;
  const PageIndex page = selection_.page;
  TableStep step = BeginSlotStep(step_name::kCapture, slot);
  ClearSlot(*table_, page, slot);
  WriteNewEntry(*table_, page, slot, captured->address, captured->short_title, captured->title,
                "1");
  SetSlotFieldWide(*table_, Target, page, slot, win::FromCp932(captured->address));
  RecordStep(std::move(step));
  ShowSlot(unsigned(slot));
  SaveTable();
}

void MainWindow::OpenSlot(HWND slot_button, bool elevated) {
  selection_.slot = win::SpeedButton::From(slot_button)->Tag();
  // What another PC put in the slot meanwhile is what opens.
  TakeOtherWritersChanges();
  const PageIndex page = selection_.page;
  const SlotIndex slot = selection_.slot;
  const std::wstring target = SlotFieldWide(*table_, Target, page, slot);
  const std::wstring folder = SlotFieldWide(*table_, WorkFolder, page, slot);
  if (target.empty()) return;
  const DWORD error = KindOfPage(selection_.tag) != PageKind::Program
                          ? ShellExecOpen(target, folder)
                          : RunProgramTarget(target, folder, elevated);
  // Only an opening counts; a cancelled one is not reported either.
  if (error == ERROR_CANCELLED) return;
  if (error != ERROR_SUCCESS) {
    ShowErrorText(hwnd(), OpenFailureText(target, error));
    return;
  }
  CountOpening();
}

void MainWindow::CountOpening() {
  UpdateAccessStatistics(*table_, selection_.page, selection_.slot);
}

TableStep MainWindow::BeginSlotStep(const char* what, SlotIndex slot) const {
  return BeginStep(*table_, what, {selection_.page * kSlotsPerPage + slot});
}

void MainWindow::RecordStep(TableStep step) {
  FinishStep(*table_, step);
  history_.Record(std::move(step));
}

bool MainWindow::OnMoveOrUndoKey(UINT key, bool shift) {
  if (!shift && (key == 'Z' || key == 'Y')) {
    UndoChange(key == 'Y');
    return true;
  }
  if (!shift || focus_in_bank_) return false;
  switch (key) {
    case VK_LEFT: SwapFocusedSlot(-1); return true;
    case VK_RIGHT: SwapFocusedSlot(1); return true;
    case VK_UP: SwapFocusedSlot(-5); return true;
    case VK_DOWN: SwapFocusedSlot(5); return true;
  }
  return false;
}

void MainWindow::SwapFocusedSlot(int step) {
  const int to = focus_slot_ + step;
  if (to < 0 || to >= kSlotsPerPage) return;  // no neighbour that way
  const PageIndex page = selection_.page;
  if (TakeMove(SwapSlots(*table_, page, focus_slot_, page, to), focus_slot_, to)) MoveFocusTo(to);
}

bool MainWindow::TakeMove(MoveResult moved, SlotIndex from, SlotIndex to) {
  if (!moved.step) {
    if (!moved.refusal.empty()) {
      win::SetText(Control(main_ids::InfoLine), win::FromCp932(moved.refusal));
    }
    return false;
  }
  history_.Record(std::move(*moved.step));
  ShowSlot(unsigned(from));
  ShowSlot(unsigned(to));
  SaveTable();
  return true;
}

void MainWindow::BeginSlotDrag(SlotIndex slot) {
  dragged_slot_ = slot;
  SetCapture(hwnd());
  ShowMoveCursor();
  // Esc cancels, so the keys come here even after a click into the info line or the memo.
  if (GetFocus() != hwnd()) SetFocus(hwnd());
}

void MainWindow::CancelSlotDrag() {
  dragged_slot_ = -1;  // before ReleaseCapture, whose WM_CAPTURECHANGED would cancel again
  if (GetCapture() == hwnd()) ReleaseCapture();
}

void MainWindow::DropDraggedSlot(POINT client) {
  const SlotIndex from = dragged_slot_;
  CancelSlotDrag();
  if (from < 0) return;
  const HWND target = ControlAtClientPoint(client);
  const win::SpeedButton* button = win::SpeedButton::From(target);
  if (!button) return;  // let go beside the buttons
  const PageIndex page = selection_.page;
  const SlotIndex to = IsSlotButton(target) ? button->Tag() : from;
  // Any other speed button is a page button; a hidden page's is of no group and refuses.
  MoveResult moved = IsSlotButton(target)
                         ? SwapSlots(*table_, page, from, page, to)
                         : MoveSlotToPage(*table_, page, from, PageFromTag(button->Tag()));
  // The info line tells what now lies there, as after a key swap.
  if (TakeMove(std::move(moved), from, to)) HoverSlot(slot_buttons_[to]);
}

void MainWindow::UndoChange(bool redo) {
  const bool had = redo ? history_.CanRedo() : history_.CanUndo();
  const TableStep* step = redo ? history_.Redo(*table_) : history_.Undo(*table_);
  if (!step) {
    if (had) win::SetText(Control(main_ids::InfoLine), L"他の PC の変更と重なるため、元に戻せません。");
    return;
  }
  const std::wstring said = (redo ? L"やり直しました: " : L"元に戻しました: ") +
                            win::FromCp932(step->what);
  ShowPage();
  SaveTable();
  win::SetText(Control(main_ids::InfoLine), said);
}

void MainWindow::SaveTable() {
  TableFile::SyncResult sync;
  const MaybeError error = file_->Save(*table_, &sync);
  ShowSync(sync);
  if (error) ShowErrorBox(hwnd(), *error);
}

void MainWindow::TakeOtherWritersChanges() {
  if (editing_) return;
  ShowSync(file_->Sync(*table_));
}

void MainWindow::ShowSync(const TableFile::SyncResult& sync) {
  if (sync.changed && shown_) {
    ShowPage();
    ShowSlotDetails();
  }
  if (!sync.conflict_copy.empty()) {
    win::SetText(Control(main_ids::InfoLine),
                 L"他の PC の変更と重なった項目は、この PC の内容を残しました: " +
                     std::wstring(FileNameOf(sync.conflict_copy)));
  }
  if (sync.error) ShowErrorBox(hwnd(), *sync.error);
}

void MainWindow::AcceptDrops(bool accept) {
  accepts_drops_ = accept;
  // Every page switch asks; under Wine each change is a trip to the X server, so only changes go.
  const bool accepting = (GetWindowLongW(hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
  if (accepting != accepts_drops_) DragAcceptFiles(hwnd(), accepts_drops_ ? TRUE : FALSE);
}

int MainWindow::SlotAtClientPoint(POINT client) const {
  const HWND at = ControlAtClientPoint(client);
  return IsSlotButton(at) ? win::SpeedButton::From(at)->Tag() : -1;
}

HWND MainWindow::ControlAtClientPoint(POINT client) const {
  HWND at = hwnd();
  POINT p = client;
  for (;;) {
    const HWND child = ChildWindowFromPointEx(at, p, CWP_SKIPDISABLED | CWP_SKIPINVISIBLE);
    if (!child || child == at) break;
    MapWindowPoints(at, child, &p, 1);
    at = child;
  }
  return at;
}

bool MainWindow::IsSlotButton(HWND hwnd) const {
  for (HWND b : slot_buttons_) {
    if (b == hwnd && hwnd) return true;
  }
  return false;
}

void MainWindow::ReceiveDropFiles(HDROP drop) {
  win::UniqueIcon icon;
  win::UniqueDrop held(drop);
  POINT point{};
  DragQueryPoint(drop, &point);
  const int slot = SlotAtClientPoint(point);
  const PageIndex page = selection_.page;
  bool filled = false;
  if (slot < 0) {
    CurrentPrompts().Show(hwnd(), L"ここは設定できません", L"Ｓｏｒｒｙ", MB_OK);
    held.reset();
  } else {
    selection_.slot = slot;
    const std::wstring whole_path = DroppedFileName(drop, 0);
    const std::string path = win::ToCp932(whole_path);
    held.reset();
    if (CurrentPrompts().Show(hwnd(), L"内容を置き換えますか？", L"確認", MB_YESNO) == IDYES) {
      TableStep step = BeginSlotStep(step_name::kDrop, slot);
      ClearSlot(*table_, page, slot);
      if (IsShortcutPath(path)) {
        std::string unused_name;
        ShellFileIcon(whole_path, icon, unused_name);
      } else {
        icon = FirstFileIcon(whole_path);
      }
      if (!icon) icon = ShownFileIcon(whole_path);  // a file without icons of its own
      WriteDroppedEntry(*table_, page, slot, path);
      // Each text whole beside its cut: a name CP932 lacks shows as itself.
      const std::wstring_view name = FileNameOf(whole_path);
      SetSlotFieldWide(*table_, Target, page, slot, whole_path);
      SetSlotFieldWide(*table_, Title, page, slot, name);
      SetSlotFieldWide(*table_, DisplayName, page, slot, name);
      StoreSlotIcon(*table_, page, slot, win::ComposeIcon(icon.get(), kIconPalette[kWhite]));
      RecordStep(std::move(step));
      filled = true;
    }
  }
  if (!hwnd()) return;  // the session ended while the question was open
  ShowSlot(unsigned(selection_.slot));
  // Saved at once, so that a crash or a power cut does not lose the new entry.
  if (filled) SaveTable();
}

win::UniqueMenu MainWindow::BuildPopupMenu() const {
  win::UniqueMenu menu(CreatePopupMenu());
  if (url_item_visible_) AppendMenuW(menu.get(), MF_STRING, IDM_CAPTURE, L"URL取得");
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), MF_STRING, IDM_EDIT, L"内容の編集");
  if (KindOfPage(selection_.tag) == PageKind::Program) {
    AppendMenuW(menu.get(), MF_STRING, IDM_RUN_AS_ADMIN, L"管理者として実行");
  }
  // Before the last item: the first and the last stay the ones Down and Up first reach.
  InsertMenuW(menu.get(), GetMenuItemCount(menu.get()) - 1, MF_BYPOSITION | MF_STRING | (history_.CanUndo() ? 0 : MF_GRAYED),
              IDM_UNDO, L"元に戻す");
  return menu;
}

void MainWindow::OnContextMenu(HWND source, POINT screen) {
  // From the keyboard (the menu key, Shift+F10): the focused slot's popup.
  if (source == hwnd() && screen.x == -1 && screen.y == -1) source = slot_buttons_[focus_slot_];
  if (!IsSlotButton(source)) return;
  if (screen.x == -1 && screen.y == -1) {
    RECT r;
    GetWindowRect(source, &r);
    screen = {r.left, r.bottom};
  }
  // The commands work on this slot, wherever the mouse goes before one is chosen.
  popup_slot_ = win::SpeedButton::From(source)->Tag();
  win::UniqueMenu menu = BuildPopupMenu();
  TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(),
                 nullptr);
}

void MainWindow::OnCommand(int id, int code, HWND control) {
  const bool slot_button = id >= main_ids::FirstSlotButton && id <= main_ids::LastSlotButton;
  if (code == win::kSpeedButtonMouseMove) {
    if (slot_button) HoverSlot(control);
    return;
  }
  if (code == win::kSpeedButtonDragBegin) {
    if (slot_button) BeginSlotDrag(win::SpeedButton::From(control)->Tag());
    return;
  }
  if (code == win::kPanelMouseMove) {
    if (id == main_ids::SlotGrid) HoverGrid();
    return;
  }
  if (code == BN_CLICKED && control) {
    if (slot_button) {
      // Ctrl+Shift+click opens a program as administrator, as in the Start menu.
      OpenSlot(control, KeyHeld(VK_CONTROL) && KeyHeld(VK_SHIFT));
    } else if (win::SpeedButton::From(control)) {
      OpenPage(control);
      UpdateFocusMark();
    }
    return;
  }
  switch (id) {
    case IDM_EXIT:
      CloseFromMenu();
      break;
    case IDM_HELP:
      ShowHelp();
      break;
    case IDM_RESTORE_BACKUP:
      RestoreFromBackup();
      break;
    case IDM_CAPTURE:
      CaptureIntoSlot(popup_slot_);
      break;
    case IDM_EDIT:
      EditSlot(popup_slot_);
      break;
    case IDM_RUN_AS_ADMIN:
      OpenSlot(slot_buttons_[popup_slot_], /*elevated=*/true);
      break;
    case IDM_UNDO:
      UndoChange(/*redo=*/false);
      break;
  }
}

void MainWindow::RegisterActivationKey() {
  std::wstring name = ReadIniValue(file_->Folder() + L"\\Quenda.ini", L"Keys", L"Activate");
  std::optional<HotKey> key = ParseHotKey(win::ToCp932(name));
  if (!key) {
    if (!name.empty()) {
      win::SetText(Control(main_ids::InfoLine), L"Quenda.ini のホットキー " + name + L" は使えません。");
    }
    key = kDefaultHotKey;
    name = win::FromCp932(kDefaultHotKeyText);
  }
  static_assert(kHotKeyAlt == MOD_ALT && kHotKeyCtrl == MOD_CONTROL &&
                kHotKeyShift == MOD_SHIFT && kHotKeyWin == MOD_WIN);
  hot_key_registered_ = RegisterHotKey(hwnd(), kActivationHotKeyId,
                                       key->modifiers | MOD_NOREPEAT, key->key) != FALSE;
  if (!hot_key_registered_) {
    win::SetText(Control(main_ids::InfoLine), L"ホットキー " + name + L" は他のプログラムが使用中です。");
  }
}

void MainWindow::OnHotKey() {
  if (GetForegroundWindow() == hwnd() && !IsIconic(hwnd())) {
    ShowWindow(hwnd(), SW_MINIMIZE);
    return;
  }
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
  keyboard_used_ = true;
  focus_in_bank_ = false;
  focus_announced_ = nullptr;  // told again on coming forward
  MoveFocusTo(selection_.slot);
}

void MainWindow::UpdateFocusMark() {
  const HWND marked = !keyboard_used_  ? nullptr
                      : focus_in_bank_ ? PageButtonByTag(selection_.tag)
                                       : slot_buttons_[focus_slot_];
  for (const LayoutRow& c : MainWindowLayout()) {
    if (c.kind != ControlKind::Button && c.kind != ControlKind::PageButton) continue;
    win::SpeedButton::From(Control(c.id))->SetFocusMark(Control(c.id) == marked);
  }
  // A screen reader follows the mark as it would the focus.
  if (marked && marked != focus_announced_) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, marked, OBJID_CLIENT, CHILDID_SELF);
  }
  focus_announced_ = marked;
}

void MainWindow::MoveFocusTo(int slot) {
  focus_slot_ = (slot + kSlotsPerPage) % kSlotsPerPage;
  UpdateFocusMark();
  HoverSlot(slot_buttons_[focus_slot_]);
}

// As a click on the page button: it goes down, then its page shows.
void MainWindow::SwitchPage(int tag) {
  const HWND button = PageButtonByTag(tag);
  win::SpeedButton::From(button)->SetDown(true);
  OpenPage(button);
  focus_announced_ = nullptr;  // the marked slot holds another page's entry now
  UpdateFocusMark();
}

void MainWindow::StepPage(int step) { SwitchPage(KeyPageStep(selection_.tag, step)); }

bool MainWindow::OnKeyDown(UINT key) {
  const bool ctrl = KeyHeld(VK_CONTROL);
  const bool shift = KeyHeld(VK_SHIFT);
  keyboard_used_ = true;
  if (ctrl && key == VK_TAB) {
    StepPage(shift ? -1 : 1);
    return true;
  }
  if (ctrl && key >= '1' && key < '1' + kKeyPages) {
    SwitchPage(kKeyPageTags[key - '1']);
    return true;
  }
  if (ctrl && shift && key == VK_RETURN && !focus_in_bank_) {
    ClearTyped();
    OpenSlot(slot_buttons_[focus_slot_], /*elevated=*/true);
    return true;
  }
  if (ctrl) return OnMoveOrUndoKey(key, shift);
  switch (key) {
    case VK_TAB:
      focus_in_bank_ = !focus_in_bank_;
      UpdateFocusMark();
      if (!focus_in_bank_) MoveFocusTo(focus_slot_);
      return true;
    case VK_APPS:
      OnContextMenu(hwnd(), {-1, -1});
      return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      const int step = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : key == VK_UP ? -5 : 5;
      if (focus_in_bank_) {
        StepPage(step > 0 ? 1 : -1);
      } else {
        MoveFocusTo(focus_slot_ + step);
      }
      return true;
    }
    case VK_SPACE:
      if (!typed_.empty()) return false;  // a space typed into the search
      [[fallthrough]];
    case VK_RETURN:
      ClearTyped();
      if (focus_in_bank_) {
        SwitchPage(selection_.tag);
      } else {
        OpenSlot(slot_buttons_[focus_slot_]);
      }
      return true;
  }
  return false;
}

void MainWindow::OnTypedChar(wchar_t c) {
  const std::uint64_t now = CurrentClock().Milliseconds();
  // After the pause the search ends as the timer would end it, the slot's details shown again.
  if (!typed_.empty() && TypingPaused(typed_at_, now)) ClearTyped();
  typed_at_ = now;
  if (c == L'\x1B') {
    ClearTyped();
    return;
  }
  if (c == L'\b') {
    if (typed_.size() <= 1) {
      ClearTyped();  // the last character erased: the search ends
      return;
    }
    typed_.pop_back();
  } else if (c < L' ' || (c == L' ' && typed_.empty())) {
    return;  // control characters; a space opens the slot, it starts no search
  } else {
    typed_ += c;
  }
  keyboard_used_ = true;
  const bool found = FindTyped();
  win::SetText(Control(main_ids::InfoLine),
               L"検索: " + typed_ + (found ? L"" : L"　（見つかりません）"));
  // Nothing moved, so no focus event: a screen reader hears of the miss from the info line.
  if (!found) {
    const std::wstring info = win::GetText(Control(main_ids::InfoLine));
    win::SetText(info_line_name_, info);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Control(main_ids::InfoLine), OBJID_CLIENT,
                   CHILDID_SELF);
    // A name change of a control out of focus goes unread by some readers; this one is spoken.
    CurrentAnnouncer().Announce(Control(main_ids::InfoLine), info, L"Quenda.SearchNotFound");
  }
  SetTimer(hwnd(), kTypedTimerId, UINT(kTypingPauseMs), nullptr);
}

// From the focused slot on, through the six pages and round: a slot that still holds the
// text keeps the focus.
bool MainWindow::FindTyped() {
  const std::u16string typed = AsU16(typed_);
  const std::optional<FoundSlot> found =
      NextMatchingSlot(selection_.tag, focus_slot_, [&](PageTag tag, SlotIndex slot) {
        const PageIndex page = PageFromTag(tag);
        return ContainsForFind(AsU16(SlotFieldWide(*table_, Title, page, slot)), typed) ||
               ContainsForFind(AsU16(SlotFieldWide(*table_, DisplayName, page, slot)), typed);
      });
  if (!found) return false;
  if (found->tag != selection_.tag) SwitchPage(found->tag);
  focus_in_bank_ = false;
  MoveFocusTo(found->slot);
  return true;
}

void MainWindow::ClearTyped() {
  KillTimer(hwnd(), kTypedTimerId);
  if (typed_.empty()) return;
  typed_.clear();
  win::SetText(info_line_name_, L"");
  ShowSlotDetails();
}

// The session ends whatever the save gives: it is tried once and shows nothing, as a box
// would hold the log-off or shut-down.
void MainWindow::SaveForSessionEnd() {
  if (saved_for_session_end_) return;
  saved_for_session_end_ = true;
  (void)file_->Save(*table_);
}

LRESULT MainWindow::OnQueryEndSession() {
  SaveForSessionEnd();
  return TRUE;
}

void MainWindow::OnEndSession(bool ending) {
  if (!ending) {
    saved_for_session_end_ = false;  // the log-off was cancelled; the next one saves anew
    return;
  }
  SaveForSessionEnd();
  DestroyWindow(hwnd());
}

// The info line and the memo take the focus when clicked, so that their text can be selected and
// copied; Esc and Tab give it back to the grid, and what is typed there still finds slots.
void MainWindow::KeepKeyboardForGrid() {
  for (int id : {main_ids::InfoLine, main_ids::MemoBox}) {
    SetWindowSubclass(Control(id), DetailFieldKeys, 1, reinterpret_cast<DWORD_PTR>(this));
  }
}

LRESULT CALLBACK MainWindow::DetailFieldKeys(HWND field, UINT message, WPARAM wparam,
                                             LPARAM lparam, UINT_PTR, DWORD_PTR self) {
  auto* main = reinterpret_cast<MainWindow*>(self);
  if (message == WM_KEYDOWN && (wparam == VK_ESCAPE || wparam == VK_TAB)) {
    main->ReturnKeyboardToGrid();
    return 0;
  }
  if (message == WM_CHAR && (wparam == L'\t' || wparam == L'\x1B')) return 0;  // Tab's, Esc's
  if ((message == WM_CHAR && (wparam >= L' ' || wparam == L'\b')) || message == WM_IME_CHAR) {
    main->ReturnKeyboardToGrid();
    return SendMessageW(main->hwnd(), message, wparam, lparam);
  }
  return DefSubclassProc(field, message, wparam, lparam);
}

void MainWindow::ReturnKeyboardToGrid() {
  SetFocus(hwnd());
  keyboard_used_ = true;
  focus_in_bank_ = false;
  UpdateFocusMark();
}

// A modal dialog or message box of Quenda disables the main window. What reaches it all the same
// (a drop from another program, a posted click or key, an accessibility client's default action)
// must not open or change a slot the dialog may be editing.
bool MainWindow::RefusedBehindDialog(UINT message, WPARAM wparam) {
  if (IsWindowEnabled(hwnd())) return false;
  switch (message) {
    case WM_DROPFILES:
      DragFinish(reinterpret_cast<HDROP>(wparam));
      win::SetText(Control(main_ids::InfoLine), L"ダイアログを閉じてからドロップしてください。");
      return true;
    case WM_COMMAND:  // the mouse moving over the slots still shows them
      return HIWORD(wparam) != win::kSpeedButtonMouseMove && HIWORD(wparam) != win::kPanelMouseMove;
    case WM_SYSKEYDOWN:
      return wparam == VK_F10;
    case WM_HOTKEY:  // brings the dialog forward instead
      SetForegroundWindow(GetLastActivePopup(hwnd()));
      return true;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_CONTEXTMENU:
      return true;
  }
  return false;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (RefusedBehindDialog(message, wparam)) return 0;
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wparam),
                    {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      return 0;
    case WM_MOUSEMOVE:
      // While a slot is dragged no WM_SETCURSOR comes: the capture's owner sets the cursor.
      if (Dragging()) {
        ShowMoveCursor();
      } else {
        HoverBesideGrid();
      }
      return 0;
    case WM_LBUTTONUP:
      if (!Dragging()) break;
      DropDraggedSlot({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      return 0;
    case WM_CAPTURECHANGED:  // another window took the mouse: the drag is cancelled
      if (reinterpret_cast<HWND>(lparam) != hwnd()) dragged_slot_ = -1;
      break;
    case WM_KEYDOWN:
      if (Dragging() && wparam == VK_ESCAPE) {
        CancelSlotDrag();
        return 0;
      }
      if (OnKeyDown(UINT(wparam))) return 0;
      break;
    case WM_KEYUP:
      if (wparam == VK_APPS) return 0;  // the popup opened on the press
      break;
    case WM_SYSKEYDOWN:
      if (wparam == VK_F10 && KeyHeld(VK_SHIFT)) {
        keyboard_used_ = true;
        OnContextMenu(hwnd(), {-1, -1});
        return 0;
      }
      break;
    case WM_SYSKEYUP:
      if (wparam == VK_F10 && KeyHeld(VK_SHIFT)) return 0;  // no menu bar after Shift+F10
      break;
    case WM_CHAR:
    case WM_IME_CHAR:  // the whole character, not its two CP932 halves
      OnTypedChar(wchar_t(wparam));
      return 0;
    case WM_TIMER:
      if (wparam == kTypedTimerId) ClearTyped();
      return 0;
    case WM_HOTKEY:
      if (wparam == kActivationHotKeyId) OnHotKey();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) TakeOtherWritersChanges();
      break;
    case kTableFolderChanged:
      TakeOtherWritersChanges();
      return 0;
    case WM_DROPFILES:
      ReceiveDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_SHOWWINDOW:
      if (wparam && !shown_) {
        shown_ = true;
        ShowFirstPage();
      }
      break;
    case WM_CLOSE:
      if (SaveBeforeClose()) DestroyWindow(hwnd());
      return 0;
    case WM_QUERYENDSESSION:
      return OnQueryEndSession();
    case WM_ENDSESSION:
      OnEndSession(wparam != FALSE);
      return 0;
    case WM_DESTROY:
      folder_watch_.Stop();
      if (hot_key_registered_) UnregisterHotKey(hwnd(), kActivationHotKeyId);
      PostQuitMessage(0);
      return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quenda
