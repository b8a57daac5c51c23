// The saver window in its two shapes (full screen and the preview inside
// another window), and the default behaviour behind the saver's procedure.
#pragma once

#include <windows.h>

// Makes the window (parent: the preview's host window, or none for full
// screen), runs its message loop and returns the quit code.
int RunSaverWindow(HWND parent);

// Registers the class and makes the window in the shape the parent implies
// (none: full screen); sets PreviewMode for a parent. None on failure. This is
// RunSaverWindow without the running-saver check, the password verifier and
// the message loop.
HWND MakeSaverWindow(HWND parent);

// The three procedures every message of the saver window passes in turn,
// each of which may answer and stop.

// The class procedure: sees every message first.
LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The saver's own procedure (saver_proc_win32.cpp): handles window creation,
// close and RenderTick (and follows the display's power state until the
// window is destroyed), then always returns what SaverDefaultProc answers for
// the same message.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The default behaviour: hidden cursor, the mouse rule, the password check.
LRESULT SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Takes the anchor of the mouse rule afresh from the cursor; keeps it as it
// was when the cursor cannot be read.
void TakeCursorAnchor();
