// The message-box seam of the native programs, and their lines on standard
// error. A box with an icon reports a failure: its text is such a line. One
// without an icon tells the user something (the parameter display): its
// text goes to stdout.
#include <errno.h>  // program_invocation_short_name

#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"
#include "platform/say.h"

void Say(const char* format, ...) {
  std::fprintf(stderr, "%s: ", program_invocation_short_name);
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(stderr, format, arguments);
  va_end(arguments);
  std::fputc('\n', stderr);
}

void ShowMessageBox(WindowHandle, const char* text, const char*, unsigned flags) {
  if (flags & kMbIconMask) {
    Say("%s", text);
  } else {
    std::fputs(text, stdout);
    std::fflush(stdout);
  }
}
