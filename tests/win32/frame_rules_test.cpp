// The frame loop's rules of time and sight, with real windows and messages:
// the 1 ms timer period held while frames are drawn and given back while none
// can be seen, nothing drawn while the display is off or the window cannot be
// seen, slow ticks meanwhile that still take keys and closes, and frames that
// go on from where they stood.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>

#include "frames/display_state_win32.h"
#include "frames/frame_loop_win32.h"
#include "host/saver_window_win32.h"
#include "platform/messages.h"
#include "tests/win32/saver_support_win32.h"
#include "tests/win32/timer_period_win32.h"

namespace {
std::atomic<int> RequestCount{0};
std::atomic<int> ReleaseCount{0};
}  // namespace

extern "C" void __real__Z23RequestMillisecondTimerv();
extern "C" void __real__Z23ReleaseMillisecondTimerv();
extern "C" void __wrap__Z23RequestMillisecondTimerv() {
  ++RequestCount;
  __real__Z23RequestMillisecondTimerv();
}
extern "C" void __wrap__Z23ReleaseMillisecondTimerv() {
  ++ReleaseCount;
  __real__Z23ReleaseMillisecondTimerv();
}

namespace timer_period {
int Requests() { return RequestCount; }
int Releases() { return ReleaseCount; }
void Reset() { RequestCount = ReleaseCount = 0; }
}  // namespace timer_period

namespace {

using namespace saver_support;
using Clock = std::chrono::steady_clock;

constexpr DWORD kOff = 0, kOn = 1, kDimmed = 2;
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kMonitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr GUID kSessionDisplayStatus = {0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};

class FrameRulesTest : public SaverFixture {
 protected:
  void SetUp() override {
    SaverFixture::SetUp();
    timer_period::Reset();
  }
  void MakeFullScreen() {
    window_ = MakeSaverWindow(nullptr);
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(TakeQueued(window_, kRenderTick), 1);
  }
  void MakePreview() {
    parent_ = MakeParent(240, 180);
    ASSERT_NE(parent_, nullptr);
    window_ = MakeSaverWindow(parent_);
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(TakeQueued(window_, kRenderTick), 1);
  }
  // What the system sends when the console display's state changes (or, on
  // Windows 7, the monitor's power).
  void SendDisplayState(DWORD state, const GUID& which = kConsoleDisplayState) {
    alignas(POWERBROADCAST_SETTING) BYTE data[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(data);
    setting->PowerSetting = which;
    setting->DataLength = sizeof state;
    std::memcpy(setting->Data, &state, sizeof state);
    SendMessageA(window_, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(data));
  }
  // One tick; true when it drew a frame. Exactly one RenderTick follows it.
  bool TickDraws() {
    const uint32_t before = SaverState.LastFrameTime;
    const int frames = SceneStates[1].FrameCount;
    HandleRenderTick(window_);
    EXPECT_EQ(TakeQueued(window_, kRenderTick), 1);
    const bool drawn = SaverState.LastFrameTime != before;
    EXPECT_EQ(SceneStates[1].FrameCount, frames + (drawn ? 1 : 0));
    return drawn;
  }
};

// The system tick count moves in steps of about 16 ms; the frame clock's
// smallest step is a millisecond.
TEST(FrameClockTest, TheClockMovesInMillisecondSteps) {
  uint32_t last = TickCount(), smallest = UINT32_MAX;
  for (int changes = 0; changes < 20;) {
    const uint32_t now = TickCount();
    if (now == last) continue;
    smallest = std::min(smallest, now - last);
    last = now;
    ++changes;
  }
  EXPECT_EQ(smallest, 1u);
  // And it counts real milliseconds.
  const uint32_t start = TickCount();
  Sleep(100);
  const uint32_t slept = TickCount() - start;
  EXPECT_GE(slept, 95u);
  EXPECT_LE(slept, 5000u);
}

// Held for hours in front of a switched-off display, the period would keep
// the processor out of its deeper idle states.
TEST_F(FrameRulesTest, TheTimerPeriodIsHeldOnlyWhileFramesAreDrawn) {
  MakeFullScreen();
  ASSERT_TRUE(TickDraws());
  ASSERT_TRUE(TickDraws());
  EXPECT_EQ(timer_period::Requests(), 1);
  EXPECT_EQ(timer_period::Releases(), 0);
  SendDisplayState(kOff);
  EXPECT_FALSE(TickDraws());
  EXPECT_FALSE(TickDraws());
  EXPECT_EQ(timer_period::Requests(), 1);
  EXPECT_EQ(timer_period::Releases(), 1);
  SendDisplayState(kOn);
  EXPECT_TRUE(TickDraws());
  EXPECT_TRUE(TickDraws());
  EXPECT_EQ(timer_period::Requests(), 2);
  EXPECT_EQ(timer_period::Releases(), 1);
  SaverWindowProc(window_, WM_CLOSE, 0, 0);
  SaverWindowProc(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(timer_period::Requests(), 2);
  EXPECT_EQ(timer_period::Releases(), 2);
}

TEST_F(FrameRulesTest, WhileTheDisplayIsOffNothingIsDrawnAndTicksComeSlowly) {
  MakeFullScreen();
  ASSERT_TRUE(TickDraws());
  const uint32_t frame = SaverState.LastFrameTime, switched = SaverState.LastSwitchTime;
  const float spin = SpinAngle;

  SendDisplayState(kOff);
  int ticks = 0;
  for (const auto end = Clock::now() + std::chrono::seconds(1); Clock::now() < end; ++ticks)
    EXPECT_FALSE(TickDraws());
  // Four in a second; a few more when window messages end a wait early, far
  // from the thousands of a loop that never waits.
  EXPECT_LE(ticks, 12);
  EXPECT_EQ(SaverState.LastFrameTime, frame);
  EXPECT_EQ(SpinAngle, spin);
  EXPECT_EQ(SaverState.LastSwitchTime, switched);  // the cycle time counts on

  // Keys are taken as always.
  PostMessageA(window_, WM_KEYDOWN, VK_PRIOR, 1);
  EXPECT_FALSE(TickDraws());
  EXPECT_FLOAT_EQ(g_fDepth, 51.0f);

  // A dimmed display is seen: the scene goes on from where it stood.
  SendDisplayState(kDimmed);
  EXPECT_TRUE(TickDraws());
  SendDisplayState(kOff);
  SendDisplayState(kOn);
  EXPECT_TRUE(TickDraws());

  // And a leaving key closes while the display is off.
  SendDisplayState(kOff);
  PostMessageA(window_, WM_KEYDOWN, VK_ESCAPE, 1);
  HandleRenderTick(window_);
  EXPECT_TRUE(SaverState.Closing);
  EXPECT_EQ(TakeQueued(window_, WM_CLOSE), 1);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 0);
}

TEST_F(FrameRulesTest, AMessageThatWaitsEndsTheUnseenWaitAtOnce) {
  MakeFullScreen();
  SendDisplayState(kOff);
  // A message the drain does not take (it is the thread's, not the window's).
  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  const auto start = Clock::now();
  EXPECT_FALSE(TickDraws());
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kUnseenTickInterval * 4 / 5));
}

