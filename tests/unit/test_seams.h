// The platform seams as native tests see them: a clock the test moves by
// hand, and message boxes, module-button checks, control menus and buffer
// swaps that are recorded instead of shown.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace test_seams {

struct MessageBoxCall {
  WindowHandle owner;
  std::string text;
  std::string caption;
  unsigned flags;
};

// The clock: TickCount returns Now(); SleepMilliseconds records the sleep and
// advances the clock by it.
void SetNow(uint32_t now);
uint32_t Now();
const std::vector<uint32_t>& Sleeps();

const std::vector<MessageBoxCall>& MessageBoxes();

// CheckModuleRadio(dialog, module) calls, in order.
struct ModuleRadioCall {
  WindowHandle dialog;
  int module;
};
const std::vector<ModuleRadioCall>& ModuleRadios();

// The owners ShowControlMenu was called with, in order.
const std::vector<WindowHandle>& ControlMenus();

// How often SwapFrameBuffers presented a frame (the real one still runs:
// lumvia_unit_tests is linked with -Wl,--wrap=SwapFrameBuffers).
int Swaps();

// Clears every record and puts the clock back to 0.
void Reset();

// Enables exactly these modules in ModuleTable.
void EnableOnly(std::initializer_list<int> modules);

}  // namespace test_seams
