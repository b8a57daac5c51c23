// Module records, built-in defaults and the enabled-module searches.
#include "core/module_table.h"

const char* const ModuleNames[kModuleSlots] = {
    "",          "Love",    "Peace",   "Joy",         "Harmony", "Creativity",
    "Serenity",  "Truth",   "Insight", "Inspiration", "Bliss",
};

ModuleRecord ModuleTable[kModuleSlots];
ModuleRecord DefaultTable[kModuleSlots];

namespace {

// The view before the first load; also what a load of module 0 leaves in place.
constexpr ModuleRecord kStartView = {40.0f, 0.0f, 0.0f, -90.0f, 0.0f, 0.0f, 5.0f, false};
constexpr ModuleRecord kGenericDefaults = {40.0f, 0.0f, 0.0f, -90.0f, 0.0f, 0.0f, 0.5f, true};

void SetView(const ModuleRecord& r) {
  g_fDepth = r.depth;
  g_fHorz = r.horz;
  g_fVert = r.vert;
  g_fXrot = r.xrot;
  g_fYrot = r.yrot;
  g_fZrot = r.zrot;
  g_fSpeed = r.speed;
}

}  // namespace

float g_fDepth = kStartView.depth;
float g_fHorz = kStartView.horz;
float g_fVert = kStartView.vert;
float g_fXrot = kStartView.xrot;
float g_fYrot = kStartView.yrot;
float g_fZrot = kStartView.zrot;
float g_fSpeed = kStartView.speed;
int CurrentModule = 1;
float SpinAngle = 0.0f;

void ResetModuleTable() {
  for (int n = 0; n < kModuleSlots; ++n) {
    ModuleTable[n] = ModuleRecord{};
    DefaultTable[n] = ModuleRecord{};
  }
  SetView(kStartView);
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
  r.depth = g_fDepth;
  r.horz = g_fHorz;
  r.vert = g_fVert;
  r.xrot = g_fXrot;
  r.yrot = g_fYrot;
  r.zrot = g_fZrot;
  r.speed = g_fSpeed;
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
