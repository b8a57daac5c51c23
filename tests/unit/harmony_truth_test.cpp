// "Harmony" and "Truth": the swaying wall of three rows of eight, with
// columns in "Harmony" and spheres in "Truth", each seen through its own camera.
#include <cmath>

#include "core/module_table.h"
#include "render/headless_gl.h"
#include "render/render_state.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/gl_capture.h"
#include "tests/unit/scene_geometry.h"

namespace {

using namespace gl_capture;
using namespace scene_geometry;

constexpr double kTol = 1e-4;

// Harmony's camera: one unit deeper than the view, turned x, then z, then y.
Matrix HarmonyScene(const QuadricCall& c) {
  Matrix undo = Multiply(InverseViewMatrix(0, 0, 0, 0, c.yrot, 0),
                         InverseViewMatrix(0, 0, 0, 0, 0, c.zrot));
  undo = Multiply(undo, InverseViewMatrix(c.depth + 1.0f, c.horz, c.vert, c.xrot, 0, 0));
  return Multiply(undo, c.modelView);
}

// Truth's camera: the standard one, moved by (7, -12) and one unit deeper.
Matrix TruthScene(const QuadricCall& c) {
  return Multiply(InverseViewMatrix(c.depth + 1.0f, c.horz + 7.0f, c.vert - 12.0f, c.xrot,
                                    c.yrot, c.zrot),
                  c.modelView);
}

// The turn of an object about its own axis, measured from the scene's +x.
double OwnTurn(const Matrix& m) {
  Vec3 axis = Normalized(TransformDirection(m, {0, 0, 1}));
  Vec3 x = Normalized(TransformDirection(m, {1, 0, 0}));
  return AngleAbout(axis, {1, 0, 0}, x);
}

bool SameTurn(const Matrix& a, const Matrix& b) {
  for (int col = 0; col < 3; ++col)
    for (int row = 0; row < 3; ++row)
      if (std::fabs(a[col * 4 + row] - b[col * 4 + row]) > 1e-5) return false;
  return true;
}

const double kColumnX[8] = {-18.9, -13.5, -8.1, -2.7, 2.7, 8.1, 13.5, 18.9};

class HarmonyTest : public SceneTest {};

TEST_F(HarmonyTest, WallStandsCentredOnTheOrigin) {
  ShowModule(4);
  auto calls = DrawFrame(DrawHarmony);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 24u);  // no central object
  const double rowBase[3] = {-8.5, -2.5, 3.5};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 8; ++c) {
      const QuadricCall& q = calls[r * 8 + c];
      Matrix m = HarmonyScene(q);
      Vec3 base = TransformPoint(m, {0, 0, 0});
      Vec3 top = TransformPoint(m, {0, 0, q.height});
      EXPECT_EQ(q.kind, Kind::Cylinder);
      EXPECT_EQ(q.baseRadius, 2.0);
      EXPECT_NEAR(base.x, kColumnX[c], kTol) << r << c;
      EXPECT_NEAR(base.y, rowBase[r], kTol) << r << c;
      EXPECT_NEAR(base.z, 0.0, kTol) << r << c;  // SwayOffset starts at 0
      EXPECT_NEAR(top.y - base.y, 5.0, kTol) << r << c;  // rises along +y
      EXPECT_NEAR(Length(top - base), 5.0, kTol) << r << c;
    }
  }
  EXPECT_NEAR(OwnTurn(HarmonyScene(calls[0])), 0.0, 1e-3);
  EXPECT_NEAR(Wrap180(OwnTurn(HarmonyScene(calls[23])) + 450.0), 0.0, 1e-3);
}

// The camera holds for any view: the wall stays where it is in the scene.
TEST_F(HarmonyTest, CameraTurnsXThenZThenY) {
  ShowModule(4);
  g_fXrot = 20.0f;
  g_fZrot = -35.0f;
  g_fYrot = 70.0f;
  g_fHorz = 1.5f;
  auto calls = DrawFrame(DrawHarmony);
  Vec3 base = TransformPoint(HarmonyScene(calls[8 + 5]), {0, 0, 0});
  EXPECT_NEAR(base.x, 8.1, kTol);
  EXPECT_NEAR(base.y, -2.5, kTol);
  EXPECT_NEAR(base.z, 0.0, kTol);
  // Read with the standard camera instead, the wall would be elsewhere.
  Vec3 standard = calls[8 + 5].SceneOrigin();
  EXPECT_GT(Length(standard - base), 1.0);
}

TEST_F(HarmonyTest, ColumnsSharingAnItemTurnAlike) {
  ShowModule(4);
  auto calls = DrawFrames(DrawHarmony, 7);
  auto at = [&](int r, int c) { return HarmonyScene(calls[r * 8 + c]); };
  const int pairs[][4] = {{0, 1, 1, 0}, {0, 3, 1, 1}, {0, 5, 1, 2}, {1, 2, 2, 1},
                          {0, 7, 1, 3}, {1, 5, 2, 3}, {0, 2, 2, 0}};
  for (const auto& p : pairs) {
    EXPECT_TRUE(SameTurn(at(p[0], p[1]), at(p[2], p[3])))
        << p[0] << p[1] << " and " << p[2] << p[3];
  }
  EXPECT_FALSE(SameTurn(at(0, 0), at(0, 1)));
}

