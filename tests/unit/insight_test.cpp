// "Insight": short tubes streaming out along turning rays, restarting near the centre.
#include <cmath>

#include "core/module_table.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/gl_capture.h"
#include "tests/unit/scene_geometry.h"

namespace {

using namespace gl_capture;
using namespace scene_geometry;

constexpr double kTol = 1e-4;

// The direction of a ray about the scene's y axis, in degrees from +z toward +x.
double RayAngle(Vec3 p) { return std::atan2(p.x, p.z) * 180.0 / std::numbers::pi; }

class InsightTest : public SceneTest {};

TEST_F(InsightTest, FirstFrameStartsTwoDozensOnOppositeRays) {
  ShowModule(8);
  auto calls = DrawFrame(DrawInsight);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 24u);  // no central object
  for (int i = 0; i < 24; ++i) {
    const QuadricCall& c = calls[i];
    EXPECT_EQ(c.kind, Kind::Cylinder);
    EXPECT_EQ(c.height, 5.0);
    Vec3 centre = SceneCentre(c);
    double t = (i % 12) / 12.0;
    double scale = t <= 0.7 ? t : (1.0 - t) * t / 0.3;
    EXPECT_NEAR(Length(centre), 0.4 * 25.806452 * t, kTol) << i;
    EXPECT_NEAR(centre.y, 0.0, kTol) << i;
    EXPECT_NEAR(c.SceneScale(), scale, kTol) << i;
    if (i % 12 != 0) {
      EXPECT_TRUE(Parallel(c.SceneAxis(), {0, 0, 1})) << i;
      EXPECT_NEAR(Wrap180(RayAngle(centre) - ((i % 12) * 45 + (i / 12) * 180)), 0.0, 1e-3) << i;
    }
  }
  EXPECT_NEAR(calls[11].SceneScale(), 0.255, 1e-3);
  EXPECT_NEAR(Length(SceneCentre(calls[0])), 0.0, kTol);
  EXPECT_NEAR(Length(SceneCentre(calls[12])), 0.0, kTol);
  EXPECT_NEAR(calls[0].SceneScale(), 0.0, kTol);
}

// Items 0 and 12 leave the centre on opposite rays, and the rays turn about y.
TEST_F(InsightTest, RaysTurnAsTheTubesMoveOut) {
  ShowModule(8);
  g_fSpeed = 2.0f;
  auto calls = DrawFrames(DrawInsight, 51);  // 50 moves: travel 4, heading 15
  Vec3 a = SceneCentre(calls[0]), b = SceneCentre(calls[12]);
  EXPECT_NEAR(Length(a), 0.4 * 4.0, 1e-3);
  EXPECT_NEAR(Length(a + b), 0.0, 1e-3);
  EXPECT_NEAR(RayAngle(a), 15.0, 1e-2);
  EXPECT_NEAR(Wrap180(RayAngle(SceneCentre(calls[3])) - (135.0 + 15.0)), 0.0, 1e-2);
  // Every tube keeps its axis along z and spins with the full SpinAngle.
  for (int i = 0; i < 24; ++i) {
    EXPECT_TRUE(Parallel(calls[i].SceneAxis(), {0, 0, 1})) << i;
    double turn = AngleAbout({0, 0, 1}, {1, 0, 0}, Normalized(SceneX(calls[i])));
    EXPECT_NEAR(Wrap180(turn + 100.0), 0.0, 1e-2) << i;
  }
}

TEST_F(InsightTest, ScaleGrowsToPointSevenAndFallsToTheRim) {
  ShowModule(8);
  DrawFrame(DrawInsight);
  SceneItem* items = SceneStates[8].Items;
  items[1].travel() = 0.85f * TravelLimit;
  items[2].travel() = 0.7f * TravelLimit;
  items[3].travel() = 0.5f * TravelLimit;
  auto calls = DrawFrame(DrawInsight);
  EXPECT_NEAR(calls[1].SceneScale(), 0.425, 1e-4);
  EXPECT_NEAR(calls[2].SceneScale(), 0.7, 1e-4);
  EXPECT_NEAR(calls[3].SceneScale(), 0.5, 1e-4);
}

// A tube past the rim restarts at the hundredths it overshot 25.80 by.
TEST_F(InsightTest, PastTheRimRestartsNearTheCentre) {
  ShowModule(8);
  g_fSpeed = 1.0f;
  DrawFrame(DrawInsight);
  SceneStates[8].Items[4].travel() = 25.8125f;  // one move of 0.04 reaches 25.8525
  DrawFrame(DrawInsight);
  EXPECT_FLOAT_EQ(SceneStates[8].Items[4].travel(), 0.05f);
  auto calls = DrawFrame(DrawInsight);
  EXPECT_NEAR(Length(SceneCentre(calls[4])), 0.4 * 0.05, kTol);
  EXPECT_NEAR(calls[4].SceneScale(), 0.05 / 25.806452, kTol);
}

// Landing exactly on the rim is not past it: the tube is drawn there once,
// at scale 0, and restarts on the next move.
TEST_F(InsightTest, ExactlyAtTheRimStaysOneFrame) {
  ShowModule(8);
  g_fSpeed = 0.0625f;
  const float step = 0.04f * g_fSpeed;
  float start = TravelLimit - step;
  for (int tries = 0; tries < 8 && start + step != TravelLimit; ++tries) {
    start = std::nextafter(start, start + step < TravelLimit ? 100.0f : 0.0f);
  }
  ASSERT_EQ(start + step, TravelLimit);
  DrawFrame(DrawInsight);
  SceneStates[8].Items[5].travel() = start;
  DrawFrame(DrawInsight);  // moves onto the rim
  auto atRim = DrawFrame(DrawInsight);
  EXPECT_NEAR(Length(SceneCentre(atRim[5])), 0.4 * 25.806452, 1e-3);
  EXPECT_NEAR(atRim[5].SceneScale(), 0.0, 1e-6);
  auto restarted = DrawFrame(DrawInsight);
  EXPECT_NEAR(Length(SceneCentre(restarted[5])), 0.0, kTol);
}


// The heading is folded back by a full circle once it reaches 720 degrees, so
// the rays keep turning at their speed however long the scene runs; the ray
// points the same way across the fold.
TEST_F(InsightTest, HeadingStaysBoundedWithoutAJump) {
  ShowModule(8);
  g_fSpeed = 1.0f;
  DrawFrame(DrawInsight);
  SceneItem& item = SceneStates[8].Items[6];
  item.travel() = 10.0f;
  item.slot[7] = 719.9f;
  auto before = DrawFrame(DrawInsight);  // drawn at 719.9, then 720.05 folds to 360.05
  EXPECT_NEAR(item.slot[7], 360.05f, 1e-3);
  auto after = DrawFrame(DrawInsight);
  EXPECT_NEAR(Wrap180(RayAngle(SceneCentre(after[6])) - RayAngle(SceneCentre(before[6]))), 0.15,
              1e-3);
}

}  // namespace
