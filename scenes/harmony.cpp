// "Harmony" (module 4): a wall of three rows of eight spinning columns that
// sway back and forth along z in a checkerboard, seen through the scene's own
// camera. No central object.
#include "render/gl.h"
#include "scenes/grid.h"
#include "scenes/modules.h"

namespace {

constexpr float kExtraDepth = 1.0f;
constexpr float kUpright = -90.0f;  // about x: each column rises along +y
// Each row's columns stand on their base, so the rows are lowered by half a
// column to centre the wall on the origin.
constexpr float kRowShift = -CylinderLength / 2.0f;

// Deeper by one unit than the standard camera, and turned x, z, y in that order.
void HarmonyCamera() {
  glLoadIdentity();
  glTranslatef(g_fHorz, g_fVert, -(g_fDepth + kExtraDepth));
  glRotatef(g_fXrot, 1.0f, 0.0f, 0.0f);
  glRotatef(g_fZrot, 0.0f, 0.0f, 1.0f);
  glRotatef(g_fYrot, 0.0f, 1.0f, 0.0f);
}

void DrawColumn(float phase) {
  glRotatef(kUpright, 1.0f, 0.0f, 0.0f);
  glRotatef(SpinAngle + phase, 0.0f, 0.0f, 1.0f);
  DrawItemCylinder();
}

void DrawColumns(SceneItem* items) { DrawGrid(items, HarmonyCamera, kRowShift, DrawColumn); }

}  // namespace

bool DrawHarmony(SceneState& state) {
  return RunSceneFrame({InitStandardItems, DrawColumns, 1.0f, AdvanceSway}, state);
}
