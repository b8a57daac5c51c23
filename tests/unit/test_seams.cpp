// Recording implementations of the clock and message-box seams.
#include "tests/unit/test_seams.h"

namespace {
uint32_t Clock = 0;
std::vector<uint32_t> SleepLog;
std::vector<test_seams::MessageBoxCall> BoxLog;
}  // namespace

uint32_t TickCount() { return Clock; }

void SleepMilliseconds(uint32_t ms) {
  SleepLog.push_back(ms);
  Clock += ms;
}

void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned flags) {
  BoxLog.push_back({owner, text, caption, flags});
}

namespace test_seams {
void SetNow(uint32_t now) { Clock = now; }
uint32_t Now() { return Clock; }
const std::vector<uint32_t>& Sleeps() { return SleepLog; }
const std::vector<MessageBoxCall>& MessageBoxes() { return BoxLog; }
void Reset() {
  Clock = 0;
  SleepLog.clear();
  BoxLog.clear();
}
}  // namespace test_seams
