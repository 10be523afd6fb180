#pragma once
// Resource and command identifiers shared by the resource script and the code.
#define IDI_QUENDA 1
#define IDR_MAINMENU 100

// Main menu commands.
#define IDM_EXIT1 1001
#define IDM_N3 1002

// Popup menu of the slot buttons.
#define IDM_URL1 1101
#define IDM_N2 1102

// The page buttons' glyph strip.
#define IDB_PAGE_GLYPH 200
