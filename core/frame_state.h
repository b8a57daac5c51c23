// Everything a frame advances, in one struct: the live view, the scenes'
// shared angle and sway, the random generator and each scene's own state.
// It is a plain value, so drawing one frame in several places (viewports, or
// the surfaces of several outputs) is a copy of it taken before the first and
// put back before each further one; every scene then shows the same picture
// everywhere and advances once.
//
// A scene keeps its state here and nowhere else: a value kept outside would
// advance once per place, and the places would drift apart.
#pragma once

#include <cstdint>

#include "core/module_table.h"

// The live parameters of the module on screen, in the order of ModuleRecord.
struct ViewParams {
  float depth, horz, vert, xrot, yrot, zrot, speed;
  bool operator==(const ViewParams&) const = default;
};

// --- A scene's own state -------------------------------------------------------
constexpr int kSceneItemCount = 30;
constexpr int kTravel = 2;  // slot: position along the item's path
constexpr int kPhase = 8;   // slot: the item's fixed angle offset, degrees

struct SceneItem {
  float slot[10] = {};
  float& travel() { return slot[kTravel]; }
  float& phase() { return slot[kPhase]; }
  float travel() const { return slot[kTravel]; }
  float phase() const { return slot[kPhase]; }
  bool operator==(const SceneItem&) const = default;
};

struct SceneState {
  int32_t FrameCount = 0;  // calls since start or since the last spin wrap
  bool FirstFrame = true;  // the items are not laid out yet
  SceneItem Items[kSceneItemCount] = {};
  bool operator==(const SceneState&) const = default;
};

// --- The state a frame advances, at its start values ------------------------------
struct FrameStateRecord {
  // The view before the first load; also what a load of module 0 leaves in place.
  ViewParams View = {40.0f, 0.0f, 0.0f, -90.0f, 0.0f, 0.0f, 5.0f};
  float SpinAngle = 0.0f;     // degrees every scene turns by; falls each drawn frame
  float SwayOffset = 0.0f;    // −5 to 5, shared by "Harmony" and "Truth"
  bool SwayRising = true;
  uint32_t RandomState = 1;   // the generator of core/random.h
  SceneState Scenes[kModuleSlots] = {};  // by module number; entry 0 unused
  bool operator==(const FrameStateRecord&) const = default;
};

extern FrameStateRecord FrameState;

// The names the scenes, the keys and the settings use: fields of FrameState.
inline float& g_fDepth = FrameState.View.depth;
inline float& g_fHorz = FrameState.View.horz;
inline float& g_fVert = FrameState.View.vert;
inline float& g_fXrot = FrameState.View.xrot;
inline float& g_fYrot = FrameState.View.yrot;
inline float& g_fZrot = FrameState.View.zrot;
inline float& g_fSpeed = FrameState.View.speed;
inline float& SpinAngle = FrameState.SpinAngle;
inline float& SwayOffset = FrameState.SwayOffset;
inline bool& SwayRising = FrameState.SwayRising;
inline SceneState (&SceneStates)[kModuleSlots] = FrameState.Scenes;
