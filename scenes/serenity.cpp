// "Serenity" (module 6): twenty-four small spheres run along twelve circular
// loops that leave a large central sphere and return into it, largest at the
// far end of the loop.
#include "render/gl.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"

namespace {

constexpr double kLoopRadius = TravelLimit / 1.7;  // 15.180265
constexpr float kLoopDegreesPerLimit = 180.0f;     // per TravelLimit of travel
constexpr float kOwnSpinFactor = 1.7f;   // of SpinAngle, the sphere's own spin
constexpr double kCentralRadius = 16.0 / 2.0;

void DrawItem(const SceneItem& item, int i) {
  const float s = StandardScale(item.travel());
  glTranslatef(static_cast<float>(-kLoopRadius), 0.0f, 0.0f);  // to the loop's centre
  glRotatef(item.travel() * kLoopDegreesPerLimit / TravelLimit, 0.0f, 1.0f, 0.0f);
  glTranslatef(static_cast<float>(-kLoopRadius), 0.0f, 0.0f);  // out to the loop
  DrawRadialSphere(i, kOwnSpinFactor, s);
}

void DrawItems(SceneItem* items) {
  DrawStandardItems(items, kStandardTravelStep, DrawItem);
  DrawCentralSphere(kCentralRadius);
}

}  // namespace

bool DrawSerenity(SceneState& state) {
  return RunSceneFrame({InitStandardItems, DrawItems, 1.0f, nullptr}, state);
}
