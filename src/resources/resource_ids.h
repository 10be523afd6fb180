#pragma once
// Resource and command identifiers shared by the resource script and the code.
#define IDR_MAINMENU 100

// Main menu commands.
#define IDM_EXIT1 1001
#define IDM_N3 1002
