// "Inspiration": tubes drifting through a widening box, bouncing off its walls
// with new random speeds.
#include <cmath>
#include <vector>

#include "core/module_table.h"
#include "core/random.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/gl_capture.h"
#include "tests/unit/scene_geometry.h"

namespace {

using namespace gl_capture;
using namespace scene_geometry;

constexpr double kTol = 1e-4;
constexpr uint32_t kSeed = 4242u;

double Widening(double z) { return (40.0 + z) / 40.0 + 1.0; }

// The random numbers the generator gives from a seed, each as r in [-1, 1).
std::vector<double> Draws(uint32_t seed, int n) {
  SeedRandom(seed);
  std::vector<double> r;
  for (int i = 0; i < n; ++i) r.push_back((DrawRandom() - 16384) / 16384.0);
  return r;
}

// Where tube i stands: the middle of its cylinder.
Vec3 Place(const QuadricCall& c) { return SceneCentre(c); }

// The tube's turn about its own axis (the scene's y axis), from +x.
double Turn(const QuadricCall& c) {
  return AngleAbout({0, 1, 0}, {1, 0, 0}, Normalized(SceneX(c)));
}

class InspirationTest : public SceneTest {};

// From a known seed the layout draws, per tube, vz, vx, vy, z, then x and y
// across the box's width at that depth.
TEST_F(InspirationTest, LayoutFollowsTheDrawsInOrder) {
  ShowModule(9);
  std::vector<double> r = Draws(kSeed, 6 * 18 + 1);
  SeedRandom(kSeed);
  auto first = DrawFrame(DrawInspiration);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(first.size(), 18u);
  // Nothing bounced in the first frame: the next draw is the one after the layout.
  EXPECT_EQ((DrawRandom() - 16384) / 16384.0, r[6 * 18]);
  auto second = DrawFrame(DrawInspiration);
  for (int i = 0; i < 18; ++i) {
    const double* d = &r[6 * i];
    double z = 40.0 * d[3];
    double f = Widening(z);
    Vec3 p = Place(first[i]);
    EXPECT_EQ(first[i].kind, Kind::Cylinder);
    EXPECT_EQ(first[i].height, 5.0);
    EXPECT_NEAR(p.x, d[4] * 15.0 * f, kTol) << i;
    EXPECT_NEAR(p.y, d[5] * 10.0 * f, kTol) << i;
    EXPECT_NEAR(p.z, z, kTol) << i;
    EXPECT_TRUE(Parallel(first[i].SceneAxis(), {0, 1, 0})) << i;
    // Every tube lies inside the box before it first moves.
    EXPECT_LE(-15.0 * f, p.x + kTol);
    EXPECT_LT(p.x, 15.0 * f);
    EXPECT_LE(-10.0 * f, p.y + kTol);
    EXPECT_LT(p.y, 10.0 * f);
    EXPECT_LE(-40.0, p.z + kTol);
    EXPECT_LT(p.z, 40.0);
    // One move at speed 0.5: 0.15 × v × 0.5 along each axis.
    Vec3 moved = Place(second[i]) - p;
    EXPECT_NEAR(moved.x, 0.075 * 0.3 * d[1], kTol) << i;
    EXPECT_NEAR(moved.y, 0.075 * 0.3 * d[2], kTol) << i;
    EXPECT_NEAR(moved.z, 0.075 * 0.3 * d[0], kTol) << i;
  }
}

TEST_F(InspirationTest, TubesTurnThirtyDegreesApartAtPointSixFiveOfTheSpin) {
  ShowModule(9);
  g_fSpeed = 2.0f;
  auto first = DrawFrame(DrawInspiration);
  auto later = DrawFrames(DrawInspiration, 10);  // SpinAngle fell by 0.65 × 2 × 10
  for (int i = 0; i < 18; ++i) {
    EXPECT_NEAR(Wrap180(Turn(first[i]) - 30.0 * i), 0.0, 1e-3) << i;
    EXPECT_NEAR(Wrap180(Turn(later[i]) - (30.0 * i - 13.0)), 0.0, 1e-3) << i;
  }
}

// The far wall: a tube beyond z = 40 turns back with a fresh speed (zero or
// heading back), one exactly at 40 goes on and draws nothing.
TEST_F(InspirationTest, BouncesOnlyBeyondTheWall) {
  ShowModule(9);
  DrawFrame(DrawInspiration);
  SceneItem* items = SceneStates[9].Items;
  for (int i = 0; i < 18; ++i) {  // every tube well inside, at rest
    for (int k = 0; k < 6; ++k) items[i].slot[k] = 0.0f;
  }
  items[0].slot[2] = 40.5f;
  items[0].slot[3] = 0.2f;
  items[1].slot[2] = 40.0f;
  items[1].slot[3] = 0.2f;
  std::vector<double> r = Draws(kSeed, 2);
  SeedRandom(kSeed);
  auto calls = DrawFrame(DrawInspiration);
  EXPECT_NEAR(Place(calls[0]).z, 40.5, kTol);  // walls are tested before the move
  EXPECT_FLOAT_EQ(items[0].slot[3], static_cast<float>(-std::fabs(0.3 * r[0])));
  EXPECT_LE(items[0].slot[3], 0.0f);
  EXPECT_LE(items[0].slot[2], 40.5f);
  EXPECT_EQ(items[1].slot[3], 0.2f);
  EXPECT_GT(items[1].slot[2], 40.0f);
  EXPECT_EQ((DrawRandom() - 16384) / 16384.0, r[1]);  // one draw for the one bounce
}

// The side walls widen with depth: at z = 40 the box is 90 wide and 60 high.
TEST_F(InspirationTest, SideWallsWidenTowardTheFarEnd) {
  ShowModule(9);
  DrawFrame(DrawInspiration);
  SceneItem* items = SceneStates[9].Items;
  for (int i = 0; i < 18; ++i) {
    for (int k = 0; k < 6; ++k) items[i].slot[k] = 0.0f;
  }
  // Inside at the far end, outside at the near end.
  items[0].slot[2] = 39.9f;
  items[0].slot[0] = 44.0f;
  items[0].slot[1] = -29.0f;
  items[1].slot[2] = -40.0f;
  items[1].slot[0] = 15.5f;
  items[1].slot[1] = -10.5f;
  SeedRandom(kSeed);
  DrawFrame(DrawInspiration);
  EXPECT_EQ(items[0].slot[4], 0.0f);
  EXPECT_EQ(items[0].slot[5], 0.0f);
  EXPECT_LE(items[1].slot[4], 0.0f);  // heads back from the +x wall
  EXPECT_GE(items[1].slot[5], 0.0f);  // and from the -y wall
  EXPECT_NE(items[1].slot[4], 0.0f);
}

}  // namespace
