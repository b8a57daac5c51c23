// The quadric capture harness and the scene-test fixture.
#include "tests/unit/gl_capture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/module_table.h"
#include "frames/frame.h"
#include "render/gl_context.h"
#include "render/headless_gl.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "tests/unit/test_seams.h"

// The real GLU functions, reached through the linker's --wrap.
extern "C" void __real_gluCylinder(GLUquadric* quadric, GLdouble base, GLdouble top,
                                   GLdouble height, GLint slices, GLint stacks);
extern "C" void __real_gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices,
                                 GLint stacks);

namespace gl_capture {

namespace {

std::vector<QuadricCall> Recorded;
int FailingCall = -1;
bool Drawing = true;

Matrix Identity() {
  Matrix m{};
  m[0] = m[5] = m[10] = m[15] = 1.0;
  return m;
}

Matrix Translation(double x, double y, double z) {
  Matrix m = Identity();
  m[12] = x;
  m[13] = y;
  m[14] = z;
  return m;
}

// The matrix glRotatef builds for an angle in degrees about a unit axis.
Matrix Rotation(double degrees, double x, double y, double z) {
  const double a = degrees * std::numbers::pi / 180.0;
  const double c = std::cos(a), s = std::sin(a), t = 1.0 - c;
  Matrix m = Identity();
  m[0] = x * x * t + c;
  m[1] = y * x * t + z * s;
  m[2] = x * z * t - y * s;
  m[4] = x * y * t - z * s;
  m[5] = y * y * t + c;
  m[6] = y * z * t + x * s;
  m[8] = x * z * t + y * s;
  m[9] = y * z * t - x * s;
  m[10] = z * z * t + c;
  return m;
}

QuadricCall Record(Kind kind, GLUquadric* quadric, double base, double top, double height,
                   int slices, int stacks) {
  QuadricCall call{};
  call.kind = kind;
  call.quadric = quadric;
  call.baseRadius = base;
  call.topRadius = top;
  call.height = height;
  call.slices = slices;
  call.stacks = stacks;
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  for (int i = 0; i < 16; ++i) call.modelView[i] = m[i];
  call.depth = g_fDepth;
  call.horz = g_fHorz;
  call.vert = g_fVert;
  call.xrot = g_fXrot;
  call.yrot = g_fYrot;
  call.zrot = g_fZrot;
  GLint mode = 0, texture = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
  call.modelViewMode = mode == GL_MODELVIEW;
  call.boundTexture = static_cast<GLuint>(texture);
  call.depthTest = glIsEnabled(GL_DEPTH_TEST);
  call.alphaTest = glIsEnabled(GL_ALPHA_TEST);
  call.texture2D = glIsEnabled(GL_TEXTURE_2D);
  call.lighting = glIsEnabled(GL_LIGHTING);
  call.blend = glIsEnabled(GL_BLEND);
  return call;
}

void AfterCall() {
  if (static_cast<int>(Recorded.size()) - 1 == FailingCall) glEnable(0x7FFF);  // GL_INVALID_ENUM
}

}  // namespace

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
Vec3 Normalized(Vec3 a) {
  const double l = Length(a);
  return l == 0.0 ? a : (1.0 / l) * a;
}
double DistanceFromZAxis(Vec3 p) { return std::hypot(p.x, p.y); }

bool Parallel(Vec3 a, Vec3 b, double tolerance) {
  const Vec3 u = Normalized(a), v = Normalized(b);
  const Vec3 cross = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
  return Length(a) > 0.0 && Length(b) > 0.0 && Length(cross) <= tolerance;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix r{};
  for (int col = 0; col < 4; ++col)
    for (int row = 0; row < 4; ++row) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
      r[col * 4 + row] = sum;
    }
  return r;
}

