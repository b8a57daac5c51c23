// The platform seams as native tests see them: a clock the test moves by
// hand, and message boxes that are recorded instead of shown.
#pragma once

#include <cstdint>
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

// Clears every record and puts the clock back to 0.
void Reset();

}  // namespace test_seams
