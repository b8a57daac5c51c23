// The process entry of lumvia.scr, linked only into the product so that the
// test programs can link everything else.
#include <windows.h>

#include "host/host_entry_win32.h"
#include "host/system_dlls_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LoadSystemDlls();
  HostStartup();
}
