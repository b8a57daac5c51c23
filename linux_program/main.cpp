// lumvia: the saver as a program of the X Window System, run by the
// XScreenSaver daemon with -root, embedded with -window-id, or by hand; and
// with -wayland on a Wayland desktop, started by the desktop's idle daemon or
// by its own (-daemon).
#include <cstdio>

#include "linux_program/front_ends.h"
#include "linux_program/options.h"
#include "linux_program/run.h"
#include "platform/say.h"

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseOptions(argc, argv);
  if (!parsed.ok) {
    Say("%s", parsed.error.c_str());
    std::fputs(Usage().c_str(), stderr);
    return 1;
  }
  if (parsed.options.help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  InstallStopSignals();
  const int status =
      parsed.options.daemon    ? RunIdleDaemon(parsed.options, SaverArguments(argc, argv))
      : parsed.options.wayland ? RunWaylandSaver(parsed.options)
                               : RunX11Saver(parsed.options);
  EndByStopSignal();
  return status;
}
