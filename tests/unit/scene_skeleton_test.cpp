// The frame skeleton and the shared helpers, on "Love" where a frame is
// needed: the spin wrap, the standard layout and scale, travel wrap-around,
// the sway, an inactive module and a scene shown again.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/module_table.h"
#include "frames/frame.h"
#include "render/headless_gl.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/gl_capture.h"

namespace {

class SceneSkeletonTest : public SceneTest {};

TEST_F(SceneSkeletonTest, SharedValuesStartAsSpecified) {
  EXPECT_EQ(std::bit_cast<uint32_t>(TravelLimit), 0x41CE739Du);
  EXPECT_EQ(static_cast<int>(TravelLimit), 25);
  EXPECT_EQ(CylinderLength, 5.0f);
  EXPECT_EQ(SpinWrapInterval, 500000);
  EXPECT_EQ(SpinAngle, 0.0f);
  EXPECT_EQ(SwayOffset, 0.0f);
  EXPECT_TRUE(SwayRising);
  for (int n = 1; n <= 10; ++n) {
    EXPECT_EQ(SceneStates[n].FrameCount, 0);
    EXPECT_TRUE(SceneStates[n].FirstFrame);
  }
}

// On the 500000th call the angle loses its fraction and is reduced modulo
// 360 with the sign of the dividend; an inactive frame leaves it there.
TEST_F(SceneSkeletonTest, SpinWrapOnTheFiveHundredThousandthCall) {
  ModuleTable[1].active = false;
  for (auto [before, after] : {std::pair{-1234.7f, -154.0f}, std::pair{359.9f, 359.0f},
                               std::pair{-0.5f, 0.0f}, std::pair{725.5f, 5.0f}}) {
    SCOPED_TRACE(before);
    SceneStates[1].FrameCount = SpinWrapInterval - 2;
    SpinAngle = before;
    EXPECT_TRUE(DrawModuleScene(1));
    EXPECT_EQ(SpinAngle, before) << "the 499999th call does not wrap";
    EXPECT_TRUE(DrawModuleScene(1));
    EXPECT_EQ(SpinAngle, after);
    EXPECT_EQ(SceneStates[1].FrameCount, 0);
  }
  // On an active frame the spin step follows the wrap.
  ModuleTable[1].active = true;
  SceneStates[1].FrameCount = SpinWrapInterval - 1;
  SpinAngle = 725.5f;
  g_fSpeed = 0.5f;
  EXPECT_TRUE(DrawModuleScene(1));
  EXPECT_EQ(SpinAngle, 4.5f);
}

TEST_F(SceneSkeletonTest, StandardLayoutAndScale) {
  SceneItem items[kSceneItemCount] = {};
  InitStandardItems(items);
  const float travels[8] = {-25.806452f, -19.354839f, -12.903226f, -6.451613f,
                            0.0f,        6.451613f,   12.903226f,  19.354839f};
  std::vector<int> phaseCount(12, 0);
  for (int i = 0; i < 24; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(items[i].travel(), travels[i / 3], 1e-5);
    const int phase = static_cast<int>(items[i].phase());
    EXPECT_EQ(phase % 30, 0);
    ++phaseCount[static_cast<size_t>(((phase % 360) + 360) % 360 / 30)];
    for (int slot = 0; slot < 10; ++slot) {
      if (slot != kTravel && slot != kPhase) {
        EXPECT_EQ(items[i].slot[slot], 0.0f);
      }
    }
  }
  EXPECT_EQ(items[0].phase(), 0.0f);
  EXPECT_EQ(items[1].phase(), -120.0f);
  EXPECT_EQ(items[2].phase(), -240.0f);
  EXPECT_EQ(items[3].phase(), -30.0f);
  EXPECT_EQ(items[23].phase(), -(240 + 210));
  for (int count : phaseCount) EXPECT_EQ(count, 2);
  for (int i = 24; i < kSceneItemCount; ++i)
    for (float v : items[i].slot) EXPECT_EQ(v, 0.0f);

  EXPECT_FLOAT_EQ(StandardScale(0.0f), 1.2f);
  EXPECT_FLOAT_EQ(StandardScale(TravelLimit), 0.0f);
  EXPECT_FLOAT_EQ(StandardScale(-TravelLimit), 0.0f);
  EXPECT_FLOAT_EQ(StandardScale(TravelLimit / 2), 0.6f);
}

TEST_F(SceneSkeletonTest, AdvanceTravelWrapsPastTheUpperEndOnly) {
  g_fSpeed = 1.0f;
  SceneItem item{};
  item.travel() = 25.80f;
  AdvanceTravel(item, 0.025f);
  EXPECT_EQ(item.travel(), -TravelLimit);
  EXPECT_NEAR(item.travel(), -25.806452f, 1e-6);

  item.travel() = 26.0f;
  AdvanceTravel(item, 0.3f);  // 26.3: one whole unit past the limit's integer part
  EXPECT_FLOAT_EQ(item.travel(), 1.0f - TravelLimit);
  EXPECT_NEAR(item.travel(), -24.806452f, 1e-5);

  item.travel() = TravelLimit - 0.5f;
  AdvanceTravel(item, 0.5f);
  EXPECT_EQ(item.travel(), TravelLimit) << "exactly the limit stays for this frame";
  AdvanceTravel(item, 0.5f);
  EXPECT_FLOAT_EQ(item.travel(), 1.0f - TravelLimit) << "26.31 restarts one unit in";

  item.travel() = -TravelLimit;
  g_fSpeed = 2.0f;
  AdvanceTravel(item, 0.025f);
  EXPECT_FLOAT_EQ(item.travel(), -TravelLimit + 0.05f) << "the step is k × speed";
}

// With speed 0.5 the sway moves 0.01 a frame, turns just past 5 (clamped)
// and just past -5 (clamped), then rises again.
TEST_F(SceneSkeletonTest, SwaySwingsBetweenMinusFiveAndFive) {
  g_fSpeed = 0.5f;
  std::vector<int> turns;
  bool rising = SwayRising;
  float previous = SwayOffset;
  for (int frame = 1; frame <= 2600; ++frame) {
    AdvanceSway();
    ASSERT_LE(std::fabs(SwayOffset), 5.0f);
    if (SwayRising != rising) {
      turns.push_back(frame);
      EXPECT_EQ(SwayOffset, rising ? 5.0f : -5.0f);
      rising = SwayRising;
    } else {
      EXPECT_NEAR(std::fabs(SwayOffset - previous), 0.01f, 1e-4);
    }
    previous = SwayOffset;
  }
  ASSERT_EQ(turns.size(), 3u);
  EXPECT_NEAR(turns[0], 501, 2);
  EXPECT_NEAR(turns[1] - turns[0], 1000, 2);
  EXPECT_NEAR(turns[2] - turns[1], 1000, 2);
  EXPECT_FALSE(SwayRising);
}

bool FrameIsBlack() {
  const std::vector<uint8_t> pixels = ReadHeadlessPixels();
  for (size_t i = 0; i < pixels.size(); i += 4)
    if (pixels[i] || pixels[i + 1] || pixels[i + 2]) return false;
  return !pixels.empty();
}

TEST_F(SceneSkeletonTest, AnInactiveModuleClearsTheFrameAndTouchesNothingElse) {
  ShowModule(1);
  DrawFrames(DrawLove, 3);
  ASSERT_FALSE(FrameIsBlack());
  const SceneState before = SceneStates[1];
  const float spin = SpinAngle;

  ModuleTable[1].active = false;
  auto calls = DrawFrame(DrawLove);
  EXPECT_TRUE(LastResult());
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(FrameIsBlack());
  EXPECT_EQ(SpinAngle, spin);
  EXPECT_EQ(SceneStates[1].FrameCount, before.FrameCount + 1);
  EXPECT_EQ(std::memcmp(SceneStates[1].Items, before.Items, sizeof before.Items), 0);

  // A scene never active keeps FirstFrame and lays out on its first active frame.
  SceneStates[1] = {};
  DrawFrames(DrawLove, 4);
  EXPECT_TRUE(SceneStates[1].FirstFrame);
  EXPECT_EQ(SceneStates[1].FrameCount, 4);
  for (const SceneItem& item : SceneStates[1].Items)
    for (float v : item.slot) EXPECT_EQ(v, 0.0f);
  ModuleTable[1].active = true;
  EXPECT_EQ(DrawFrame(DrawLove).size(), 25u);
  EXPECT_FALSE(SceneStates[1].FirstFrame);
  EXPECT_EQ(SceneStates[1].Items[12].travel(), 0.025f * g_fSpeed);
}

TEST_F(SceneSkeletonTest, ASceneShownAgainResumesItsItemsWithTheSpinRestarted) {
  ShowModule(1);
  DrawFrames(DrawLove, 30);
  const SceneState left = SceneStates[1];
  ASSERT_NE(SpinAngle, 0.0f);
  ShowModule(3);
  DrawFrames(DrawJoy, 10);
  ShowModule(1);
  EXPECT_EQ(SpinAngle, 0.0f);
  EXPECT_FALSE(SceneStates[1].FirstFrame);
  EXPECT_EQ(std::memcmp(SceneStates[1].Items, left.Items, sizeof left.Items), 0);
  DrawFrame(DrawLove);
  EXPECT_FLOAT_EQ(SceneStates[1].Items[12].travel(), left.Items[12].travel() + 0.025f * g_fSpeed);
}

}  // namespace
