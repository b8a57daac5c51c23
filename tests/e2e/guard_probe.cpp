// Raises an exception that nothing handles while the host's exception guard
// is in place, with the system's error box turned off so that the system's
// filter handles it quietly: the process must end with -1. With the argument
// "unguarded" the guard is left out, to show what happens without it.
#include <windows.h>

#include <cstring>

#include "host/host_entry_win32.h"
#include "host/host_state_win32.h"

int main(int argc, char** argv) {
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  HostState.Win9xPlatform = true;  // the guard also clears the running state
  if (argc < 2 || std::strcmp(argv[1], "unguarded") != 0) InstallExceptionGuard();
  RaiseException(0xE04C5556u, 0, 0, nullptr);
  return 3;  // only when the guard let the program go on
}
