// The message-box seam on Windows.
#include <windows.h>

#include "platform/platform.h"

// A box without an owner reports a failure of the GL context or the texture
// (set up or given back): it stands above every window, so that the
// full-screen saver, topmost and black, does not hide the box it waits on.
void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned flags) {
  if (!owner) flags |= MB_TOPMOST;
  MessageBoxA(static_cast<HWND>(owner), text, caption, flags);
}
