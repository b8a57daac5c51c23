// What every scene shares: the animation angle, the path constants, the
// per-module scene state, the standard camera, the standard layout and motion
// of items, and the frame skeleton that each scene fills with its own steps.
#pragma once

#include <bit>
#include <cstdint>

#include "core/module_table.h"

// --- Shared values ------------------------------------------------------------
// SpinAngle (core/module_table.h) is the angle every scene turns by.
constexpr float CylinderLength = 2.0f * 2.5f;  // the length of the item cylinder
// Half the length of an item's path, the float nearest 800/31 (25.806452).
constexpr float TravelLimit = std::bit_cast<float>(0x41CE739Du);
constexpr int32_t SpinWrapInterval = 500000;  // calls between reductions of SpinAngle mod 360
extern float SwayOffset;            // −5 to 5, shared by "Harmony" and "Truth"
extern bool SwayRising;

// Quadric sizes that recur.
constexpr int kSlices = 32;
constexpr int kStacks = 32;
constexpr double kItemRadius = 2.0;

// --- Scene state ----------------------------------------------------------------
constexpr int kSceneItemCount = 30;
constexpr int kTravel = 2;  // slot: position along the item's path
constexpr int kPhase = 8;   // slot: the item's fixed angle offset, degrees

struct SceneItem {
  float slot[10];
  float& travel() { return slot[kTravel]; }
  float& phase() { return slot[kPhase]; }
  float travel() const { return slot[kTravel]; }
  float phase() const { return slot[kPhase]; }
};

struct SceneState {
  int32_t FrameCount;
  bool FirstFrame;
  SceneItem Items[kSceneItemCount];
};

// One per module, indexed by module number (entry 0 unused).
extern SceneState SceneStates[11];

// Puts every scene's state and the shared values back to their start values.
void ResetSceneState();

// --- Helpers ----------------------------------------------------------------------
void ApplyViewTransform();
void InitStandardItems(SceneItem* items);  // the standard layout of 24 items
float StandardScale(float travel);
void AdvanceTravel(SceneItem& item, float k);
void AdvanceSway();
void DrawItemCylinder();  // gluCylinder(Quadric, 2, 2, CylinderLength, 32, 32)
void DrawItemSphere();    // gluSphere(Quadric, 2, 32, 32)
// The central sphere of "Joy", "Creativity" and "Serenity": on the origin,
// turning about the scene's z axis at a third of SpinAngle.
void DrawCentralSphere(double radius);

// --- The frame skeleton -------------------------------------------------------------
// A scene supplies its module number, its first-frame layout, its items and
// central object, its spin factor and, if it has any, its trailing steps.
struct SceneSteps {
  int module;
  void (*layout)(SceneItem* items);
  void (*draw)(SceneItem* items);
  float spinFactor;
  void (*trailing)();
};

// Runs one frame of a scene; true when no GL error is pending at its end or
// the module is not active.
bool RunSceneFrame(const SceneSteps& steps);
