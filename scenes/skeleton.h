// What every scene shares: the animation angle, the path constants, the
// standard camera, the standard layout and motion of items, and the frame
// skeleton that each scene fills with its own steps.
//
// A scene's state lives in the frame state (core/frame_state.h) and nowhere
// else: its SceneState, SpinAngle, the sway, the random generator and the
// view. A value a scene kept anywhere else would advance once for every place
// a frame is drawn in, and the places would drift apart.
#pragma once

#include <bit>
#include <cstdint>

#include "core/frame_state.h"

// --- Shared values ------------------------------------------------------------
constexpr float CylinderLength = 2.0f * 2.5f;  // the length of the item cylinder
// Half the length of an item's path, the float nearest 800/31 (25.806452).
constexpr float TravelLimit = std::bit_cast<float>(0x41CE739Du);
constexpr int32_t SpinWrapInterval = 500000;  // calls between reductions of SpinAngle mod 360

// Quadric sizes that recur.
constexpr int kSlices = 32;
constexpr int kStacks = 32;
constexpr double kItemRadius = 2.0;

// --- The standard items and their motion --------------------------------------------
constexpr int kStandardItemCount = 24;
constexpr float kItemSpinStep = 30.0f;         // degrees of an item's own turn per item index
constexpr float kStandardTravelStep = 0.05f;   // the AdvanceTravel factor of most scenes
constexpr float kPathSpinDivisor = 4.0f;       // the items' paths turn at a quarter of SpinAngle
constexpr float kCentralSpinDivisor = 3.0f;    // a central object turns at a third of it

void ApplyViewTransform();
// The standard phase of item i: the three items of a group 120 degrees apart,
// each group of three a further 30 degrees on.
float StandardPhase(int i);
void InitStandardItems(SceneItem* items);  // the standard layout of 24 items
float StandardScale(float travel);
void AdvanceTravel(SceneItem& item, float k);
void AdvanceSway();
// The standard camera turned about the scene's z axis to the item's path: by a
// quarter of SpinAngle and the item's phase.
void ApplyPathTransform(const SceneItem& item);
// The angle of item i's own turn: factor × SpinAngle and 30 degrees per index.
float OwnTurn(int i, float factor);
// The standard item motion: for each of the 24 items in index order, the
// standard camera turned to its path, then `draw` (the scene's own transforms
// and its quadric, for the item and its index), then the item's travel by
// AdvanceTravel with this factor.
void DrawStandardItems(SceneItem* items, float travelStep, void (*draw)(const SceneItem& item, int i));
void DrawItemCylinder();  // gluCylinder(Quadric, 2, 2, CylinderLength, 32, 32)
void DrawItemSphere();    // gluSphere(Quadric, 2, 32, 32)
// The item sphere of item i at this scale, its own axis turned along the
// radius of its path (-90 degrees about y) and turning about that axis by
// OwnTurn(i, factor): the items of "Creativity" and "Serenity".
void DrawRadialSphere(int i, float factor, float scale);
// The central sphere of "Joy", "Creativity" and "Serenity": on the origin,
// turning about the scene's z axis at a third of SpinAngle.
void DrawCentralSphere(double radius);

// --- The frame skeleton -------------------------------------------------------------
// A scene supplies its first-frame layout, its items and central object, its
// spin factor and, if it has any, its trailing steps.
struct SceneSteps {
  void (*layout)(SceneItem* items);
  void (*draw)(SceneItem* items);
  float spinFactor;
  void (*trailing)();
};

// Runs one frame of a scene on its state; true when no GL error is pending at
// its end.
bool RunSceneFrame(const SceneSteps& steps, SceneState& state);
// The frame of a module that is not enabled: cleared, nothing drawn, the
// scene's items and SpinAngle left alone; its frames are counted all the same.
bool RunEmptyFrame(SceneState& state);
