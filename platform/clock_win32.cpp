// The clock seam on Windows: the system tick count and Sleep.
#include <windows.h>

#include "platform/platform.h"

uint32_t TickCount() { return GetTickCount(); }
void SleepMilliseconds(uint32_t ms) { Sleep(ms); }
