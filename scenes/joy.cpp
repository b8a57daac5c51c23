// "Joy" (module 3): twenty-four stretched spheres climb the axis on a spindle,
// out from the axis below the centre, at a fixed distance through the middle
// of the climb and back into the axis above it, around a central sphere.
#include <cmath>

#include "render/gl.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"

namespace {

constexpr float kPlateauFraction = 0.5f;                                   // h
constexpr float kPlateauDivisor = TravelLimit * kPlateauFraction;          // M, 12.903226
constexpr float kPlateauThreshold = (1.0f - kPlateauFraction) * TravelLimit;  // T, 12.903226
constexpr float kFullScale = 1.2f;
constexpr float kAxisDistance = -12.0f;  // per unit of scale, as a shift along x
constexpr float kClimb = 1.2f;           // height per unit of travel
constexpr float kTilt = -1.0f * 55.0f;   // about x
constexpr float kSphereStretch = 1.25f;  // extra scale along the sphere's own z axis
constexpr double kCentralRadius = 7.0;

// Full size for every travel within T of the middle, falling linearly to
// nothing at either end of the path.
float PlateauScale(float travel) {
  float t = std::fabs(travel);
  float v = (t <= kPlateauThreshold) ? kPlateauDivisor : TravelLimit - t;
  return kFullScale * v / kPlateauDivisor;
}

void DrawItem(const SceneItem& item, int i) {
  const float s = PlateauScale(item.travel());
  glTranslatef(kAxisDistance * s, 0.0f, kClimb * item.travel());
  glRotatef(kTilt, 1.0f, 0.0f, 0.0f);
  glRotatef(OwnTurn(i, 1.0f), 0.0f, 0.0f, 1.0f);
  glScalef(s, s, kSphereStretch * s);
  DrawItemSphere();
}

void DrawItems(SceneItem* items) {
  DrawStandardItems(items, kStandardTravelStep, DrawItem);
  DrawCentralSphere(kCentralRadius);
}

}  // namespace

bool DrawJoy(SceneState& state) {
  return RunSceneFrame({InitStandardItems, DrawItems, 1.0f, nullptr}, state);
}
