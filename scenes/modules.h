// The ten modules, in their order: each one's name, built-in view and scene.
// A new module is a row here and a scene file.
#pragma once

#include "core/frame_state.h"
#include "core/module_table.h"

// A scene frame function: draws one frame of its module from the module's own
// state; true when no GL error is pending at its end.
using SceneFrame = bool (*)(SceneState& state);

bool DrawLove(SceneState& state);
bool DrawPeace(SceneState& state);
bool DrawJoy(SceneState& state);
bool DrawHarmony(SceneState& state);
bool DrawCreativity(SceneState& state);
bool DrawSerenity(SceneState& state);
bool DrawTruth(SceneState& state);
bool DrawInsight(SceneState& state);
bool DrawInspiration(SceneState& state);
bool DrawBliss(SceneState& state);

struct Module {
  const char* name;
  ModuleRecord defaults;  // its built-in view, enabled
  SceneFrame draw;
};

// By module number. Entry 0 is no module: it holds the generic record that
// both tables give entry 0, and no scene.
extern const Module Modules[kModuleSlots];

// Fills every entry of ModuleTable with its built-in record, then copies them
// all, enabled flags included, into DefaultTable.
void SetBuiltInDefaults();
