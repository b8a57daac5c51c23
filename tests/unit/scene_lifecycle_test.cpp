// What every scene shares, checked for each of them: an inactive module draws
// an empty frame and leaves its items alone, a scene shown again resumes where
// it was left, a GL error at the end of a frame is reported, and long runs at
// the highest speed stay in range without a GL error.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ostream>
#include <vector>

#include "core/module_table.h"
#include "core/random.h"
#include "render/headless_gl.h"
#include "render/render_state.h"
#include "render/texture.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/gl_capture.h"

namespace {

struct SceneCase {
  const char* name;
  int module;
  SceneFrame draw;
  int other;  // a module to show in between that leaves this one's state alone
};

// Names the case in test listings by its scene.
void PrintTo(const SceneCase& s, std::ostream* os) { *os << s.name; }

const SceneCase kScenes[] = {
    {"Peace", 2, DrawPeace, 3},          {"Joy", 3, DrawJoy, 2},
    {"Harmony", 4, DrawHarmony, 2},      {"Creativity", 5, DrawCreativity, 2},
    {"Serenity", 6, DrawSerenity, 2},    {"Truth", 7, DrawTruth, 2},
    {"Insight", 8, DrawInsight, 2},      {"Inspiration", 9, DrawInspiration, 2},
    {"Bliss", 10, DrawBliss, 2},
};

class SceneLifecycleTest : public SceneTest, public ::testing::WithParamInterface<SceneCase> {
 protected:
  void Restart() {
    SceneTest::SetUp();
    SeedRandom(20261209u);
  }
};

bool SameItems(const SceneState& a, const SceneState& b) {
  return std::memcmp(a.Items, b.Items, sizeof a.Items) == 0;
}

bool FrameIsClear() {
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  std::vector<uint8_t> pixels = ReadHeadlessPixels();
  if (pixels.empty()) return false;
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (pixels[i] != static_cast<uint8_t>(std::lround(clear[i % 4] * 255.0f))) return false;
  }
  return true;
}

TEST_P(SceneLifecycleTest, InactiveModuleDrawsAClearedFrameAndLeavesItsItems) {
  const SceneCase& s = GetParam();
  ShowModule(s.module);
  DrawFrames(s.draw, 5);
  ASSERT_TRUE(LastResult());
  ASSERT_FALSE(FrameIsClear()) << "an active frame shows the scene";

  const SceneState before = SceneStates[s.module];
  const float spin = SpinAngle, sway = SwayOffset, xrot = g_fXrot, yrot = g_fYrot;
  ModuleTable[s.module].active = false;
  auto calls = DrawFrames(s.draw, 3);
  EXPECT_TRUE(AllFramesSucceeded());
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(FrameIsClear());
  EXPECT_TRUE(SameItems(before, SceneStates[s.module]));
  EXPECT_EQ(SceneStates[s.module].FrameCount, before.FrameCount + 3);
  EXPECT_EQ(SpinAngle, spin);
  EXPECT_EQ(SwayOffset, sway);
  EXPECT_EQ(g_fXrot, xrot);
  EXPECT_EQ(g_fYrot, yrot);
}

// A scene that has never been active keeps its items unlaid until its first
// active frame, which then lays them out as a fresh start would.
TEST_P(SceneLifecycleTest, FirstActiveFrameComesAfterInactiveOnes) {
  const SceneCase& s = GetParam();
  Restart();
  ShowModule(s.module);
  auto fresh = DrawFrame(s.draw);

  Restart();
  ShowModule(s.module);
  ModuleTable[s.module].active = false;
  DrawFrames(s.draw, 4);
  EXPECT_TRUE(SceneStates[s.module].FirstFrame);
  ModuleTable[s.module].active = true;
  SeedRandom(20261209u);  // the same draws as the fresh start
  auto late = DrawFrame(s.draw);
  ASSERT_EQ(late.size(), fresh.size());
  for (size_t i = 0; i < late.size(); ++i) EXPECT_EQ(late[i].modelView, fresh[i].modelView) << i;
}

