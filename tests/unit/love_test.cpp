// "Love" drawn in the headless context, checked by where its quadrics land:
// tubes running around twelve loops through the axis, growing to full size
// at the far point, always upright, and the central cylinder on the axis.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

#include "core/module_table.h"
#include "render/headless_gl.h"
#include "render/render_state.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/gl_capture.h"

namespace {

using gl_capture::Vec3;

constexpr double kLoopRadius = TravelLimit / 1.7;  // 15.18
constexpr double kTolerance = 1e-3;

class LoveTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    ShowModule(1);
  }
  // The item's own point: 7.5 of its scale up the tube from its base.
  static Vec3 ItemPoint(const gl_capture::QuadricCall& c) {
    return c.ToScene({0, 0, 7.5 / 2.0});
  }
  static double Azimuth(Vec3 p) { return std::atan2(p.y, p.x) * 180.0 / std::numbers::pi; }
  static double Wrap360(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
  }
};

TEST_F(LoveTest, DrawsTwentyFourItemTubesThenTheCentralCylinder) {
  auto calls = DrawFrame(DrawLove);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 25u);
  for (size_t i = 0; i < 24; ++i) {
    EXPECT_EQ(calls[i].kind, gl_capture::Kind::Cylinder);
    EXPECT_EQ(calls[i].baseRadius, 2.0);
    EXPECT_EQ(calls[i].topRadius, 2.0);
    EXPECT_EQ(calls[i].height, 5.0);
  }
  EXPECT_EQ(calls[24].baseRadius, 8.0);
  EXPECT_EQ(calls[24].topRadius, 8.0);
  EXPECT_EQ(calls[24].height, 24.0);
  for (const auto& c : calls) {
    EXPECT_EQ(c.quadric, Quadric);
    EXPECT_EQ(c.slices, 32);
    EXPECT_EQ(c.stacks, 32);
  }
}

TEST_F(LoveTest, FirstFrameStartsThreeItemsOnTheAxisAndThreeAtTheFarPoint) {
  auto calls = DrawFrame(DrawLove);
  for (int i : {0, 1, 2}) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(calls[i].SceneScale(), 0.0, 1e-5) << "invisible";
    EXPECT_NEAR(gl_capture::DistanceFromZAxis(calls[i].SceneOrigin()), 0.0, kTolerance);
  }
  for (int i : {12, 13, 14}) {
    SCOPED_TRACE(i);
    // Scale 1.2, doubled for the tube: radius 4.8, length 12.
    EXPECT_NEAR(calls[i].SceneScale(), 2.4, 1e-5);
    EXPECT_TRUE(calls[i].UniformScale());
    const Vec3 point = ItemPoint(calls[i]);
    EXPECT_NEAR(gl_capture::DistanceFromZAxis(point), 2 * kLoopRadius, kTolerance);
    EXPECT_NEAR(gl_capture::DistanceFromZAxis(point), 30.36, 0.01);  // twice 25.806452 / 1.7
    EXPECT_NEAR(point.z, 0.0, kTolerance);
    // The tube reaches from 7.5 × 1.2 below the point to 2.5 × 1.2 above it.
    EXPECT_NEAR(calls[i].SceneOrigin().z, -9.0, kTolerance);
    EXPECT_NEAR(calls[i].SceneTop().z, 3.0, kTolerance);
  }
}

// Every item lies on its loop: a circle of radius TravelLimit / 1.7 in a
// half-plane through the z axis, whose centre is that far from the axis. Its
// place on the circle follows its travel, and the tube stays upright.
TEST_F(LoveTest, ItemsRunAroundTheirLoopsUpright) {
  for (int frames : {1, 137, 420}) {
    SCOPED_TRACE(frames);
    FrameState = {};
    ShowModule(1);
    g_fSpeed = 10.0f;
    SetViewport(1, 1);  // only the geometry matters here: keep the run quick
    DrawFrames(DrawLove, frames - 1);
    const float spin = SpinAngle;
    SceneItem items[24];
    std::copy_n(SceneStates[1].Items, 24, items);
    if (SceneStates[1].FirstFrame) InitStandardItems(items);
    auto calls = DrawFrame(DrawLove);
    SetViewport(HeadlessWidth(), HeadlessHeight());
    ASSERT_TRUE(AllFramesSucceeded());
    for (int i = 0; i < 24; ++i) {
      SCOPED_TRACE(i);
      const double travel = items[i].travel();
      const double s = StandardScale(items[i].travel());
      EXPECT_NEAR(calls[i].SceneScale(), 2.0 * s, 1e-4);
      if (s < 1e-3) continue;
      EXPECT_TRUE(calls[i].UniformScale());
      EXPECT_TRUE(gl_capture::Parallel(calls[i].SceneAxis(), {0, 0, 1}));
      EXPECT_GT(calls[i].SceneAxis().z, 0.0);
      // The loop's half-plane and the point's place on the loop.
      const Vec3 p = ItemPoint(calls[i]);
      const double theta = travel * std::numbers::pi / TravelLimit;
      EXPECT_NEAR(gl_capture::DistanceFromZAxis(p), kLoopRadius * (1 + std::cos(theta)), 2e-3);
      EXPECT_NEAR(p.z, -kLoopRadius * std::sin(theta), 2e-3);
      if (gl_capture::DistanceFromZAxis(p) > 0.1) {
        const double plane = spin / 4.0 + items[i].phase();
        EXPECT_NEAR(std::remainder(Azimuth(p) - plane, 360.0), 0.0, 0.05);
      }
    }
  }
}