// At speed 0.5 the sway grows by 0.01 a frame, stops at 5.0 after about 500
// frames and turns back; neighbours always move the opposite way.
TEST_F(HarmonyTest, SwayReachesFiveAndTurnsBack) {
  ShowModule(4);
  SetViewport(1, 1);  // only the placements matter here
  double highest = 0.0;
  int frameOfHighest = 0;
  double previous = 0.0;
  bool fell = false;
  for (int frame = 1; frame <= 700; ++frame) {
    auto calls = DrawFrame(DrawHarmony);
    double z = TransformPoint(HarmonyScene(calls[0]), {0, 0, 0}).z;
    double neighbour = TransformPoint(HarmonyScene(calls[1]), {0, 0, 0}).z;
    double below = TransformPoint(HarmonyScene(calls[8]), {0, 0, 0}).z;
    ASSERT_NEAR(neighbour, -z, kTol) << frame;
    ASSERT_NEAR(below, -z, kTol) << frame;
    if (z > highest) {
      highest = z;
      frameOfHighest = frame;
    }
    if (frameOfHighest > 0 && frame > frameOfHighest) fell = fell || z < previous;
    previous = z;
  }
  SetViewport(HeadlessWidth(), HeadlessHeight());
  EXPECT_NEAR(highest, 5.0, 1e-6);
  EXPECT_GE(frameOfHighest, 495);
  EXPECT_LE(frameOfHighest, 505);
  EXPECT_TRUE(fell);
  EXPECT_NEAR(previous, 5.0 - 0.01 * (700 - frameOfHighest), 0.02);
}

class TruthTest : public SceneTest {};

TEST_F(TruthTest, DefaultViewPutsTheGridCentreInFrontOfTheViewer) {
  ShowModule(7);
  auto calls = DrawFrame(DrawTruth);
  ASSERT_TRUE(LastResult());
  ASSERT_EQ(calls.size(), 24u);
  Vec3 sum{0, 0, 0};
  for (const auto& c : calls) sum = sum + c.EyeOrigin();
  Vec3 centre = (1.0 / 24.0) * sum;
  EXPECT_NEAR(centre.x, 0.0, kTol);
  EXPECT_NEAR(centre.y, 0.15, kTol);
  EXPECT_NEAR(centre.z, -26.0, kTol);
}

TEST_F(TruthTest, SpheresStandOnTheGrid) {
  ShowModule(7);
  auto calls = DrawFrame(DrawTruth);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 8; ++c) {
      const QuadricCall& q = calls[r * 8 + c];
      Vec3 p = TransformPoint(TruthScene(q), {0, 0, 0});
      EXPECT_EQ(q.kind, Kind::Sphere);
      EXPECT_EQ(q.baseRadius, 2.0);
      EXPECT_NEAR(p.x, kColumnX[c], kTol) << r << c;
      EXPECT_NEAR(p.y, 6.0 * (r - 1), kTol) << r << c;
      EXPECT_NEAR(p.z, 0.0, kTol) << r << c;
    }
  }
}

// Each sphere's own orientation does not follow the view's x rotation, and
// the spheres at (1, 0) and (0, 1) share item 1.
TEST_F(TruthTest, SpheresKeepTheirOrientationAndShareItems) {
  ShowModule(7);
  auto first = DrawFrame(DrawTruth);
  EXPECT_TRUE(SameTurn(first[8].modelView, first[1].modelView));
  EXPECT_FALSE(SameTurn(first[0].modelView, first[1].modelView));
  Matrix before = first[5].modelView;
  SpinAngle = 0.0f;
  g_fYrot = first[5].yrot;
  g_fXrot = 37.0f;  // any other x rotation
  auto turned = DrawFrame(DrawTruth);
  EXPECT_TRUE(SameTurn(turned[5].modelView, before));
}

TEST_F(TruthTest, ViewRollsEveryFrame) {
  ShowModule(7);
  g_fSpeed = 1.0f;
  const float xrot = g_fXrot, yrot = g_fYrot;
  DrawFrames(DrawTruth, 100);
  EXPECT_TRUE(AllFramesSucceeded());
  EXPECT_NEAR(g_fXrot, xrot - 50.0f, 1e-3);
  EXPECT_NEAR(g_fYrot, yrot - 25.0f, 1e-3);
  // The rolled view is the live one: storing the module keeps it.
  StoreModuleParams(7);
  EXPECT_EQ(ModuleTable[7].xrot, g_fXrot);
  EXPECT_EQ(ModuleTable[7].yrot, g_fYrot);
}

// The roll brings a rotation back by a full turn once it reaches 720 degrees,
// so the view rolls evenly however long the scene runs.
TEST_F(TruthTest, RolledRotationsStayBounded) {
  ShowModule(7);
  g_fSpeed = 1.0f;
  g_fXrot = -719.8f;
  g_fYrot = 730.0f;  // turned up with the keys
  DrawFrame(DrawTruth);
  EXPECT_NEAR(g_fXrot, -719.8 - 0.5 + 360.0, 1e-3);
  EXPECT_NEAR(g_fYrot, 730.0 - 0.25 - 360.0, 1e-3);
  DrawFrame(DrawTruth);  // within the bounds nothing is folded
  EXPECT_NEAR(g_fXrot, -719.8 - 1.0 + 360.0, 1e-3);
  EXPECT_NEAR(g_fYrot, 730.0 - 0.5 - 360.0, 1e-3);
}

// "Truth" goes on with the swing where "Harmony" left it.
TEST_F(TruthTest, SwayContinuesFromHarmony) {
  ShowModule(4);
  auto harmony = DrawFrames(DrawHarmony, 120);
  double left = TransformPoint(HarmonyScene(harmony[0]), {0, 0, 0}).z;
  ShowModule(7);
  auto truth = DrawFrames(DrawTruth, 2);
  double now = TransformPoint(TruthScene(truth[0]), {0, 0, 0}).z;
  EXPECT_NEAR(left, 1.19, 1e-4);
  EXPECT_NEAR(now, left + 2 * 0.01, 1e-4);
}

}  // namespace
