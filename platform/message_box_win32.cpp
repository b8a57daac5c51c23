// The message-box seam on Windows.
#include <windows.h>

#include "platform/platform.h"

void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned flags) {
  MessageBoxA(static_cast<HWND>(owner), text, caption, flags);
}
