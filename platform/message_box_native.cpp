// The message-box seam for the native tools: the message goes to stderr.
#include <cstdio>

#include "platform/platform.h"

void ShowMessageBox(WindowHandle, const char* text, const char* caption, unsigned) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
}
