// The seams the engine leaves to the program above it: the Linux program has
// no settings dialog and no control-menu dialog, so F1 prints the keys.
#include <cstdio>

#include "controls/view_keys.h"
#include "platform/platform.h"

void CheckModuleRadio(WindowHandle, int) {}

void ShowControlMenu(WindowHandle) {
  std::puts((ControlMenuText(MenuText::Keys) + '\n' + ControlMenuText(MenuText::Modules)).c_str());
  std::fflush(stdout);
}
