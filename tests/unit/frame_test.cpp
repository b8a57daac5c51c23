// The frame step with a clock the test controls, in a real headless GL
// context: module cycling, pacing to 30 ms, the module dispatch and when a
// frame is presented.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/module_table.h"
#include "frames/frame.h"
#include "scenes/skeleton.h"
#include "settings/store.h"
#include "tests/unit/gl_capture.h"
#include "tests/unit/test_seams.h"

namespace {

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x4321);

class FrameTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    SaverState.SaverMode = true;
    SaverState.FullScreen = true;
    CurrentModule = 1;
    LoadModuleParams(1);
  }
  // One frame at the given tick count, with the previous frame long ago.
  static void FrameAt(uint32_t now) {
    test_seams::SetNow(now);
    SaverState.LastFrameTime = now - 1000;
    gl_capture::Clear();
    RenderFrame(kWindow);
  }
};

TEST_F(FrameTest, TheModuleChangesOnlyAfterMoreThanTheCycleTime) {
  SaverState.LastSwitchTime = 1000;
  g_fDepth = 33.0f;
  SpinAngle = 50.0f;
  FrameAt(1000 + 15000);
  EXPECT_EQ(CurrentModule, 1);
  FrameAt(1000 + 15001);
  EXPECT_EQ(CurrentModule, 2);
  EXPECT_EQ(SaverState.LastSwitchTime, 16001u);
  EXPECT_EQ(ModuleTable[1].depth, 33.0f);  // the keyboard's change survives the switch
  EXPECT_EQ(g_fDepth, ModuleTable[2].depth);
  EXPECT_LT(std::abs(SpinAngle), 1.0f);  // restarted, then one frame drawn
  // The next switch is measured from this one.
  FrameAt(16001 + 15000);
  EXPECT_EQ(CurrentModule, 2);
  FrameAt(16001 + 15001);
  EXPECT_EQ(CurrentModule, 3);
}

TEST_F(FrameTest, CycleTimeZeroSwitchesOnEveryFrameWithAMillisecondPassed) {
  test_seams::EnableOnly({3, 8});
  CurrentModule = 3;
  CycleTime = 0;
  SaverState.LastSwitchTime = 5000;
  FrameAt(5000);
  EXPECT_EQ(CurrentModule, 3);
  FrameAt(5001);
  EXPECT_EQ(CurrentModule, 8);
  FrameAt(5002);
  EXPECT_EQ(CurrentModule, 3);
  FrameAt(5002);
  EXPECT_EQ(CurrentModule, 3);
}

TEST_F(FrameTest, OneOrNoEnabledModuleNeverSwitches) {
  test_seams::EnableOnly({4});
  CurrentModule = 4;
  CycleTime = 0;
  SpinAngle = 10.0f;
  FrameAt(1u << 30);
  EXPECT_EQ(CurrentModule, 4);
  EXPECT_NE(SpinAngle, 0.0f);  // not reloaded either
  EXPECT_EQ(SaverState.LastSwitchTime, 0u);
  test_seams::EnableOnly({});
  CurrentModule = 0;
  FrameAt(2u << 30);
  EXPECT_EQ(CurrentModule, 0);
}

TEST_F(FrameTest, TheSettingsPreviewNeverCyclesAndMarksItsModuleEachFrame) {
  SaverState.SaverMode = false;
  CycleTime = 0;
  CurrentModule = 2;
  FrameAt(100000);
  FrameAt(200000);
  EXPECT_EQ(CurrentModule, 2);
  ASSERT_EQ(test_seams::ModuleRadios().size(), 2u);
  EXPECT_EQ(test_seams::ModuleRadios()[1].dialog, kWindow);
  EXPECT_EQ(test_seams::ModuleRadios()[1].module, 2);
}

TEST_F(FrameTest, TheSaverDoesNotMarkModuleButtons) {
  FrameAt(100000);
  EXPECT_TRUE(test_seams::ModuleRadios().empty());
}

TEST_F(FrameTest, FramesStartAtLeastThirtyMillisecondsApart) {
  SaverState.LastFrameTime = 1000;
  test_seams::SetNow(1010);
  RenderFrame(kWindow);
  EXPECT_EQ(test_seams::Sleeps(), std::vector<uint32_t>{20});
  EXPECT_EQ(SaverState.LastFrameTime, 1030u);  // taken after the sleep

  test_seams::SetNow(1030 + 45);
  RenderFrame(kWindow);
  EXPECT_EQ(test_seams::Sleeps().size(), 1u);
  EXPECT_EQ(SaverState.LastFrameTime, 1075u);

  // Exactly 30 ms needs no sleep; 29 sleeps one.
  test_seams::SetNow(1075 + 30);
  RenderFrame(kWindow);
  EXPECT_EQ(test_seams::Sleeps().size(), 1u);
  test_seams::SetNow(1105 + 29);
  RenderFrame(kWindow);
  EXPECT_EQ(test_seams::Sleeps().back(), 1u);
}

