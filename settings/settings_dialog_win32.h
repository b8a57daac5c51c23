// The settings dialog (resource 2003) with its live preview.
#pragma once

#include <windows.h>

// The dialog procedure given to DialogBoxParamA for dialog 2003.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the common controls the dialog uses ("msctls_updown32"); called
// before the dialog is made.
void RegisterSettingsControls();
