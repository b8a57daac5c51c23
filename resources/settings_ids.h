// Control numbers of the settings dialog (2003) and the About box (100),
// shared by their resource script and their dialog procedures.
#pragma once

// Settings dialog.
#define IDC_ABOUT_BUTTON 16
#define IDC_PREVIEW_PANE 1008
#define LUMVIA_PREVIEW_PANE_CLASS "LumviaPreviewPane"  // the pane's own window class
#define IDC_CYCLE_SPIN 1034
#define IDC_CYCLE_EDIT 1035
#define IDC_ENABLE_ALL 1046
#define IDC_DISABLE_ALL 1047
#define IDC_OTHER_MONITORS 1050        // what the full-screen saver shows on the other monitors
#define IDC_OTHER_MONITORS_LABEL 1051

// The module buttons run in module order: 1023 + module.
#define IDC_MODULE_BUTTON_1 1024
#define IDC_MODULE_BUTTON_2 1025
#define IDC_MODULE_BUTTON_3 1026
#define IDC_MODULE_BUTTON_4 1027
#define IDC_MODULE_BUTTON_5 1028
#define IDC_MODULE_BUTTON_6 1029
#define IDC_MODULE_BUTTON_7 1030
#define IDC_MODULE_BUTTON_8 1031
#define IDC_MODULE_BUTTON_9 1032
#define IDC_MODULE_BUTTON_10 1033

// The enable check boxes do not: each is named after its module.
#define IDC_ENABLE_1 1002
#define IDC_ENABLE_2 1003
#define IDC_ENABLE_3 1005
#define IDC_ENABLE_4 1007
#define IDC_ENABLE_5 1004
#define IDC_ENABLE_6 1006
#define IDC_ENABLE_7 1009
#define IDC_ENABLE_8 1010
#define IDC_ENABLE_9 1011
#define IDC_ENABLE_10 1012

// About box.
#define IDC_ABOUT_VERSION 1101
