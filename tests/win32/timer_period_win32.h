// Counts of the 1 ms timer requests and releases the frame loop makes:
// lumvia_win32_tests is linked with -Wl,--wrap for both, and the real ones
// still run (frame_rules_test.cpp).
#pragma once

namespace timer_period {
int Requests();
int Releases();
void Reset();
}  // namespace timer_period
