// The saver's own window procedure and the RenderTick handling that the
// saver window and the settings dialog's preview share.
#pragma once

#include <windows.h>

// Handles window creation, close and RenderTick, then always returns what
// SaverDefaultProc answers for the same message.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// One RenderTick: drains the window's queue (key messages go to the keyboard
// controls when keysSteerView is true, and are dispatched otherwise), then
// draws a frame and posts the next RenderTick, or posts WM_CLOSE when a close
// was requested. Does nothing while a tick runs or a close is under way.
void HandleRenderTick(HWND window, bool keysSteerView);