TEST_F(FrameTest, PacingTakesTheSignedDifference) {
  // A tick count behind the last frame by 10 counts as 10 ms apart.
  SaverState.LastFrameTime = 5010;
  test_seams::SetNow(5000);
  RenderFrame(kWindow);
  EXPECT_EQ(test_seams::Sleeps(), std::vector<uint32_t>{20});
  // Across the wrap of the counter: 0xFFFFFFF6 to 5 is 15 ms.
  SaverState.LastFrameTime = 0xFFFFFFF6u;
  test_seams::SetNow(5);
  RenderFrame(kWindow);
  EXPECT_EQ(test_seams::Sleeps().back(), 15u);
}

TEST_F(FrameTest, TheFirstFrameDoesNotSleep) {
  test_seams::SetNow(86400000);
  RenderFrame(kWindow);
  EXPECT_TRUE(test_seams::Sleeps().empty());
  // Only while the tick count itself is below 30.
  SaverState.LastFrameTime = 0;
  test_seams::SetNow(12);
  RenderFrame(kWindow);
  EXPECT_EQ(test_seams::Sleeps(), std::vector<uint32_t>{18});
}

TEST_F(FrameTest, EachModuleIsDrawnByItsOwnScene) {
  // "Bliss" is the only scene with a central sphere of radius 11.2.
  CurrentModule = 10;
  LoadModuleParams(10);
  SaverState.LastSwitchTime = 50000;
  FrameAt(50000);
  bool blissSphere = false;
  for (const auto& c : gl_capture::Calls())
    blissSphere = blissSphere || (c.kind == gl_capture::Kind::Sphere &&
                                  std::abs(c.baseRadius - 11.2) < 1e-4);
  EXPECT_TRUE(blissSphere);
  EXPECT_FALSE(SceneStates[10].FirstFrame);
  for (int n = 1; n <= 9; ++n) EXPECT_TRUE(SceneStates[n].FirstFrame) << n;
  EXPECT_EQ(test_seams::Swaps(), 1);
}

TEST_F(FrameTest, WithNoModuleFramesArePacedAndPresentedButNothingIsDrawn) {
  test_seams::EnableOnly({});
  CurrentModule = 0;
  SaverState.LastFrameTime = 1000;
  test_seams::SetNow(1010);
  RenderFrame(kWindow);
  EXPECT_TRUE(gl_capture::Calls().empty());
  EXPECT_EQ(test_seams::Sleeps(), std::vector<uint32_t>{20});
  EXPECT_EQ(test_seams::Swaps(), 1);
}

TEST_F(FrameTest, AFrameWithAGlErrorIsNotPresented) {
  gl_capture::RaiseErrorAtCall(0);
  FrameAt(50000);
  EXPECT_FALSE(gl_capture::Calls().empty());
  EXPECT_EQ(test_seams::Swaps(), 0);
  // The next frame is tried as usual.
  gl_capture::RaiseErrorAtCall(-1);
  FrameAt(60000);
  EXPECT_EQ(test_seams::Swaps(), 1);
}

TEST_F(FrameTest, NothingIsPresentedOnceAClosing) {
  SaverState.Closing = true;
  FrameAt(50000);
  EXPECT_EQ(test_seams::Swaps(), 0);
}

}  // namespace

// Each frame stays up for the fewest whole refreshes that last 30 ms.
TEST(SwapIntervalTest, TheFewestRefreshesThatLastAFrameInterval) {
  const struct {
    int hz, interval;
  } cases[] = {{60, 2}, {75, 3}, {120, 4}, {144, 5}, {59, 2}, {100, 3},  // 30.0 ms exactly
               {33, 1}, {34, 2}, {240, 8}, {30, 1}};
  for (const auto& c : cases) EXPECT_EQ(SwapIntervalFor(c.hz), c.interval) << c.hz << " Hz";
  // The systems report 0 or 1 when they do not know the rate.
  EXPECT_EQ(SwapIntervalFor(0), 0);
  EXPECT_EQ(SwapIntervalFor(1), 0);
  EXPECT_EQ(SwapIntervalFor(-60), 0);
}
