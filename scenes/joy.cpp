// "Joy" (module 3): twenty-four stretched spheres climb the axis on a spindle,
// out from the axis below the centre, at a fixed distance through the middle
// of the climb and back into the axis above it, around a central sphere.
#include <cmath>

#include "render/gl.h"
#include "render/scene.h"
#include "scenes/scenes.h"

namespace {

constexpr int kModule = 3;
constexpr int kItemCount = 24;
constexpr float kPlateauFraction = 0.5f;                                   // h
constexpr float kPlateauDivisor = TravelLimit * kPlateauFraction;          // M, 12.903226
constexpr float kPlateauThreshold = (1.0f - kPlateauFraction) * TravelLimit;  // T, 12.903226
constexpr float kFullScale = 1.2f;
constexpr float kAxisDistance = -12.0f;  // per unit of scale, as a shift along x
constexpr float kClimb = 1.2f;           // height per unit of travel
constexpr float kTilt = -1.0f * 55.0f;   // about x
constexpr float kItemSpinStep = 30.0f;   // degrees of the sphere's own spin per item index
constexpr float kSphereStretch = 1.25f;  // extra scale along the sphere's own z axis
constexpr float kTravelStep = 0.05f;     // AdvanceTravel factor
constexpr float kLineSpinDivisor = 4.0f; // all climbing lines turn at a quarter of SpinAngle
constexpr double kCentralRadius = 7.0;

// Full size for every travel within T of the middle, falling linearly to
// nothing at either end of the path.
float PlateauScale(float travel) {
  float t = std::fabs(travel);
  float v = (t <= kPlateauThreshold) ? kPlateauDivisor : TravelLimit - t;
  return kFullScale * v / kPlateauDivisor;
}

void DrawItems(SceneItem* items) {
  for (int i = 0; i < kItemCount; ++i) {
    SceneItem& item = items[i];
    float s = PlateauScale(item.travel());
    ApplyViewTransform();
    glRotatef(SpinAngle / kLineSpinDivisor + item.phase(), 0.0f, 0.0f, 1.0f);
    glTranslatef(kAxisDistance * s, 0.0f, kClimb * item.travel());
    glRotatef(kTilt, 1.0f, 0.0f, 0.0f);
    glRotatef(kItemSpinStep * i + SpinAngle, 0.0f, 0.0f, 1.0f);
    glScalef(s, s, kSphereStretch * s);
    DrawItemSphere();
    AdvanceTravel(item, kTravelStep);
  }

  DrawCentralSphere(kCentralRadius);
}

}  // namespace

bool DrawJoy() { return RunSceneFrame({kModule, InitStandardItems, DrawItems, 1.0f, nullptr}); }
