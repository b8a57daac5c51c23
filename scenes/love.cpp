// Module 1, "Love": twenty-four tubes, two on each of twelve circular loops
// through the scene's z axis, growing to full size at the loop's far point and
// shrinking back into the axis; a large cylinder stands on the axis. The whole
// arrangement turns slowly about the axis.
#include "render/gl.h"
#include "render/render_state.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"

namespace {

constexpr float kLoopRadius = TravelLimit / 1.7f;           // the loop's centre is this far out
constexpr float kLoopDegrees = 180.0f;                      // per TravelLimit of travel
constexpr float kItemSpinFactor = 0.25f;                    // of the tube's standard own turn
constexpr float kItemBackShift = CylinderLength * 1.5f;     // 7.5 along the tube's axis
constexpr float kItemExtraScale = 2.0f;
constexpr float kTravelStep = kStandardTravelStep * 0.5f;   // 0.025

constexpr double kCentralRadius = 16.0 / 2;                 // 8
constexpr double kCentralLength = 16.0 * 1.5;               // 24
constexpr float kCentralShift = -1.5f * 16.0f / 2.0f;       // -12: centred on the origin

void DrawItem(const SceneItem& item, int i) {
  const float s = StandardScale(item.travel());
  glTranslatef(kLoopRadius, 0.0f, 0.0f);
  glRotatef(item.travel() * kLoopDegrees / TravelLimit, 0.0f, 1.0f, 0.0f);
  glTranslatef(kLoopRadius, 0.0f, 0.0f);
  glRotatef(item.travel() * -kLoopDegrees / TravelLimit, 0.0f, 1.0f, 0.0f);
  glRotatef(OwnTurn(i, 1.0f) * kItemSpinFactor, 0.0f, 0.0f, 1.0f);
  glScalef(s, s, s);
  glTranslatef(0.0f, 0.0f, -kItemBackShift);
  glScalef(kItemExtraScale, kItemExtraScale, kItemExtraScale);
  DrawItemCylinder();
  // Errors raised while drawing an item are consumed here: only the central
  // cylinder decides the frame's result.
  glGetError();
}

void DrawCentralCylinder() {
  ApplyViewTransform();
  glRotatef(SpinAngle / kCentralSpinDivisor, 0.0f, 0.0f, 1.0f);
  glTranslatef(0.0f, 0.0f, kCentralShift);
  gluCylinder(Quadric, kCentralRadius, kCentralRadius, kCentralLength, kSlices, kStacks);
}

void DrawItems(SceneItem* items) {
  DrawStandardItems(items, kTravelStep, DrawItem);
  DrawCentralCylinder();
}

}  // namespace

bool DrawLove(SceneState& state) {
  return RunSceneFrame({InitStandardItems, DrawItems, 1.0f, nullptr}, state);
}
