// Recording implementations of the clock, message-box, module-button and
// control-menu seams, and a count of the buffer swaps.
#include "tests/unit/test_seams.h"

#include "core/module_table.h"
#include "render/gl_context.h"

namespace {
uint32_t Clock = 0;
std::vector<uint32_t> SleepLog;
std::vector<test_seams::MessageBoxCall> BoxLog;
std::vector<test_seams::ModuleRadioCall> RadioLog;
std::vector<WindowHandle> MenuLog;
int SwapCount = 0;
}  // namespace

extern "C" void __real__Z16SwapFrameBuffersv();
// The linker sends the engine's SwapFrameBuffers calls here.
extern "C" void __wrap__Z16SwapFrameBuffersv() {
  ++SwapCount;
  __real__Z16SwapFrameBuffersv();
}

void CheckModuleRadio(WindowHandle dialog, int module) { RadioLog.push_back({dialog, module}); }

void ShowControlMenu(WindowHandle owner) { MenuLog.push_back(owner); }

uint32_t TickCount() { return Clock; }

void SleepMilliseconds(uint32_t ms) {
  SleepLog.push_back(ms);
  Clock += ms;
}

void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned flags) {
  BoxLog.push_back({owner, text, caption, flags});
}

// Memory is overcommitted here, so a request for many gigabytes would be
// granted; under this ceiling it fails, as it would on a smaller machine, and
// a test sees it (the TGA decoder's refusals before allocating, say).
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=1024";
}

namespace test_seams {
void SetNow(uint32_t now) { Clock = now; }
uint32_t Now() { return Clock; }
const std::vector<uint32_t>& Sleeps() { return SleepLog; }
const std::vector<MessageBoxCall>& MessageBoxes() { return BoxLog; }
const std::vector<ModuleRadioCall>& ModuleRadios() { return RadioLog; }
const std::vector<WindowHandle>& ControlMenus() { return MenuLog; }
int Swaps() { return SwapCount; }
void Reset() {
  Clock = 0;
  SleepLog.clear();
  BoxLog.clear();
  RadioLog.clear();
  MenuLog.clear();
  SwapCount = 0;
}
void EnableOnly(std::initializer_list<int> modules) {
  for (int n = 1; n <= kModuleCount; ++n) ModuleTable[n].active = false;
  for (int n : modules) ModuleTable[n].active = true;
}

}  // namespace test_seams
