// "Bliss": six arms about a narrowed central sphere, with three small spheres
// circling at the tip of each arm.
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
constexpr double kArmLength = 17.5;
constexpr double kCircling = 5.0 / 1.5;

// The tip of arm k: the middle of its three spheres, which stand 120 degrees
// apart on their circle.
Vec3 Tip(const std::vector<QuadricCall>& calls, int k) {
  Vec3 sum{0, 0, 0};
  for (int j = 0; j < 3; ++j) sum = sum + calls[3 * k + j].SceneOrigin();
  return (1.0 / 3.0) * sum;
}

// The axis the spheres of arm k circle about: across the arm, in the plane
// of the arms.
Vec3 CirclingAxis(Vec3 tip) { return Cross({0, 0, 1}, Normalized(tip)); }

class BlissTest : public SceneTest {};

TEST_F(BlissTest, ArmsCarryThreeNarrowedSpheresEach) {
  ShowModule(10);
  auto calls = DrawFrame(DrawBliss);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 19u);
  for (int k = 0; k < 6; ++k) {
    Vec3 tip = Tip(calls, k);
    EXPECT_NEAR(tip.z, 0.0, kTol) << k;
    EXPECT_NEAR(Length(tip), kArmLength, kTol) << k;
    // Arm k is 60 degrees on from arm 0, turning about -z: clockwise seen from +z.
    EXPECT_NEAR(Wrap180(Azimuth(tip) + 60.0 * k), 0.0, 1e-3) << k;
    for (int j = 0; j < 3; ++j) {
      const QuadricCall& c = calls[3 * k + j];
      EXPECT_EQ(c.kind, Kind::Sphere);
      EXPECT_NEAR(c.baseRadius, 2.4, 1e-6);
      EXPECT_NEAR(Length(c.SceneOrigin() - tip), kCircling, kTol);
      EXPECT_NEAR(Dot(c.SceneOrigin() - tip, CirclingAxis(tip)), 0.0, kTol);
      EXPECT_NEAR(Length(SceneX(c)), 0.9, 1e-5);
      EXPECT_NEAR(Length(SceneZ(c)), 1.0, 1e-5);
    }
  }
  const QuadricCall& central = calls[18];
  EXPECT_EQ(central.kind, Kind::Sphere);
  EXPECT_NEAR(central.baseRadius, 11.2, 1e-6);
  EXPECT_NEAR(Length(central.SceneOrigin()), 0.0, kTol);
  EXPECT_NEAR(Length(SceneX(central)), 0.9, 1e-5);
  EXPECT_NEAR(Length(SceneZ(central)), 1.0, 1e-5);
  EXPECT_TRUE(Parallel(SceneZ(central), {0, 0, 1}));
}

// Neighbouring arms circle in opposite senses; the arms turn one way about z
// and the central sphere the other.
TEST_F(BlissTest, TurningSenses) {
  ShowModule(10);
  g_fSpeed = 2.0f;
  auto first = DrawFrame(DrawBliss);
  auto later = DrawFrames(DrawBliss, 5);  // SpinAngle fell by 10
  for (int k = 0; k < 6; ++k) {
    Vec3 t0 = Tip(first, k), t1 = Tip(later, k);
    EXPECT_NEAR(Wrap180(Azimuth(t1) - Azimuth(t0)), 10.0 / 4.0, 1e-3) << k;
    Vec3 n = CirclingAxis(t1);
    Vec3 before = first[3 * k].SceneOrigin() - t0;
    // The earlier offset, carried along with the arm's turn.
    double a = 2.5 * std::numbers::pi / 180.0;
    before = {before.x * std::cos(a) - before.y * std::sin(a),
              before.x * std::sin(a) + before.y * std::cos(a), before.z};
    Vec3 after = later[3 * k].SceneOrigin() - t1;
    double circled = AngleAbout(n, Normalized(before), Normalized(after));
    EXPECT_NEAR(circled, k % 2 == 0 ? -10.0 : 10.0, 1e-2) << k;
  }
  double central = Wrap180(Azimuth(SceneX(later[18])) - Azimuth(SceneX(first[18])));
  EXPECT_NEAR(central, -10.0 / 3.0, 1e-3);
}

// Each small sphere turns about its own axis from 300 × i degrees, at twice
// the rate of SpinAngle.
TEST_F(BlissTest, OwnTurnStartsAtThreeHundredTimesTheIndex) {
  ShowModule(10);
  auto first = DrawFrame(DrawBliss);
  auto later = DrawFrames(DrawBliss, 9);  // at Bliss's own speed 0.3, SpinAngle -2.7
  for (int i = 0; i < 18; ++i) {
    for (const auto* calls : {&first, &later}) {
      const QuadricCall& c = (*calls)[i];
      Vec3 axis = Normalized(SceneZ(c));
      Vec3 across = CirclingAxis(Tip(*calls, i / 3));
      Vec3 reference = Cross(across, axis);
      double expected = 300.0 * i + (calls == &first ? 0.0 : 2.0 * -2.7);
      double own = AngleAbout(axis, reference, Normalized(SceneX(c)));
      EXPECT_NEAR(Wrap180(own - expected), 0.0, 1e-2) << i;
    }
  }
}

}  // namespace