Vec3 TransformPoint(const Matrix& m, Vec3 p) {
  return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
          m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
          m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

Vec3 TransformDirection(const Matrix& m, Vec3 d) {
  return {m[0] * d.x + m[4] * d.y + m[8] * d.z, m[1] * d.x + m[5] * d.y + m[9] * d.z,
          m[2] * d.x + m[6] * d.y + m[10] * d.z};
}

Matrix ViewMatrix(float depth, float horz, float vert, float xrot, float yrot, float zrot) {
  Matrix m = Translation(horz, vert, -depth);
  m = Multiply(m, Rotation(zrot, 0, 0, 1));
  m = Multiply(m, Rotation(yrot, 0, 1, 0));
  return Multiply(m, Rotation(xrot, 1, 0, 0));
}

Matrix InverseViewMatrix(float depth, float horz, float vert, float xrot, float yrot,
                         float zrot) {
  Matrix m = Rotation(-xrot, 1, 0, 0);
  m = Multiply(m, Rotation(-yrot, 0, 1, 0));
  m = Multiply(m, Rotation(-zrot, 0, 0, 1));
  return Multiply(m, Translation(-horz, -vert, depth));
}

Matrix QuadricCall::SceneMatrix() const {
  return Multiply(InverseViewMatrix(depth, horz, vert, xrot, yrot, zrot), modelView);
}
Vec3 QuadricCall::ToScene(Vec3 local) const { return TransformPoint(SceneMatrix(), local); }
Vec3 QuadricCall::SceneOrigin() const { return ToScene({0, 0, 0}); }
Vec3 QuadricCall::SceneTop() const { return ToScene({0, 0, height}); }
Vec3 QuadricCall::SceneAxis() const {
  return Normalized(TransformDirection(SceneMatrix(), {0, 0, 1}));
}
double QuadricCall::SceneScale() const {
  return Length(TransformDirection(SceneMatrix(), {1, 0, 0}));
}
bool QuadricCall::UniformScale(double tolerance) const {
  const Matrix m = SceneMatrix();
  const Vec3 x = TransformDirection(m, {1, 0, 0});
  const Vec3 y = TransformDirection(m, {0, 1, 0});
  const Vec3 z = TransformDirection(m, {0, 0, 1});
  const double s = Length(x);
  const double slack = tolerance * std::max(1.0, s * s);
  return std::fabs(Length(y) - s) <= tolerance * std::max(1.0, s) &&
         std::fabs(Length(z) - s) <= tolerance * std::max(1.0, s) &&
         std::fabs(Dot(x, y)) <= slack && std::fabs(Dot(y, z)) <= slack &&
         std::fabs(Dot(x, z)) <= slack;
}

Vec3 QuadricCall::EyeOrigin() const { return TransformPoint(modelView, {0, 0, 0}); }
Vec3 QuadricCall::EyeAxis() const { return Normalized(TransformDirection(modelView, {0, 0, 1})); }

const std::vector<QuadricCall>& Calls() { return Recorded; }

void Clear() { Recorded.clear(); }

void Reset() {
  Recorded.clear();
  FailingCall = -1;
  Drawing = true;
}

void RecordOnly() { Drawing = false; }

void RaiseErrorAtCall(int index) { FailingCall = index; }

bool EnsureContext(int width, int height) {
  static bool sized = false;
  if (HeadlessContextCurrent()) return true;
  if (!sized) {
    SetHeadlessSize(width, height);
    sized = true;
  }
  return CreateGLContext(nullptr, 32);
}

}  // namespace gl_capture

extern "C" void __wrap_gluCylinder(GLUquadric* quadric, GLdouble base, GLdouble top,
                                   GLdouble height, GLint slices, GLint stacks) {
  using namespace gl_capture;
  Recorded.push_back(Record(Kind::Cylinder, quadric, base, top, height, slices, stacks));
  if (Drawing) __real_gluCylinder(quadric, base, top, height, slices, stacks);
  AfterCall();
}

extern "C" void __wrap_gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices,
                                 GLint stacks) {
  using namespace gl_capture;
  Recorded.push_back(Record(Kind::Sphere, quadric, radius, radius, 0.0, slices, stacks));
  if (Drawing) __real_gluSphere(quadric, radius, slices, stacks);
  AfterCall();
}

void SceneTest::SetUp() {
  ASSERT_TRUE(gl_capture::EnsureContext()) << "no headless GL context";
  ResetEngineState();
  SetBuiltInDefaults();
  test_seams::Reset();
  gl_capture::Reset();
  while (glGetError() != GL_NO_ERROR) {
  }
  lastResult_ = false;
  allSucceeded_ = true;
}

void SceneTest::ShowModule(int module) {
  ModuleTable[module].active = true;
  CurrentModule = module;
  LoadModuleParams(module);
}

std::vector<gl_capture::QuadricCall> SceneTest::DrawFrame(SceneFrame scene) {
  return DrawFrames(scene, 1);
}

std::vector<gl_capture::QuadricCall> SceneTest::DrawFrames(SceneFrame scene, int n) {
  int module = 1;
  while (module < kModuleCount && Modules[module].draw != scene) ++module;
  for (int i = 0; i < n; ++i) {
    gl_capture::Clear();
    lastResult_ = DrawModuleScene(module);
    allSucceeded_ = allSucceeded_ && lastResult_;
  }
  return gl_capture::Calls();
}