// Twelve loops 30 degrees apart, each carrying two items half a loop apart.
TEST_F(LoveTest, TwelveLoopsThirtyDegreesApartWithTwoItemsEach) {
  auto calls = DrawFrame(DrawLove);
  std::map<long, std::vector<int>> loops;  // azimuth of the loop's plane → items
  for (int i = 0; i < 24; ++i) {
    // With SpinAngle 0 each item's loop lies in the half-plane at its phase.
    const Vec3 p = ItemPoint(calls[i]);
    const double azimuth = Wrap360(-SceneStates[1].Items[i].phase());
    if (gl_capture::DistanceFromZAxis(p) > 0.1) {
      EXPECT_NEAR(std::remainder(Azimuth(p) + azimuth, 360.0), 0.0, 0.05) << i;
    }
    loops[std::lround(azimuth)].push_back(i);
  }
  ASSERT_EQ(loops.size(), 12u);
  long expected = 0;
  for (const auto& [azimuth, items] : loops) {
    EXPECT_EQ(azimuth, expected);
    expected += 30;
    ASSERT_EQ(items.size(), 2u);
    // Half a loop apart: their points are opposite ends of a diameter.
    const Vec3 a = ItemPoint(calls[items[0]]), b = ItemPoint(calls[items[1]]);
    const double plane = -azimuth * std::numbers::pi / 180.0;
    const Vec3 centre = {kLoopRadius * std::cos(plane), kLoopRadius * std::sin(plane), 0.0};
    EXPECT_NEAR(gl_capture::Length(0.5 * (a + b) - centre), 0.0, 2e-3) << azimuth;
  }
}

TEST_F(LoveTest, CentralCylinderStandsOnTheAxisAndTurnsAtAThirdOfTheSpin) {
  g_fSpeed = 3.0f;
  DrawFrames(DrawLove, 40);
  const float spin = SpinAngle;
  auto calls = DrawFrame(DrawLove);
  const auto& central = calls[24];
  EXPECT_NEAR(central.SceneScale(), 1.0, 1e-5);
  EXPECT_TRUE(central.UniformScale());
  EXPECT_TRUE(gl_capture::Parallel(central.SceneAxis(), {0, 0, 1}));
  EXPECT_NEAR(gl_capture::DistanceFromZAxis(central.SceneOrigin()), 0.0, kTolerance);
  EXPECT_NEAR(central.SceneOrigin().z, -12.0, kTolerance);
  EXPECT_NEAR(central.SceneTop().z, 12.0, kTolerance);
  const Vec3 x = gl_capture::TransformDirection(central.SceneMatrix(), {1, 0, 0});
  EXPECT_NEAR(std::remainder(Azimuth(x) - spin / 3.0, 360.0), 0.0, 0.01);
}

TEST_F(LoveTest, ItemsMoveByAFortiethOfTheSpeedAndTheSpinFallsByTheSpeed) {
  g_fSpeed = 0.5f;
  DrawFrame(DrawLove);
  const SceneState before = SceneStates[1];
  const float spin = SpinAngle;
  DrawFrame(DrawLove);
  EXPECT_FLOAT_EQ(SpinAngle, spin - 0.5f);
  for (int i = 0; i < 24; ++i) {
    const float moved = SceneStates[1].Items[i].travel() - before.Items[i].travel();
    if (moved > 0) {
      EXPECT_NEAR(moved, 0.0125f, 1e-5) << i;
    } else {
      EXPECT_NEAR(SceneStates[1].Items[i].travel(), -TravelLimit, 1.0) << "wrapped " << i;
    }
    EXPECT_EQ(SceneStates[1].Items[i].phase(), before.Items[i].phase());
  }
}

TEST_F(LoveTest, ErrorsInItemTubesAreConsumedButOneInTheCentralCylinderFailsTheFrame) {
  for (int item : {0, 11, 23}) {
    gl_capture::RaiseErrorAtCall(item);
    DrawFrame(DrawLove);
    EXPECT_TRUE(LastResult()) << item;
  }
  gl_capture::RaiseErrorAtCall(24);
  DrawFrame(DrawLove);
  EXPECT_FALSE(LastResult());
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the result consumed it";
  gl_capture::RaiseErrorAtCall(-1);
  DrawFrame(DrawLove);
  EXPECT_TRUE(LastResult());
}

}  // namespace
