// "Bliss" (module 10): six arms turn about a large, slightly narrowed central
// sphere; at the tip of each arm three small spheres circle, the circling
// sense alternating from arm to arm. All motion comes from SpinAngle.
#include "render/gl.h"
#include "render/render_state.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"

namespace {

constexpr int kItemCount = 18;
constexpr int kItemsPerArm = 3;
constexpr float kArmStep = 60.0f;                          // degrees between arms
constexpr float kArmLength = 3.5f * CylinderLength;        // 17.5
constexpr float kCirclingRadius = CylinderLength / 1.5f;   // 3.333
constexpr float kNarrowing = 0.9f;                         // across x and y; z is kept
constexpr double kSmallRadius = 2.0 * 1.2f;                // 2.4
constexpr double kCentralRadius = 16.0 * 0.7f;             // 11.2
constexpr float kOwnTurnStep = 150.0f;   // degrees per item index, before the factor
constexpr float kOwnTurnFactor = 2.0f;   // each small sphere turns at twice SpinAngle

// The standard phases: the three spheres of one arm 120 degrees apart, each
// arm a further 30 degrees on. Nothing travels.
void LayOutPhases(SceneItem* items) {
  for (int i = 0; i < kItemCount; ++i) items[i].phase() = StandardPhase(i);
}

void DrawItems(SceneItem* items) {
  for (int i = 0; i < kItemCount; ++i) {
    int k = i / kItemsPerArm;
    ApplyViewTransform();
    glRotatef(SpinAngle / kPathSpinDivisor + kArmStep * k, 0.0f, 0.0f, -1.0f);
    glTranslatef(kArmLength, 0.0f, 0.0f);
    float d = (k % 2 == 0) ? 1.0f : -1.0f;  // alternate arms circle the other way
    glRotatef(SpinAngle + items[i].phase(), 0.0f, d, 0.0f);
    glTranslatef(0.0f, 0.0f, kCirclingRadius);
    glRotatef(kOwnTurnFactor * (kOwnTurnStep * i + SpinAngle), 0.0f, 0.0f, 1.0f);
    glScalef(kNarrowing, kNarrowing, 1.0f);
    gluSphere(Quadric, kSmallRadius, kSlices, kStacks);
  }

  ApplyViewTransform();
  glRotatef(SpinAngle / kCentralSpinDivisor, 0.0f, 0.0f, 1.0f);
  glScalef(kNarrowing, kNarrowing, 1.0f);
  gluSphere(Quadric, kCentralRadius, kSlices, kStacks);
}

}  // namespace

bool DrawBliss(SceneState& state) {
  return RunSceneFrame({LayOutPhases, DrawItems, 1.0f, nullptr}, state);
}
