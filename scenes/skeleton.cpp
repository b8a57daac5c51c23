// The frame skeleton and the helpers every scene shares.
#include "scenes/skeleton.h"

#include <cmath>

#include "render/gl.h"
#include "render/render_state.h"

namespace {
constexpr float kSwayLimit = 5.0f;
constexpr float kSwayStep = 0.02f;

// Every so many calls the angle is reduced modulo 360, losing its fraction;
// then the clear. Every call of a scene starts so, enabled or not.
void StartSceneFrame(SceneState& state) {
  if (++state.FrameCount % SpinWrapInterval == 0) {
    SpinAngle = static_cast<float>(static_cast<int>(SpinAngle) % 360);
    state.FrameCount = 0;
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
}  // namespace

void ApplyViewTransform() {
  glLoadIdentity();
  glTranslatef(g_fHorz, g_fVert, -g_fDepth);
  glRotatef(g_fZrot, 0.0f, 0.0f, 1.0f);
  glRotatef(g_fYrot, 0.0f, 1.0f, 0.0f);
  glRotatef(g_fXrot, 1.0f, 0.0f, 0.0f);
}

float StandardPhase(int i) { return static_cast<float>(-((120 * i) % 360 + 30 * (i / 3))); }

void InitStandardItems(SceneItem* items) {
  for (int i = 0; i < kStandardItemCount; ++i) {
    items[i].phase() = StandardPhase(i);
    items[i].travel() = (i / 3) * ((2.0f * TravelLimit) / 8.0f) - TravelLimit;
  }
}

float StandardScale(float travel) {
  return ((TravelLimit - std::fabs(travel)) * 1.2f) / TravelLimit;
}

// Only the upper end wraps; the positive speed only ever moves items forward.
// The wrap restarts at the truncated overshoot modulo 25, the integer part of
// TravelLimit.
void AdvanceTravel(SceneItem& item, float k) {
  float& travel = item.travel();
  travel = travel + k * g_fSpeed;
  if (travel > TravelLimit) {
    int wrapped = static_cast<int>(travel) % static_cast<int>(TravelLimit);
    travel = static_cast<float>(wrapped) - TravelLimit;
  }
}

void AdvanceSway() {
  if (SwayRising) {
    SwayOffset = SwayOffset + kSwayStep * g_fSpeed;
    if (SwayOffset > kSwayLimit) {
      SwayRising = false;
      SwayOffset = kSwayLimit;
    }
  } else {
    SwayOffset = SwayOffset - kSwayStep * g_fSpeed;
    if (SwayOffset < -kSwayLimit) {
      SwayRising = true;
      SwayOffset = -kSwayLimit;
    }
  }
}

void ApplyPathTransform(const SceneItem& item) {
  ApplyViewTransform();
  glRotatef(SpinAngle / kPathSpinDivisor + item.phase(), 0.0f, 0.0f, 1.0f);
}

float OwnTurn(int i, float factor) { return factor * SpinAngle + kItemSpinStep * i; }

void DrawStandardItems(SceneItem* items, float travelStep, void (*draw)(const SceneItem& item, int i)) {
  for (int i = 0; i < kStandardItemCount; ++i) {
    ApplyPathTransform(items[i]);
    draw(items[i], i);
    AdvanceTravel(items[i], travelStep);
  }
}

void DrawItemCylinder() {
  gluCylinder(Quadric, kItemRadius, kItemRadius, CylinderLength, kSlices, kStacks);
}

void DrawItemSphere() { gluSphere(Quadric, kItemRadius, kSlices, kStacks); }

void DrawRadialSphere(int i, float factor, float scale) {
  glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
  glRotatef(OwnTurn(i, factor), 0.0f, 0.0f, 1.0f);
  glScalef(scale, scale, scale);
  DrawItemSphere();
}

void DrawCentralSphere(double radius) {
  ApplyViewTransform();
  glRotatef(SpinAngle / kCentralSpinDivisor, 0.0f, 0.0f, 1.0f);
  gluSphere(Quadric, radius, kSlices, kStacks);
}

bool RunSceneFrame(const SceneSteps& steps, SceneState& state) {
  StartSceneFrame(state);
  if (state.FirstFrame) {
    state.FirstFrame = false;
    steps.layout(state.Items);
  }
  steps.draw(state.Items);
  SpinAngle = SpinAngle - steps.spinFactor * g_fSpeed;
  if (steps.trailing) steps.trailing();
  return glGetError() == GL_NO_ERROR;
}

bool RunEmptyFrame(SceneState& state) {
  StartSceneFrame(state);
  return true;
}
