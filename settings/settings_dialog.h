// What the portable engine needs of the settings dialog.
#pragma once

#include "platform/platform.h"

// Checks the module button of the module (none for 0) and clears the others.
void CheckModuleRadio(WindowHandle dialog, int module);
