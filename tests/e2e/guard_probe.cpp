// Raises an exception that nothing handles while the host's exception guard
// is in place, with the system's error box turned off so that the system's
// filter handles it quietly: the process must end with -1. With the argument
// "unguarded" the guard is left out, to show what happens without it. With
// "fullscreen" the exception comes while the full-screen saver window is up
// and the cursor is held in a corner; the system's filter then finds a
// top-level filter of the probe, which prints what the system's error report
// would find on the screen: "hidden H free F", H for the saver window and F
// for the cursor, 1 or 0.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "host/host_entry_win32.h"
#include "host/host_state_win32.h"
#include "host/saver_window_win32.h"

namespace {

LONG WINAPI LookAtTheScreen(EXCEPTION_POINTERS*) {
  RECT clip{};
  GetClipCursor(&clip);
  const bool letGo = clip.right - clip.left >= GetSystemMetrics(SM_CXVIRTUALSCREEN);
  std::printf("hidden %d free %d\n", IsWindowVisible(HostState.SaverWindow) ? 0 : 1, letGo ? 1 : 0);
  std::fflush(stdout);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  HostState.Win9xPlatform = true;  // the guard also clears the running state
  const char* mode = argc > 1 ? argv[1] : "";
  if (std::strcmp(mode, "fullscreen") == 0) {
    HostState.Instance = GetModuleHandleA(nullptr);
    if (!MakeSaverWindow(nullptr)) return 4;
    const RECT corner = {0, 0, 40, 40};
    ClipCursor(&corner);
    SetUnhandledExceptionFilter(LookAtTheScreen);
  }
  if (std::strcmp(mode, "unguarded") != 0) InstallExceptionGuard();
  RaiseException(0xE04C5556u, 0, 0, nullptr);
  return 3;  // only when the guard let the program go on
}
