// "Creativity" (module 5): twenty-four spheres each circle once around a
// central sphere in planes through the axis, growing to full size on the far
// side of the circle.
#include "render/gl.h"
#include "render/scene.h"
#include "scenes/scenes.h"

namespace {

constexpr int kModule = 5;
constexpr int kItemCount = 24;
constexpr float kCircleDegreesPerLimit = 180.0f;     // per TravelLimit of (TravelLimit + travel)
constexpr double kCircleRadius = TravelLimit / 1.7;  // 15.180265
constexpr float kAlongRadius = -90.0f;   // about y: the sphere's own axis along the radius
constexpr float kOwnSpinFactor = 1.5f;   // of SpinAngle, the sphere's own spin
constexpr float kItemSpinStep = 30.0f;   // degrees of the own spin per item index
constexpr float kTravelStep = 0.05f;     // AdvanceTravel factor
constexpr float kPlaneSpinDivisor = 4.0f;  // all planes turn at a quarter of SpinAngle
constexpr double kCentralRadius = 16.0 / 2;

void DrawItems(SceneItem* items) {
  for (int i = 0; i < kItemCount; ++i) {
    SceneItem& item = items[i];
    float s = StandardScale(item.travel());
    ApplyViewTransform();
    glRotatef(SpinAngle / kPlaneSpinDivisor + item.phase(), 0.0f, 0.0f, 1.0f);
    glRotatef((TravelLimit + item.travel()) * kCircleDegreesPerLimit / TravelLimit, 0.0f, 1.0f,
              0.0f);
    glTranslatef(static_cast<float>(-kCircleRadius), 0.0f, 0.0f);
    glRotatef(kAlongRadius, 0.0f, 1.0f, 0.0f);
    glRotatef(kOwnSpinFactor * SpinAngle + kItemSpinStep * i, 0.0f, 0.0f, 1.0f);
    glScalef(s, s, s);
    DrawItemSphere();
    AdvanceTravel(item, kTravelStep);
  }

  DrawCentralSphere(kCentralRadius);
}

}  // namespace

bool DrawCreativity() {
  return RunSceneFrame({kModule, InitStandardItems, DrawItems, 1.0f, nullptr});
}
