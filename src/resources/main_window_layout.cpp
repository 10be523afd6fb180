#include "resources/main_window_layout.h"

#include <array>

#include "core/slot_table.h"

namespace quenda {

namespace {

using namespace main_ids;

constexpr LayoutRow kFixed[] = {
    {ControlKind::Panel, L"Panel1", Client, 0, 0, 0, 365, 362, L""},
    {ControlKind::LoweredPanel, L"Panel2", PageBank, Client, 0, 0, 365, 41, L"", 0, true, 0xC0C0C0},
    {ControlKind::LoweredPanel, L"Panel4", SlotGrid, Client, 0, 44, 365, 240, L""},
    {ControlKind::LoweredPanel, L"Panel5", Details, Client, 0, 289, 365, 73, L""},
    {ControlKind::Image, L"IconClr_Imag", BlankIconImage, Client, 12, 419, 32, 31, L"", 0, false},
    {ControlKind::Image, L"Image1", IconImage, Client, 52, 418, 32, 32, L""},
    {ControlKind::ReadOnlyEdit, L"Edit1", InfoLine, SlotGrid, 7, 8, 350, 20, L""},
    {ControlKind::Label, L"Label17", AccessCountLabel, Details, 22, 10, 0, 0, L"ｱｸｾｽ回数"},
    {ControlKind::ValuePanel, L"Panel8", AccessCountPanel, Details, 79, 6, 41, 20, L""},
    {ControlKind::Label, L"Label18", LastAccessLabel, Details, 132, 10, 0, 0, L"最終ｱｸｾｽ日"},
    {ControlKind::ValuePanel, L"Panel10", LastAccessPanel, Details, 202, 7, 155, 20, L""},
    {ControlKind::ReadOnlyMemo, L"Memo1", MemoBox, Details, 8, 30, 350, 36, L""},
};

// The page bank: button, tag, label, their positions. The second row lies below the bank's
// height and is clipped by it.
struct PageButtonRow {
  int button;
  int tag;
  const wchar_t* label_text;
  int label;
  int bx, by, lx, ly;
};
constexpr PageButtonRow kPageButtons[] = {
    {1, 0, L"D1", 1, 20, 20, 29, 7},        {2, 1, L"D2", 2, 77, 20, 85, 7},
    {3, 2, L"D3", 3, 134, 20, 142, 7},      {4, 3, L"D4", 4, 191, 20, 199, 7},
    {5, 200, L"P1", 9, 248, 20, 256, 7},    {7, 201, L"P2", 22, 306, 20, 313, 7},
    {12, 100, L"F1", 11, 6, 54, 15, 41},    {11, 101, L"F2", 12, 41, 54, 50, 41},
    {13, 102, L"F3", 13, 76, 54, 85, 41},   {14, 103, L"F4", 14, 111, 54, 121, 41},
    {15, 104, L"F5", 15, 146, 54, 156, 41}, {44, 105, L"F6", 16, 181, 54, 191, 41},
    {45, 106, L"F7", 21, 216, 54, 227, 41}, {46, 107, L"F8", 10, 251, 54, 262, 41},
    {47, 202, L"P3", 23, 290, 54, 297, 41}, {48, 203, L"P4", 24, 326, 54, 333, 41},
};

constexpr const wchar_t* kSlotButtonNames[kSlotsPerPage] = {
    L"SpeedButton18", L"SpeedButton19", L"SpeedButton20", L"SpeedButton21", L"SpeedButton22",
    L"SpeedButton23", L"SpeedButton24", L"SpeedButton25", L"SpeedButton26", L"SpeedButton27",
    L"SpeedButton28", L"SpeedButton29", L"SpeedButton30", L"SpeedButton31", L"SpeedButton32",
    L"SpeedButton33", L"SpeedButton34", L"SpeedButton35", L"SpeedButton36", L"SpeedButton37",
    L"SpeedButton38", L"SpeedButton39", L"SpeedButton40", L"SpeedButton41", L"SpeedButton42",
};

constexpr const wchar_t* kPageButtonNames[] = {
    L"SpeedButton1",  L"SpeedButton2",  L"SpeedButton3",  L"SpeedButton4",
    L"SpeedButton5",  L"SpeedButton7",  L"SpeedButton12", L"SpeedButton11",
    L"SpeedButton13", L"SpeedButton14", L"SpeedButton15", L"SpeedButton44",
    L"SpeedButton45", L"SpeedButton46", L"SpeedButton47", L"SpeedButton48",
};
constexpr const wchar_t* kPageLabelNames[] = {
    L"Label1",  L"Label2",  L"Label3",  L"Label4",  L"Label9",  L"Label22", L"Label11", L"Label12",
    L"Label13", L"Label14", L"Label15", L"Label16", L"Label21", L"Label10", L"Label23", L"Label24",
};

constexpr std::size_t kCount = std::size(kFixed) + 2 * std::size(kPageButtons) + kSlotsPerPage;

constexpr std::array<LayoutRow, kCount> Build() {
  std::array<LayoutRow, kCount> all{};
  std::size_t n = 0;
  for (const LayoutRow& c : kFixed) all[n++] = c;
  for (std::size_t i = 0; i < std::size(kPageButtons); ++i) {
    const PageButtonRow& p = kPageButtons[i];
    all[n++] = {ControlKind::Label, kPageLabelNames[i], main_ids::LabelId(p.label), PageBank,
                p.lx, p.ly, 0, 0, p.label_text};
    all[n++] = {ControlKind::PageButton, kPageButtonNames[i], ButtonId(p.button), PageBank,
                p.bx, p.by, 32, 16, L"", p.tag};
  }
  for (int i = 0; i < kSlotsPerPage; ++i) {
    all[n++] = {ControlKind::Button, kSlotButtonNames[i], ButtonId(18 + i), SlotGrid,
                9 + 69 * (i % 5), 35 + 39 * (i / 5), 70, 40, L"", i};
  }
  return all;
}

constexpr std::array<LayoutRow, kCount> kLayout = Build();

}  // namespace

std::span<const LayoutRow> MainWindowLayout() { return kLayout; }

}  // namespace quenda
