// Module records, built-in defaults and the enabled-module searches.
#include "core/module_table.h"

#include "core/frame_state.h"

const char* const ModuleNames[kModuleSlots] = {
    "",          "Love",    "Peace",   "Joy",         "Harmony", "Creativity",
    "Serenity",  "Truth",   "Insight", "Inspiration", "Bliss",
};

ModuleRecord ModuleTable[kModuleSlots];
ModuleRecord DefaultTable[kModuleSlots];

namespace {

constexpr ModuleRecord kGenericDefaults = {40.0f, 0.0f, 0.0f, -90.0f, 0.0f, 0.0f, 0.5f, true};

void SetView(const ModuleRecord& r) {
  FrameState.View = {r.depth, r.horz, r.vert, r.xrot, r.yrot, r.zrot, r.speed};
}

}  // namespace

int CurrentModule = 1;

void ResetModuleTable() {
  for (int n = 0; n < kModuleSlots; ++n) ModuleTable[n] = DefaultTable[n] = ModuleRecord{};
  CurrentModule = 1;
}

void SetBuiltInDefaults() {
  for (int n = 0; n < kModuleSlots; ++n) ModuleTable[n] = kGenericDefaults;
  ModuleTable[1].depth = 50.0f;
  ModuleTable[3].depth = 68.0f;
  ModuleTable[4].depth = 25.0f;
  ModuleTable[4].vert = -1.35f;
  ModuleTable[4].xrot = 0.0f;
  ModuleTable[4].yrot = 90.0f;
  ModuleTable[5].depth = 22.0f;
  ModuleTable[5].horz = -6.0f;
  ModuleTable[5].vert = -4.0f;
  ModuleTable[5].xrot = -157.7f;
  ModuleTable[5].yrot = 208.6f;
  ModuleTable[7].depth = 25.0f;
  ModuleTable[7].horz = -7.0f;
  ModuleTable[7].vert = 12.15f;
  ModuleTable[7].yrot = 90.0f;
  ModuleTable[8].depth = 14.0f;
  ModuleTable[9].depth = 30.0f;
  ModuleTable[9].xrot = 0.0f;
  ModuleTable[10].depth = 45.0f;
  ModuleTable[10].speed = 0.3f;
  for (int n = 0; n < kModuleSlots; ++n) DefaultTable[n] = ModuleTable[n];
}

void LoadModuleParams(int module) {
  if (IsModuleNumber(module)) SetView(ModuleTable[module]);
  SpinAngle = 0.0f;
}

void StoreModuleParams(int module) {
  if (!IsModuleNumber(module)) return;
  ModuleRecord& r = ModuleTable[module];
  const ViewParams& v = FrameState.View;
  r = {v.depth, v.horz, v.vert, v.xrot, v.yrot, v.zrot, v.speed, r.active};
}

void LoadDefaultParams(int module) {
  if (IsModuleNumber(module)) SetView(DefaultTable[module]);
}

int CountActiveModules() {
  int count = 0;
  for (int n = 1; n <= kModuleCount; ++n) count += ModuleTable[n].active ? 1 : 0;
  return count;
}

// Both searches look at eleven candidates, so the starting module itself is
// the last one examined and is found when it is the only active module.
// A number outside 0 to 10 searches like 0.
int NextActiveModule(int module) {
  int c = (module >= 0 && module <= kModuleCount) ? module : 0;
  for (int step = 0; step < kModuleCount + 1; ++step) {
    c = c + 1 > kModuleCount ? 1 : c + 1;
    if (ModuleTable[c].active) return c;
  }
  return 0;
}

int PreviousActiveModule(int module) {
  int c = (module >= 0 && module <= kModuleCount) ? module : kModuleCount + 1;
  for (int step = 0; step < kModuleCount + 1; ++step) {
    c = c - 1 < 1 ? kModuleCount : c - 1;
    if (ModuleTable[c].active) return c;
  }
  return 0;
}
