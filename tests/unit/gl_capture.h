// Watching scenes draw in a real headless GL context.
//
// lumvia_unit_tests is linked with -Wl,--wrap=gluCylinder,--wrap=gluSphere,
// so every quadric the engine draws passes through this harness first: the
// call is recorded (kind, radii, height, slices, stacks), together with the
// model-view matrix in force and the view parameters of the moment, and then
// drawn for real by GLU.
//
// What a scene test usually does:
//
//   class PeaceTest : public SceneTest {};
//
//   TEST_F(PeaceTest, FirstItemsStartOnTheAxis) {
//     ShowModule(2);                          // active, its default view loaded
//     auto calls = DrawFrame(DrawPeace);      // one frame, the quadrics it drew
//     ASSERT_TRUE(LastResult());
//     const gl_capture::QuadricCall& c = calls[0];
//     EXPECT_EQ(c.kind, gl_capture::Kind::Cylinder);
//     gl_capture::Vec3 p = c.SceneOrigin();   // where its origin is in the scene
//     EXPECT_NEAR(gl_capture::DistanceFromZAxis(p), 0.0, 1e-4);
//     EXPECT_NEAR(c.SceneScale(), 0.0, 1e-4); // its uniform scale
//     EXPECT_TRUE(gl_capture::Parallel(c.SceneAxis(), {0, 0, 1}));
//   }
//
// "Scene" coordinates are those before the standard camera (ApplyViewTransform
// with the view parameters recorded at the call): the scene's z axis is the
// one the scenes turn about. "Eye" coordinates are those of the raw model-view
// matrix. For a quadric the local origin is the cylinder's base centre or the
// sphere's centre, and the local z axis is the cylinder's axis.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "render/gl.h"
#include "scenes/modules.h"

namespace gl_capture {

struct Vec3 {
  double x, y, z;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(double s, Vec3 a);
double Dot(Vec3 a, Vec3 b);
double Length(Vec3 a);
Vec3 Normalized(Vec3 a);
// Distance of a point from the z axis: sqrt(x² + y²).
double DistanceFromZAxis(Vec3 p);
// True when the two directions are parallel or antiparallel within the
// tolerance (the sine of the angle between them).
bool Parallel(Vec3 a, Vec3 b, double tolerance = 1e-4);

// A 4 × 4 matrix in GL's column-major order: m[column * 4 + row].
using Matrix = std::array<double, 16>;
Matrix Multiply(const Matrix& a, const Matrix& b);
Vec3 TransformPoint(const Matrix& m, Vec3 p);
Vec3 TransformDirection(const Matrix& m, Vec3 d);  // ignores the translation
// The standard camera of ApplyViewTransform for these view values, and its inverse.
Matrix ViewMatrix(float depth, float horz, float vert, float xrot, float yrot, float zrot);
Matrix InverseViewMatrix(float depth, float horz, float vert, float xrot, float yrot, float zrot);

enum class Kind { Cylinder, Sphere };

struct QuadricCall {
  Kind kind;
  double baseRadius;  // the sphere's radius for a sphere
  double topRadius;   // the sphere's radius for a sphere
  double height;      // 0 for a sphere
  int slices;
  int stacks;
  GLUquadric* quadric;
  Matrix modelView;   // eye coordinates from the quadric's own
  // The view parameters when the call was made (g_fDepth … g_fZrot).
  float depth, horz, vert, xrot, yrot, zrot;
  // The render state every scene must leave alone, as it was at the call.
  bool modelViewMode;      // the current matrix is the model-view matrix
  bool depthTest, alphaTest, texture2D;
  bool lighting, blend;
  GLuint boundTexture;     // GL_TEXTURE_BINDING_2D

  // The quadric's own coordinates into the scene's (the camera undone).
  Matrix SceneMatrix() const;
  Vec3 ToScene(Vec3 local) const;
  Vec3 SceneOrigin() const;   // the base centre of a cylinder, the centre of a sphere
  Vec3 SceneAxis() const;     // unit direction of the quadric's z axis
  Vec3 SceneTop() const;      // the top centre of a cylinder (origin + height along z)
  double SceneScale() const;  // the scale of the quadric's x axis
  // True when the three axes are scaled alike and stay perpendicular.
  bool UniformScale(double tolerance = 1e-4) const;

  Vec3 EyeOrigin() const;
  Vec3 EyeAxis() const;
};

// Every quadric drawn since the last Clear, in drawing order.
const std::vector<QuadricCall>& Calls();
void Clear();
// Clear, no error raised any more (see RaiseErrorAtCall), quadrics drawn again.
void Reset();

// Quadrics are recorded but not drawn until the next Reset: many frames run
// quickly where only the geometry matters.
void RecordOnly();

// Makes the quadric call with this index since the last Clear (0 = the first
// quadric of each frame drawn by SceneTest::DrawFrame) raise a GL error
// (GL_INVALID_ENUM) right after it is drawn, as if the call itself had
// failed. Stays in force until RaiseErrorAtCall(-1) or Reset.
void RaiseErrorAtCall(int index);

// The headless context all tests share, made once per test program at the
// given size on first use (later sizes are ignored). False when it cannot be made.
bool EnsureContext(int width = 320, int height = 240);

}  // namespace gl_capture

// The fixture of scene tests: makes the shared headless context once, and
// before every test puts the engine back to how the saver starts a module:
// ResetEngineState, SetBuiltInDefaults (so every module is active with its
// built-in view), no recorded message boxes or quadrics, no error injection,
// no GL error pending.
class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // Makes the module current the way the saver does: active, CurrentModule
  // set, its parameters loaded (which also restarts SpinAngle).
  static void ShowModule(int module);
  // Draws one frame of the scene's module as the frame step does and returns
  // the quadrics it drew.
  std::vector<gl_capture::QuadricCall> DrawFrame(SceneFrame scene);
  // Draws n frames; returns the quadrics of the last one only.
  std::vector<gl_capture::QuadricCall> DrawFrames(SceneFrame scene, int n);
  // What the scene function returned for the last frame drawn.
  bool LastResult() const { return lastResult_; }
  // True when every frame drawn by DrawFrames returned true.
  bool AllFramesSucceeded() const { return allSucceeded_; }

 private:
  bool lastResult_ = false;
  bool allSucceeded_ = true;
};
