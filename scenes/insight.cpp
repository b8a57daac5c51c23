// "Insight" (module 8): twenty-four short tubes stream out from the centre
// along rays that turn steadily about the y axis, so that they trace spirals;
// each grows as it leaves the centre, shrinks to nothing at the rim and starts
// again near the centre. No central object.
#include <cmath>

#include "render/gl.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"

namespace {

constexpr int kItemCount = 24;
constexpr int kHeading = 7;  // slot: the ray's direction about y, degrees
constexpr int kRayCount = 12;
constexpr float kRayStep = 45.0f;        // degrees between the rays of one dozen
constexpr float kOppositeRay = 180.0f;   // the second dozen runs on the opposite rays
constexpr float kRayReach = 0.4f;        // distance from the centre per unit of travel
constexpr double kFallOff = 0.3;         // divisor of the shrinking part of the scale
constexpr double kThreshold = 1.0 - kFallOff;  // where the tube stops growing, 0.7
constexpr float kHeadingStep = 0.15f;    // per unit of speed and frame
// A heading that reaches this is turned back by a full circle: the ray points
// the same way, and the float keeps the precision its small steps need (an
// unbounded heading would make the rays slow down and stop after some days).
constexpr float kHeadingFold = 720.0f;
constexpr float kTravelStep = 0.04f;     // per unit of speed and frame
// The tube restarts at the hundredths by which it overshot this many
// hundredths, the truncated TravelLimit.
constexpr int kWrapHundredths = static_cast<int>(100 * TravelLimit);  // 2580

void LayOutRays(SceneItem* items) {
  for (int i = 0; i < kItemCount; ++i) {
    items[i].slot[kHeading] = (i % kRayCount) * kRayStep + (i / kRayCount) * kOppositeRay;
    items[i].travel() = (i % kRayCount) * TravelLimit / kRayCount;
  }
}

// Grows linearly from the centre to 0.7 and falls back to 0 at the rim.
float RayScale(float travel) {
  float t = std::fabs(travel) / TravelLimit;
  if (t <= kThreshold) return t;
  return static_cast<float>((1.0f - t) * t / kFallOff);
}

void Advance(SceneItem& item) {
  float& heading = item.slot[kHeading];
  heading = heading + kHeadingStep * g_fSpeed;
  if (heading >= kHeadingFold) heading = heading - 360.0f;
  float& travel = item.travel();
  travel = travel + kTravelStep * g_fSpeed;
  if (travel > TravelLimit) {
    travel = static_cast<float>(static_cast<int>(100.0 * travel) % kWrapHundredths) / 100.0f;
  }
}

void DrawItems(SceneItem* items) {
  for (int i = 0; i < kItemCount; ++i) {
    SceneItem& item = items[i];
    float heading = item.slot[kHeading];
    float s = RayScale(item.travel());
    ApplyViewTransform();
    glRotatef(heading, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, kRayReach * item.travel());
    glScalef(s, s, s);
    glRotatef(-heading, 0.0f, 1.0f, 0.0f);  // the tube's axis parallel to z again
    glTranslatef(0.0f, 0.0f, -CylinderLength / 2.0f);  // centred on its point of the ray
    glRotatef(SpinAngle + item.phase(), 0.0f, 0.0f, 1.0f);
    DrawItemCylinder();
    Advance(item);
  }
}

}  // namespace

bool DrawInsight(SceneState& state) {
  return RunSceneFrame({LayOutRays, DrawItems, 1.0f, nullptr}, state);
}
