// Resource numbers, shared by the resource script and the code.
#pragma once

#define IDR_SPRITE_TGA 107
#define IDD_CONTROL_MENU 105
#define IDD_SETTINGS 2003
#define IDD_ABOUT 100
#define IDS_DESCRIPTION 1
#define IDR_MAINFRAME 104

// The two texts of the control menu (dialog 105). The Linux program, which
// has no dialog, prints them when F1 is pressed.
#define CONTROL_MENU_KEYS_TEXT                                                  \
  "F1 - This Control Menu\nEsc - Quit\n\nPage Up - Zoom Out\nPage Down - Zoom In\n" \
  "Arrow Keys - Up Down Right Left\nF2,F3 - Rotate Fwd/Bkwd\nF4,F5 - Rotate Vertical\n" \
  "F6,F7 - Rotate Left/Right\nF8,F9 - Speed Up/Down\nHome - Restore Default Position"
#define CONTROL_MENU_MODULES_TEXT "Enter - Next Module\nBackspace - Previous Module"
