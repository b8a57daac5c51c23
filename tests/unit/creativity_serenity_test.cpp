// "Creativity" and "Serenity": spheres circling about a central sphere, and
// spheres on loops that leave the central sphere and come back into it.
#include <cmath>

#include "core/module_table.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/gl_capture.h"
#include "tests/unit/scene_geometry.h"

namespace {

using namespace gl_capture;
using namespace scene_geometry;

constexpr double kRadius = 15.180265;  // TravelLimit / 1.7
constexpr double kTol = 1e-4;

// The turn of a sphere about its own axis, measured in the plane of its
// circle: `normal` is the circle plane's normal that the sphere's unturned
// frame carries as its y axis.
double OwnTurn(const QuadricCall& c, Vec3 normal) {
  Vec3 axis = c.SceneAxis();
  return AngleAbout(axis, Cross(normal, axis), Normalized(SceneX(c)));
}

// The normal a plane through the z axis carries when it is turned by the
// angle `azimuth` (in degrees) about z: the turned y axis.
Vec3 TurnedY(double azimuth) {
  double a = azimuth * std::numbers::pi / 180.0;
  return {-std::sin(a), std::cos(a), 0.0};
}

class CreativityTest : public SceneTest {};

TEST_F(CreativityTest, FirstFramePlacesTheGroupsAroundTheCircle) {
  ShowModule(5);
  auto calls = DrawFrame(DrawCreativity);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 25u);
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(calls[i].kind, Kind::Sphere);
    EXPECT_EQ(calls[i].baseRadius, 2.0);
    EXPECT_NEAR(Length(calls[i].SceneOrigin()), kRadius, kTol) << i;
  }
  for (int i = 6; i <= 8; ++i) {  // over the top
    Vec3 p = calls[i].SceneOrigin();
    EXPECT_NEAR(DistanceFromZAxis(p), 0.0, kTol) << i;
    EXPECT_NEAR(p.z, kRadius, kTol) << i;
    EXPECT_NEAR(calls[i].SceneScale(), 0.6, kTol) << i;
  }
  for (int i = 18; i <= 20; ++i) {  // under the bottom
    Vec3 p = calls[i].SceneOrigin();
    EXPECT_NEAR(DistanceFromZAxis(p), 0.0, kTol) << i;
    EXPECT_NEAR(p.z, -kRadius, kTol) << i;
    EXPECT_NEAR(calls[i].SceneScale(), 0.6, kTol) << i;
  }
  for (int i = 12; i <= 14; ++i) {  // the far side, at full size
    EXPECT_NEAR(calls[i].SceneOrigin().z, 0.0, kTol) << i;
    EXPECT_NEAR(calls[i].SceneScale(), 1.2, kTol) << i;
  }
  for (int i = 0; i <= 2; ++i) {  // at the start
    EXPECT_NEAR(calls[i].SceneOrigin().z, 0.0, kTol) << i;
    EXPECT_NEAR(calls[i].SceneScale(), 0.0, kTol) << i;
  }
  const QuadricCall& central = calls[24];
  EXPECT_EQ(central.kind, Kind::Sphere);
  EXPECT_EQ(central.baseRadius, 8.0);
  EXPECT_NEAR(Length(central.SceneOrigin()), 0.0, kTol);
}

// Every sphere keeps its radius from the centre, points its own axis along
// the radius, and passes over the top first.
TEST_F(CreativityTest, SpheresCircleTheCentreOverTheTopFirst) {
  ShowModule(5);
  g_fSpeed = 4.0f;
  auto calls = DrawFrames(DrawCreativity, 40);
  for (int i = 0; i < 24; ++i) {
    Vec3 p = calls[i].SceneOrigin();
    EXPECT_NEAR(Length(p), kRadius, kTol) << i;
    if (calls[i].SceneScale() > 0.05) {
      EXPECT_TRUE(Parallel(calls[i].SceneAxis(), p, 1e-3)) << i;
    }
  }
  for (int i = 0; i <= 2; ++i) EXPECT_GT(calls[i].SceneOrigin().z, 0.0) << i;
}

