// "Inspiration" (module 9): eighteen short tubes drift through a box that
// widens toward its positive-z end and bounce off its walls, taking a new
// random speed at every bounce. No central object.
#include <cmath>

#include "core/random.h"
#include "render/gl.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"

namespace {

constexpr int kItemCount = 18;
// Slots: position and velocity per unit of speed.
constexpr int kX = 0;
constexpr int kY = 1;
constexpr int kZ = 2;
constexpr int kVz = 3;
constexpr int kVx = 4;
constexpr int kVy = 5;

constexpr double kMaxSpeed = 0.3;
constexpr float kDepth = 40.0f;      // the box runs from z = -40 to z = 40
constexpr float kHalfWidth = 15.0f;  // at z = -40, widened by the factor below
constexpr float kHalfHeight = 10.0f;
constexpr float kMotion = 0.15f;
constexpr float kUpright = -90.0f;   // about x: each tube stands along y
constexpr double kRandomMiddle = 16384.0;

// One fresh random number in [-1, 1).
double RandomUnit() { return (DrawRandom() - kRandomMiddle) / kRandomMiddle; }

// The box widens from 1 at z = -40 to 3 at z = 40.
float Widening(float z) { return (kDepth + z) / kDepth + 1.0f; }

float RandomSpeed() { return static_cast<float>(kMaxSpeed * RandomUnit()); }
float RandomMagnitude() { return static_cast<float>(std::fabs(kMaxSpeed * RandomUnit())); }

// The draws come in exactly this order for every item.
void ScatterTubes(SceneItem* items) {
  for (int i = 0; i < kItemCount; ++i) {
    float* v = items[i].slot;
    items[i].phase() = kItemSpinStep * i;
    v[kVz] = RandomSpeed();
    v[kVx] = RandomSpeed();
    v[kVy] = RandomSpeed();
    v[kZ] = static_cast<float>(kDepth * RandomUnit());
    float f = Widening(v[kZ]);
    v[kX] = static_cast<float>(RandomUnit() * kHalfWidth * f);
    v[kY] = static_cast<float>(RandomUnit() * kHalfHeight * f);
  }
}

// A wall that is passed turns the velocity back inward with a new random
// speed; a wall that is not passed draws nothing.
void Bounce(float position, float half, float& velocity) {
  if (half < position) {
    velocity = -RandomMagnitude();
  } else if (-half > position) {
    velocity = RandomMagnitude();
  }
}

// The walls are tested before the move, so a tube may stand outside the box by
// up to one step before it heads back.
void DrawTubes(SceneItem* items) {
  for (int i = 0; i < kItemCount; ++i) {
    float* v = items[i].slot;
    float f = Widening(v[kZ]);
    Bounce(v[kX], kHalfWidth * f, v[kVx]);
    Bounce(v[kY], kHalfHeight * f, v[kVy]);
    Bounce(v[kZ], kDepth, v[kVz]);

    ApplyViewTransform();
    glTranslatef(v[kX], v[kY], v[kZ]);
    glRotatef(kUpright, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, -CylinderLength / 2.0f);
    glRotatef(SpinAngle + items[i].phase(), 0.0f, 0.0f, 1.0f);
    DrawItemCylinder();

    v[kX] = v[kX] + kMotion * v[kVx] * g_fSpeed;
    v[kY] = v[kY] + kMotion * v[kVy] * g_fSpeed;
    v[kZ] = v[kZ] + kMotion * v[kVz] * g_fSpeed;
  }
}

constexpr float kSpinFactor = 0.65f;

}  // namespace

bool DrawInspiration(SceneState& state) {
  return RunSceneFrame({ScatterTubes, DrawTubes, kSpinFactor, nullptr}, state);
}
