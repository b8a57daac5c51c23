// "Creativity" (module 5): twenty-four spheres each circle once around a
// central sphere in planes through the axis, growing to full size on the far
// side of the circle.
#include "render/gl.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"

namespace {

constexpr float kCircleDegreesPerLimit = 180.0f;     // per TravelLimit of (TravelLimit + travel)
constexpr double kCircleRadius = TravelLimit / 1.7;  // 15.180265
constexpr float kOwnSpinFactor = 1.5f;   // of SpinAngle, the sphere's own spin
constexpr double kCentralRadius = 16.0 / 2;

void DrawItem(const SceneItem& item, int i) {
  const float s = StandardScale(item.travel());
  glRotatef((TravelLimit + item.travel()) * kCircleDegreesPerLimit / TravelLimit, 0.0f, 1.0f, 0.0f);
  glTranslatef(static_cast<float>(-kCircleRadius), 0.0f, 0.0f);
  DrawRadialSphere(i, kOwnSpinFactor, s);
}

void DrawItems(SceneItem* items) {
  DrawStandardItems(items, kStandardTravelStep, DrawItem);
  DrawCentralSphere(kCentralRadius);
}

}  // namespace

bool DrawCreativity(SceneState& state) {
  return RunSceneFrame({InitStandardItems, DrawItems, 1.0f, nullptr}, state);
}
