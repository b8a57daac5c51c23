// The seams the engine leaves to the program above it: the Linux program has
// no settings dialog and no control-menu dialog, so F1 prints the keys.
#include <cstdio>

#include "platform/platform.h"
#include "resources/resource.h"

void CheckModuleRadio(WindowHandle, int) {}

void ShowControlMenu(WindowHandle) {
  std::puts(CONTROL_MENU_KEYS_TEXT "\n" CONTROL_MENU_MODULES_TEXT);
  std::fflush(stdout);
}
