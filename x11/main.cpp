// lumvia: the saver as a program of the X Window System, run by the
// XScreenSaver daemon with -root, embedded with -window-id, or by hand.
#include <cstdio>

#include "x11/options.h"
#include "x11/saver_x11.h"

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseOptions(argc, argv);
  if (!parsed.ok) {
    std::fprintf(stderr, "lumvia: %s\n%s", parsed.error.c_str(), Usage().c_str());
    return 1;
  }
  if (parsed.options.help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  return RunSaver(parsed.options);
}
