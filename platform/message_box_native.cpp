// The message-box seam of the native programs. A box with an icon reports a
// failure: its text goes to stderr after the program's name, as every line
// in a log that many programs share begins. One without an icon tells the
// user something (the parameter display): its text goes to stdout.
#include <errno.h>  // program_invocation_short_name

#include <cstdio>

#include "platform/platform.h"

void ShowMessageBox(WindowHandle, const char* text, const char*, unsigned flags) {
  if (flags & kMbIconMask) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text);
  } else {
    std::fputs(text, stdout);
    std::fflush(stdout);
  }
}
