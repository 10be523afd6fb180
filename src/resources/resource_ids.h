#pragma once
// Resource and command identifiers shared by the resource script and the code.
#define IDI_QUENDA 1
#define IDR_MAINMENU 100

// Main menu commands.
#define IDM_EXIT 1001
#define IDM_HELP 1002
#define IDM_RESTORE_BACKUP 1003

// Popup menu of the slot buttons.
#define IDM_CAPTURE 1101
#define IDM_EDIT 1102
#define IDM_RUN_AS_ADMIN 1103
#define IDM_UNDO 1104

// The page buttons' glyph strip.
#define IDB_PAGE_GLYPH 200
