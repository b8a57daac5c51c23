// The clock seam on Windows. The tick count moves with the system timer, in
// steps of about 16 ms, so milliseconds are read from the performance counter
// instead; Sleep rounds up to the timer's step too unless a 1 ms timer period
// is held, which the frame loop asks for while frames are drawn.
#include <windows.h>

#include <mmsystem.h>

#include "platform/platform.h"

namespace {
constexpr UINT kTimerPeriod = 1;  // ms
}

uint32_t TickCount() {
  LARGE_INTEGER counter{}, frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  // In two parts, so that the product cannot overflow however long the
  // system has been up.
  const uint64_t c = static_cast<uint64_t>(counter.QuadPart);
  const uint64_t f = static_cast<uint64_t>(frequency.QuadPart);
  return static_cast<uint32_t>(c / f * 1000 + c % f * 1000 / f);
}

void SleepMilliseconds(uint32_t ms) { Sleep(ms); }

void RequestMillisecondTimer() { timeBeginPeriod(kTimerPeriod); }
void ReleaseMillisecondTimer() { timeEndPeriod(kTimerPeriod); }
