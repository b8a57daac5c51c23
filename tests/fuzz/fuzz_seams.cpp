// The platform seams of the fuzz targets: a clock that stands still, message
// boxes counted, and no resources, module buttons or control menu.
#include "tests/fuzz/fuzz_seams.h"

#include "platform/platform.h"

namespace {
int BoxCount = 0;
}  // namespace

uint32_t TickCount() { return 0; }
void SleepMilliseconds(uint32_t) {}
void ShowMessageBox(WindowHandle, const char*, const char*, unsigned) { ++BoxCount; }
bool FindResourceBytes(uint16_t, const char*, const uint8_t**, size_t*) { return false; }
void CheckModuleRadio(WindowHandle, int) {}
void ShowControlMenu(WindowHandle) {}

namespace fuzz_seams {
int MessageBoxes() { return BoxCount; }
void Reset() { BoxCount = 0; }
}  // namespace fuzz_seams
