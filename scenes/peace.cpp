// "Peace" (module 2): twenty-four short tubes rise along half-circle arcs from
// the axis below the centre to the axis above it, each pointing along its arc,
// around a cylinder standing on the axis.
#include "render/gl.h"
#include "render/render_state.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"

namespace {

constexpr float kArcDegreesPerLimit = 90.0f;    // per TravelLimit of (TravelLimit + travel)
constexpr double kArcRadius = TravelLimit / 1.7;  // 15.180265
constexpr float kAlongArc = -90.0f;             // about y: the tube points along its arc
constexpr float kTubeStretch = 1.25f;           // extra scale along the tube's own axis
// The central cylinder: 6.4 wide, 18.823529 long, from z = -10.666667.
constexpr double kCentralShift = -(16.0 / 0.75) / 2.0;
constexpr double kCentralRadius = 16.0 / 2.5;
constexpr double kCentralLength = 16.0 / 0.85f;

void DrawItem(const SceneItem& item, int i) {
  const float s = StandardScale(item.travel());
  glRotatef((TravelLimit + item.travel()) * kArcDegreesPerLimit / TravelLimit, 0.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, 0.0f, static_cast<float>(-kArcRadius));
  glRotatef(kAlongArc, 0.0f, 1.0f, 0.0f);
  glRotatef(OwnTurn(i, 1.0f), 0.0f, 0.0f, 1.0f);
  glScalef(s, s, kTubeStretch * s);
  DrawItemCylinder();
}

void DrawItems(SceneItem* items) {
  DrawStandardItems(items, kStandardTravelStep, DrawItem);

  ApplyViewTransform();
  glTranslatef(0.0f, 0.0f, static_cast<float>(kCentralShift));
  glRotatef(SpinAngle / kCentralSpinDivisor, 0.0f, 0.0f, 1.0f);
  gluCylinder(Quadric, kCentralRadius, kCentralRadius, kCentralLength, kSlices, kStacks);
}

}  // namespace

bool DrawPeace(SceneState& state) {
  return RunSceneFrame({InitStandardItems, DrawItems, 1.0f, nullptr}, state);
}
