// Module records and the enabled-module searches.
#include "core/module_table.h"

#include "core/frame_state.h"

ModuleRecord ModuleTable[kModuleSlots];
ModuleRecord DefaultTable[kModuleSlots];

namespace {

void SetView(const ModuleRecord& r) {
  FrameState.View = {r.depth, r.horz, r.vert, r.xrot, r.yrot, r.zrot, r.speed};
}

}  // namespace

int CurrentModule = 1;

void ResetModuleTable() {
  for (int n = 0; n < kModuleSlots; ++n) ModuleTable[n] = DefaultTable[n] = ModuleRecord{};
  CurrentModule = 1;
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
