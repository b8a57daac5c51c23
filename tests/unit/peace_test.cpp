// "Peace": tubes on half-circle arcs through the axis, around a central cylinder.
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

constexpr double kArcRadius = 15.180265;
constexpr double kTol = 1e-4;

class PeaceTest : public SceneTest {};

TEST_F(PeaceTest, FirstFrameStartsAtTheBottomAndIsWidestInTheMiddle) {
  ShowModule(2);
  auto calls = DrawFrame(DrawPeace);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 25u);
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(calls[i].kind, Kind::Cylinder);
    EXPECT_EQ(calls[i].baseRadius, 2.0);
    EXPECT_EQ(calls[i].height, 5.0);
  }
  for (int i = 12; i <= 14; ++i) {
    const auto& c = calls[i];
    Vec3 p = c.SceneOrigin();
    EXPECT_NEAR(DistanceFromZAxis(p), kArcRadius, kTol) << i;
    EXPECT_NEAR(p.z, 0.0, kTol) << i;
    EXPECT_NEAR(c.SceneScale(), 1.2, kTol) << i;
    // Points up the arc, and is 1.25 times longer than wide: 6.25 × 1.2.
    EXPECT_NEAR(c.SceneAxis().z, 1.0, kTol) << i;
    EXPECT_NEAR(Length(c.SceneTop() - p), 7.5, kTol) << i;
  }
  for (int i = 0; i <= 2; ++i) {
    Vec3 p = calls[i].SceneOrigin();
    EXPECT_NEAR(DistanceFromZAxis(p), 0.0, kTol) << i;
    EXPECT_NEAR(p.z, -kArcRadius, kTol) << i;
    EXPECT_NEAR(calls[i].SceneScale(), 0.0, kTol) << i;
  }
}

TEST_F(PeaceTest, CentralCylinderStandsOnTheAxisBetweenTheEnds) {
  ShowModule(2);
  auto calls = DrawFrame(DrawPeace);
  const auto& c = calls.at(24);
  EXPECT_EQ(c.kind, Kind::Cylinder);
  EXPECT_NEAR(c.baseRadius, 6.4, 1e-12);
  EXPECT_NEAR(c.topRadius, 6.4, 1e-12);
  EXPECT_NEAR(c.height, 18.823529, 1e-6);
  EXPECT_NEAR(DistanceFromZAxis(c.SceneOrigin()), 0.0, kTol);
  EXPECT_NEAR(c.SceneOrigin().z, -10.666667, kTol);
  EXPECT_NEAR(c.SceneTop().z, 8.156862, kTol);
  EXPECT_TRUE(c.UniformScale());
  EXPECT_NEAR(c.SceneScale(), 1.0, kTol);
}

// Every item stays on its arc (a half-circle about the origin through both
// end points) and its tube points the way it moves.
TEST_F(PeaceTest, ItemsRideTheirArcsPointingForward) {
  ShowModule(2);
  auto before = DrawFrames(DrawPeace, 300);
  auto after = DrawFrame(DrawPeace);
  for (int i = 0; i < 24; ++i) {
    Vec3 p = before[i].SceneOrigin();
    Vec3 q = after[i].SceneOrigin();
    EXPECT_NEAR(Length(p), kArcRadius, kTol) << i;
    EXPECT_LE(p.x * p.x + p.y * p.y, kArcRadius * kArcRadius + kTol);
    if (DistanceFromZAxis(p) < 1.0) continue;  // near an end: too small to judge
    Vec3 axis = before[i].SceneAxis();
    EXPECT_NEAR(Dot(axis, Normalized(p)), 0.0, kTol) << i;  // along the arc
    EXPECT_NEAR(Dot(axis, Cross({0, 0, 1}, Normalized(p))), 0.0, kTol) << i;  // in its plane
    EXPECT_GT(Dot(q - p, axis), 0.0) << i;
    EXPECT_GT(q.z, p.z) << i;  // the arcs rise
  }
}

// Item i shares its arc with the item four groups on whose place in its group
// is one less (items 0 and 14, 1 and 12, 2 and 13, ...).
TEST_F(PeaceTest, TwoItemsShareEachArcHalfAnArcApart) {
  ShowModule(2);
  auto calls = DrawFrames(DrawPeace, 100);
  for (int i = 0; i < 12; ++i) {
    int partner = i + 12 - i % 3 + (i % 3 + 2) % 3;
    Vec3 p = calls[i].SceneOrigin();
    Vec3 q = calls[partner].SceneOrigin();
    EXPECT_NEAR(Wrap180(Azimuth(p) - Azimuth(q)), 0.0, 1e-3) << i;
    double between = std::acos(Dot(Normalized(p), Normalized(q))) * 180.0 / std::numbers::pi;
    EXPECT_NEAR(between, 90.0, 1e-2) << i;
  }
}

// The arcs turn at a quarter of the spin, the central cylinder at a third.
TEST_F(PeaceTest, ArcsAndCylinderTurnWithTheSpin) {
  ShowModule(2);
  g_fSpeed = 2.0f;
  auto first = DrawFrame(DrawPeace);
  auto later = DrawFrames(DrawPeace, 40);  // SpinAngle fell by 2 × 40 before this frame
  double arcTurn = Wrap180(Azimuth(later[13].SceneOrigin()) - Azimuth(first[13].SceneOrigin()));
  EXPECT_NEAR(arcTurn, -80.0 / 4.0, 1e-3);
  double centralTurn = Wrap180(Azimuth(SceneX(later[24])) - Azimuth(SceneX(first[24])));
  EXPECT_NEAR(centralTurn, -80.0 / 3.0, 1e-3);
}

}  // namespace
