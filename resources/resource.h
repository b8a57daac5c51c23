// Resource numbers, shared by the resource script and the code.
#pragma once

#define IDR_SPRITE_TGA 107
#define IDD_CONTROL_MENU 105
#define IDD_SETTINGS 2003
#define IDD_ABOUT 100
#define IDS_DESCRIPTION 1
#define IDR_MAINFRAME 104

// The control menu's two texts, filled in from the key table when it opens.
#define IDC_MENU_KEYS 1201
#define IDC_MENU_MODULES 1202
