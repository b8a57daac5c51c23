// The control menu (a small modal dialog listing the keys) and window centring.
#pragma once

#include "platform/platform.h"

// Runs the control menu modally; does nothing while one is already open.
void ShowControlMenu(WindowHandle owner);
// Places a top-level window in the middle of the desktop, shown and on top.
void CenterWindow(WindowHandle window);
