// The clock seam natively: a steady millisecond clock, wrapping like the
// Windows tick count. Sleeps are already precise to well under a millisecond,
// so there is no timer period to ask for.
#include <chrono>
#include <thread>

#include "platform/platform.h"

uint32_t TickCount() {
  using namespace std::chrono;
  auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<uint32_t>(ms);
}

void SleepMilliseconds(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void RequestMillisecondTimer() {}
void ReleaseMillisecondTimer() {}
