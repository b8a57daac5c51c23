// The settings dialog (resource 2003) with its live preview.
#pragma once

#include <windows.h>

#include <cstdint>

// --- Dialog state -------------------------------------------------------------
// The cycle-time box is being edited: its keys go to the box, not to the view.
extern bool CycleEditActive;
// The position the up-down control reported last.
extern int32_t LastSpinPos;

// The dialog procedure given to DialogBoxParamA for dialog 2003.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the common controls the dialog uses ("msctls_updown32"); called
// before the dialog is made.
void RegisterSettingsControls();

// Centres the dialog, makes the preview's GL context and fills the controls
// from the settings; true when the preview's context was made.
bool InitSettingsDialog(HWND dialog);
// WM_COMMAND and the up-down control's scroll messages; the procedure's answers.
INT_PTR SettingsCommand(HWND dialog, WPARAM wParam, LPARAM lParam);
INT_PTR CycleTimeScroll(HWND dialog, WPARAM wParam, LPARAM lParam);
