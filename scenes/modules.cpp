// The table of modules, and the built-in settings it gives.
#include "scenes/modules.h"

// clang-format off
const Module Modules[kModuleSlots] = {
    //              depth   horz    vert    xrot     yrot    zrot   speed active
    {"",           {40.0f,  0.0f,   0.0f,  -90.0f,    0.0f, 0.0f,  0.5f, true}, nullptr},
    {"Love",       {50.0f,  0.0f,   0.0f,  -90.0f,    0.0f, 0.0f,  0.5f, true}, DrawLove},
    {"Peace",      {40.0f,  0.0f,   0.0f,  -90.0f,    0.0f, 0.0f,  0.5f, true}, DrawPeace},
    {"Joy",        {68.0f,  0.0f,   0.0f,  -90.0f,    0.0f, 0.0f,  0.5f, true}, DrawJoy},
    {"Harmony",    {25.0f,  0.0f,  -1.35f,   0.0f,   90.0f, 0.0f,  0.5f, true}, DrawHarmony},
    {"Creativity", {22.0f, -6.0f,  -4.0f, -157.7f,  208.6f, 0.0f,  0.5f, true}, DrawCreativity},
    {"Serenity",   {40.0f,  0.0f,   0.0f,  -90.0f,    0.0f, 0.0f,  0.5f, true}, DrawSerenity},
    {"Truth",      {25.0f, -7.0f,  12.15f, -90.0f,   90.0f, 0.0f,  0.5f, true}, DrawTruth},
    {"Insight",    {14.0f,  0.0f,   0.0f,  -90.0f,    0.0f, 0.0f,  0.5f, true}, DrawInsight},
    {"Inspiration",{30.0f,  0.0f,   0.0f,    0.0f,    0.0f, 0.0f,  0.5f, true}, DrawInspiration},
    {"Bliss",      {45.0f,  0.0f,   0.0f,  -90.0f,    0.0f, 0.0f,  0.3f, true}, DrawBliss},
};
// clang-format on

void SetBuiltInDefaults() {
  for (int n = 0; n < kModuleSlots; ++n) ModuleTable[n] = DefaultTable[n] = Modules[n].defaults;
}
