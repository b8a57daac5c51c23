// Which scene draws which module.
#include "scenes/scenes.h"

const SceneFunction SceneFunctions[kModuleSlots] = {
    nullptr,         DrawLove,       DrawPeace,   DrawJoy,     DrawHarmony,     DrawCreativity,
    DrawSerenity,    DrawTruth,      DrawInsight, DrawInspiration, DrawBliss,
};