TEST_F(FrameRulesTest, OtherSettingsAndOtherEventsLeaveTheDisplayOn) {
  MakeFullScreen();
  SendDisplayState(kOff);
  EXPECT_FALSE(TickDraws());
  SendDisplayState(kOn);
  BYTE data[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};  // another setting, data 0
  SendMessageA(window_, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(data));
  SendMessageA(window_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_TRUE(TickDraws());
}

// Before Windows 8 the monitor's power tells the same, and in a remote
// session the session's display.
TEST_F(FrameRulesTest, TheMonitorsPowerAndTheSessionsDisplayTellTheDisplayStateToo) {
  MakeFullScreen();
  for (const GUID& which : {kMonitorPowerOn, kSessionDisplayStatus}) {
    SendDisplayState(kOff, which);
    EXPECT_FALSE(TickDraws());
    SendDisplayState(kOn, which);
    EXPECT_TRUE(TickDraws());
  }
}

TEST_F(FrameRulesTest, AHiddenOrMinimisedPreviewDrawsNothing) {
  MakePreview();
  EXPECT_TRUE(TickDraws());
  ShowWindow(parent_, SW_HIDE);  // a hidden control-panel page
  EXPECT_FALSE(TickDraws());
  ShowWindow(parent_, SW_SHOWNOACTIVATE);
  ShowWindow(parent_, SW_MINIMIZE);
  EXPECT_FALSE(TickDraws());
  ShowWindow(parent_, SW_RESTORE);
  EXPECT_TRUE(TickDraws());
  // The preview holds the timer while it draws, as the saver does.
  EXPECT_EQ(timer_period::Requests(), 2);
  EXPECT_EQ(timer_period::Releases(), 1);
}

}  // namespace
