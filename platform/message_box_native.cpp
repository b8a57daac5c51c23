// The message-box seam of the native programs. A box with an icon reports a
// failure: its caption and text go to stderr. One without an icon tells the
// user something (the parameter display): its text goes to stdout.
#include <cstdio>

#include "platform/platform.h"

void ShowMessageBox(WindowHandle, const char* text, const char* caption, unsigned flags) {
  if (flags & kMbIconMask) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  } else {
    std::fputs(text, stdout);
    std::fflush(stdout);
  }
}
