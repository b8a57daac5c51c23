// "Truth" (module 7): twenty-four spinning spheres on the swaying wall of
// "Harmony", seen through a shifted camera; the scene rolls the live view
// rotations a little every frame. No central object.
#include "render/gl.h"
#include "scenes/grid.h"
#include "scenes/modules.h"

namespace {

constexpr float kCameraShiftX = 7.0f;
constexpr float kCameraShiftY = -12.0f;
constexpr float kExtraDepth = 1.0f;
constexpr float kRollX = 0.5f;   // degrees of g_fXrot per unit of speed and frame
constexpr float kRollY = 0.25f;  // degrees of g_fYrot per unit of speed and frame
constexpr float kSphereTurn = -90.0f;  // about x, after the view's x rotation is undone
// A rolled rotation that reaches this many degrees either way is brought back
// by a full turn: the view is the same, and the float keeps the precision the
// small roll steps need (unbounded, the roll would stutter and stop after a
// few days of running).
constexpr float kRollFold = 720.0f;

float Folded(float degrees) {
  if (degrees <= -kRollFold) return degrees + 360.0f;
  if (degrees >= kRollFold) return degrees - 360.0f;
  return degrees;
}

void TruthCamera() {
  glLoadIdentity();
  glTranslatef(g_fHorz + kCameraShiftX, g_fVert + kCameraShiftY, -(g_fDepth + kExtraDepth));
  glRotatef(g_fZrot, 0.0f, 0.0f, 1.0f);
  glRotatef(g_fYrot, 0.0f, 1.0f, 0.0f);
  glRotatef(g_fXrot, 1.0f, 0.0f, 0.0f);
}

// The view's x rotation is undone for the sphere's own orientation.
void DrawSphere(float phase) {
  glRotatef(-g_fXrot + kSphereTurn, 1.0f, 0.0f, 0.0f);
  glRotatef(SpinAngle + phase, 0.0f, 0.0f, 1.0f);
  DrawItemSphere();
}

void DrawSpheres(SceneItem* items) { DrawGrid(items, TruthCamera, 0.0f, DrawSphere); }

// The rolled rotations are the live view: they are what is stored and saved.
void RollViewAndSway() {
  g_fXrot = Folded(g_fXrot - kRollX * g_fSpeed);
  g_fYrot = Folded(g_fYrot - kRollY * g_fSpeed);
  AdvanceSway();
}

}  // namespace

bool DrawTruth(SceneState& state) {
  return RunSceneFrame({InitStandardItems, DrawSpheres, 1.0f, RollViewAndSway}, state);
}
