// The ten scene frame functions, one per module. Each draws one frame of its
// module and returns true when no GL error is pending at its end.
#pragma once

#include "core/module_table.h"

bool DrawLove();
bool DrawPeace();
bool DrawJoy();
bool DrawHarmony();
bool DrawCreativity();
bool DrawSerenity();
bool DrawTruth();
bool DrawInsight();
bool DrawInspiration();
bool DrawBliss();

// The scene of each module number; entry 0 is empty.
using SceneFunction = bool (*)();
extern const SceneFunction SceneFunctions[kModuleSlots];