TEST_F(CreativityTest, PlanesSpheresAndCentreTurnAtTheirRates) {
  ShowModule(5);
  auto first = DrawFrame(DrawCreativity);
  auto later = DrawFrames(DrawCreativity, 40);  // SpinAngle -20, travel moved by 1
  // Item 12 is on the far side, so its plane's turned x axis points at it.
  double a0 = Azimuth(first[12].SceneOrigin()), a1 = Azimuth(later[12].SceneOrigin());
  EXPECT_NEAR(Wrap180(a1 - a0), -20.0 / 4.0, 1e-3);
  EXPECT_NEAR(Wrap180(OwnTurn(first[12], TurnedY(a0)) - 30.0 * 12), 0.0, 1e-2);
  EXPECT_NEAR(Wrap180(OwnTurn(later[12], TurnedY(a1)) - (30.0 * 12 - 1.5 * 20.0)), 0.0, 1e-2);
  double central = Wrap180(Azimuth(SceneX(later[24])) - Azimuth(SceneX(first[24])));
  EXPECT_NEAR(central, -20.0 / 3.0, 1e-3);
}

class SerenityTest : public SceneTest {};

TEST_F(SerenityTest, FirstFrameFromTheCentreToTheFarPoint) {
  ShowModule(6);
  auto calls = DrawFrame(DrawSerenity);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 25u);
  Vec3 far = calls[14].SceneOrigin();
  EXPECT_NEAR(DistanceFromZAxis(far), 2.0 * kRadius, kTol);
  EXPECT_NEAR(far.z, 0.0, kTol);
  EXPECT_NEAR(calls[14].SceneScale(), 1.2, kTol);
  EXPECT_NEAR(calls[4].SceneScale(), 0.3, kTol);
  EXPECT_NEAR(Length(calls[0].SceneOrigin()), 0.0, kTol);
  EXPECT_NEAR(calls[0].SceneScale(), 0.0, kTol);
  // Items 0 and 14 share a loop: item 0 sets out along the same direction.
  auto next = DrawFrames(DrawSerenity, 60);
  EXPECT_NEAR(Wrap180(Azimuth(next[0].SceneOrigin()) - Azimuth(next[14].SceneOrigin())), 0.0,
              1e-2);
  const QuadricCall& central = calls[24];
  EXPECT_EQ(central.kind, Kind::Sphere);
  EXPECT_EQ(central.baseRadius, 8.0);
  EXPECT_NEAR(Length(central.SceneOrigin()), 0.0, kTol);
}

// Every loop is a circle of radius TravelLimit / 1.7 through the centre, in a
// plane through the z axis, and a sphere's size follows its place on it.
TEST_F(SerenityTest, SpheresStayOnLoopsThroughTheCentre) {
  ShowModule(6);
  g_fSpeed = 4.0f;
  auto calls = DrawFrames(DrawSerenity, 60);
  for (int i = 0; i < 24; ++i) {
    Vec3 p = calls[i].SceneOrigin();
    if (DistanceFromZAxis(p) < 0.5) continue;
    double a = Azimuth(p) * std::numbers::pi / 180.0;
    Vec3 centre = kRadius * Vec3{std::cos(a), std::sin(a), 0.0};
    EXPECT_NEAR(Length(p - centre), kRadius, kTol) << i;
    // The size follows the place on the loop: full at the far point, falling
    // linearly with the loop angle to nothing at the centre.
    if (Length(p) > 1.99 * kRadius) continue;
    double loopAngle = 2.0 * std::acos(Length(p) / (2.0 * kRadius));
    EXPECT_NEAR(calls[i].SceneScale(), 1.2 * (1.0 - loopAngle / std::numbers::pi), 1e-3) << i;
  }
}

TEST_F(SerenityTest, LoopsCentreAndSpheresTurnAtTheirRates) {
  ShowModule(6);
  auto first = DrawFrame(DrawSerenity);
  auto later = DrawFrames(DrawSerenity, 40);  // SpinAngle -20
  double a0 = Azimuth(first[14].SceneOrigin()), a1 = Azimuth(later[14].SceneOrigin());
  EXPECT_NEAR(Wrap180(a1 - a0), -20.0 / 4.0, 1e-3);
  // The item stands on the negative x side of its turned frame.
  EXPECT_NEAR(Wrap180(OwnTurn(first[14], TurnedY(a0 - 180.0)) - 30.0 * 14), 0.0, 1e-2);
  EXPECT_NEAR(Wrap180(OwnTurn(later[14], TurnedY(a1 - 180.0)) - (30.0 * 14 - 1.7 * 20.0)), 0.0,
              1e-2);
  double central = Wrap180(Azimuth(SceneX(later[24])) - Azimuth(SceneX(first[24])));
  EXPECT_NEAR(central, -20.0 / 3.0, 1e-3);
}

}  // namespace
