// The program's instance handle, with which every dialog and resource of the
// program is loaded. The host records it first thing at process entry.
#pragma once

#include <windows.h>

HINSTANCE ProgramInstance();
