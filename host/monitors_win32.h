// The full-screen saver over every monitor: the monitors as the system
// reports them, laid out for the "other monitors" setting.
#pragma once

#include <windows.h>

// Moves the full-screen window over the monitors the layout covers and gives
// the frame step its viewports: at creation and on every change of the
// display layout.
void CoverMonitors(HWND window);

// Whether the window, as last placed, leaves a monitor uncovered: "leave as
// they are" on a desktop of more than one monitor.
bool LeavesMonitorsOpen();
