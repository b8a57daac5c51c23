// "Joy": stretched spheres climbing a spindle about the axis, around a central sphere.
#include <cmath>

#include "core/module_table.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/gl_capture.h"
#include "tests/unit/scene_geometry.h"

namespace {

using gl_capture::Kind;
using gl_capture::Vec3;
using namespace gl_capture;
using namespace scene_geometry;

constexpr double kTol = 1e-4;
constexpr float kPlateauEdge = 12.903226f;

class JoyTest : public SceneTest {};

// The scale of an item shows as the length of its sphere's own x axis; the
// distance from the axis is 12 times the scale and the height 1.2 × travel.
TEST_F(JoyTest, FirstFrameScalesByGroup) {
  ShowModule(3);
  auto calls = DrawFrame(DrawJoy);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 25u);
  for (int i = 0; i < 24; ++i) {
    const auto& c = calls[i];
    EXPECT_EQ(c.kind, Kind::Sphere);
    EXPECT_EQ(c.baseRadius, 2.0);
    double expected = (i <= 2) ? 0.0 : (i <= 5 || i >= 21) ? 0.6 : 1.2;
    EXPECT_NEAR(c.SceneScale(), expected, kTol) << i;
    EXPECT_NEAR(Length(SceneZ(c)), 1.25 * expected, kTol) << i;  // stretched along its own axis
    Vec3 p = c.SceneOrigin();
    EXPECT_NEAR(DistanceFromZAxis(p), 12.0 * expected, kTol) << i;
    EXPECT_NEAR(p.z, 1.2 * (i / 3 * 6.451613 - 25.806452), kTol) << i;
  }
}

TEST_F(JoyTest, PlateauEdgeIsFullSize) {
  ShowModule(3);
  DrawFrame(DrawJoy);
  SceneStates[3].Items[0].travel() = -kPlateauEdge;
  SceneStates[3].Items[1].travel() = kPlateauEdge;
  SceneStates[3].Items[2].travel() = 0.0f;
  SceneStates[3].Items[3].travel() = 20.0f;
  auto calls = DrawFrame(DrawJoy);
  EXPECT_NEAR(calls[0].SceneScale(), 1.2, 1e-6);
  EXPECT_NEAR(calls[1].SceneScale(), 1.2, 1e-6);
  EXPECT_NEAR(calls[2].SceneScale(), 1.2, 1e-6);
  // Beyond the plateau the scale falls linearly to the end of the path.
  EXPECT_NEAR(calls[3].SceneScale(), 1.2 * (25.806452 - 20.0) / 12.903226, kTol);
}

TEST_F(JoyTest, SpheresAreTiltedAndSpin) {
  ShowModule(3);
  auto calls = DrawFrames(DrawJoy, 2);  // SpinAngle is -0.5 for this frame
  for (int i = 3; i < 24; ++i) {
    const auto& c = calls[i];
    Vec3 p = c.SceneOrigin();
    // The climbing line's own frame: u points from the axis to the item.
    Vec3 u = Normalized({p.x, p.y, 0});
    Vec3 w = Cross({0, 0, 1}, u);
    // The tilt of 55 degrees about the line's x axis (which points toward the
    // axis) leaves the sphere's own axis in the plane across the line.
    Vec3 axis = c.SceneAxis();
    EXPECT_NEAR(Dot(axis, u), 0.0, kTol) << i;
    EXPECT_NEAR(std::fabs(std::acos(axis.z) * 180.0 / std::numbers::pi), 55.0, 1e-3) << i;
    EXPECT_LT(Dot(axis, w), 0.0) << i;  // tipped away from the climb's sense of turn
    // The own spin: 30 degrees per item index plus the full SpinAngle.
    Vec3 x = Normalized(SceneX(c));
    double own = AngleAbout(axis, -1.0 * u, x);
    EXPECT_NEAR(Wrap180(own - (30.0 * i - 0.5)), 0.0, 1e-3) << i;
  }
}

TEST_F(JoyTest, CentralSphereHasRadiusSevenAndTurnsAtAThird) {
  ShowModule(3);
  auto first = DrawFrame(DrawJoy);
  const auto& c = first.at(24);
  EXPECT_EQ(c.kind, Kind::Sphere);
  EXPECT_EQ(c.baseRadius, 7.0);
  EXPECT_NEAR(Length(c.SceneOrigin()), 0.0, kTol);
  EXPECT_TRUE(c.UniformScale());
  auto later = DrawFrames(DrawJoy, 30);
  double turn = Wrap180(Azimuth(SceneX(later[24])) - Azimuth(SceneX(c)));
  EXPECT_NEAR(turn, -15.0 / 3.0, 1e-3);
}

}  // namespace