// Leaving for another module and coming back: the items go on from where they
// were and SpinAngle starts again at 0, exactly as if the module had only
// been loaded again.
TEST_P(SceneLifecycleTest, ShownAgainResumesItsItemsWithTheSpinRestarted) {
  const SceneCase& s = GetParam();
  Restart();
  ShowModule(s.module);
  DrawFrames(s.draw, 60);
  StoreModuleParams(s.module);
  LoadModuleParams(s.module);
  auto reloaded = DrawFrame(s.draw);

  Restart();
  ShowModule(s.module);
  DrawFrames(s.draw, 60);
  const SceneState left = SceneStates[s.module];
  StoreModuleParams(s.module);
  ShowModule(s.other);
  DrawFrames(Modules[s.other].draw, 40);
  StoreModuleParams(s.other);
  ShowModule(s.module);
  EXPECT_EQ(SpinAngle, 0.0f);
  EXPECT_TRUE(SameItems(left, SceneStates[s.module]));
  auto back = DrawFrame(s.draw);
  ASSERT_EQ(back.size(), reloaded.size());
  for (size_t i = 0; i < back.size(); ++i) EXPECT_EQ(back[i].modelView, reloaded[i].modelView) << i;
}

// An error raised by the frame's last quadric is pending at its end; the next
// frame draws normally.
TEST_P(SceneLifecycleTest, ErrorAtTheEndOfTheFrameIsReported) {
  const SceneCase& s = GetParam();
  ShowModule(s.module);
  const int last = static_cast<int>(DrawFrame(s.draw).size()) - 1;
  ASSERT_TRUE(LastResult());
  gl_capture::RaiseErrorAtCall(last);
  DrawFrame(s.draw);
  EXPECT_FALSE(LastResult());
  gl_capture::RaiseErrorAtCall(-1);
  DrawFrame(s.draw);
  EXPECT_TRUE(LastResult());
}

// Where a scene's items may be: the slots each scene moves stay on their path.
void ExpectItemsInRange(int module) {
  const SceneState& state = SceneStates[module];
  for (int i = 0; i < kSceneItemCount; ++i) {
    const float* v = state.Items[i].slot;
    switch (module) {
      case 8:  // Insight: travel from the centre to the rim
        EXPECT_GE(v[kTravel], 0.0f) << i;
        EXPECT_LE(v[kTravel], TravelLimit) << i;
        break;
      case 9: {  // Inspiration: inside the box, give or take one step
        if (i >= 18) break;
        float f = (40.0f + v[2]) / 40.0f + 1.0f;
        EXPECT_LE(std::fabs(v[2]), 40.0f + 1.0f) << i;
        EXPECT_LE(std::fabs(v[0]), 15.0f * f + 1.0f) << i;
        EXPECT_LE(std::fabs(v[1]), 10.0f * f + 1.0f) << i;
        for (int k = 3; k <= 5; ++k) EXPECT_LE(std::fabs(v[k]), 0.3f) << i;
        break;
      }
      default:
        EXPECT_GE(v[kTravel], -TravelLimit) << i;
        EXPECT_LE(v[kTravel], TravelLimit) << i;
    }
  }
  EXPECT_LE(std::fabs(SwayOffset), 5.0f);
}

// Two thousand frames at the highest speed take every item through its path
// a dozen times or more. The quadrics are recorded, not drawn, to keep the
// run quick: what counts here is where the items go and the render state
// each quadric meets, and every other test draws them.
TEST_P(SceneLifecycleTest, ThousandsOfFramesAtTheHighestSpeed) {
  const SceneCase& s = GetParam();
  ShowModule(s.module);
  g_fSpeed = 10.0f;
  gl_capture::RecordOnly();
  std::vector<gl_capture::QuadricCall> calls;
  for (int round = 0; round < 4; ++round) {
    calls = DrawFrames(s.draw, 500);
    ExpectItemsInRange(s.module);
  }
  EXPECT_TRUE(AllFramesSucceeded());
  ASSERT_FALSE(calls.empty());
  // The scene leaves the render state as it found it.
  for (const auto& c : calls) {
    EXPECT_EQ(c.quadric, Quadric);
    EXPECT_EQ(c.slices, 32);
    EXPECT_EQ(c.stacks, 32);
    EXPECT_TRUE(c.modelViewMode && c.depthTest && c.alphaTest && c.texture2D);
    EXPECT_FALSE(c.lighting || c.blend);
    EXPECT_EQ(c.boundTexture, SpriteTexture());
  }
}

INSTANTIATE_TEST_SUITE_P(Scenes, SceneLifecycleTest, ::testing::ValuesIn(kScenes),
                         [](const ::testing::TestParamInfo<SceneCase>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
