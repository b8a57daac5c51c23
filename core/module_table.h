// The ten modules' persisted parameter records, the built-in defaults they
// start from (filled from the table of modules, scenes/modules.h), the module
// on screen and the module searches. The live view parameters of
// the module on screen are part of the frame state (core/frame_state.h).
#pragma once

#include <cstdint>

constexpr int kModuleCount = 10;       // modules are numbered 1 to 10
constexpr int kModuleSlots = kModuleCount + 1;  // entry 0 exists, never a module

// One module's parameters, in the order they are stored.
struct ModuleRecord {
  float depth;   // distance of the scene from the viewer
  float horz;    // horizontal offset
  float vert;    // vertical offset
  float xrot;    // rotations in degrees
  float yrot;
  float zrot;
  float speed;   // animation speed factor
  bool active;   // takes part in the saver's rotation
};

// --- Module table: filled and saved by the settings store ------------------
extern ModuleRecord ModuleTable[kModuleSlots];
extern ModuleRecord DefaultTable[kModuleSlots];  // built-in defaults, read-only after a load

// The module on screen, 1 to 10, or 0 when no module is active.
extern int CurrentModule;

// Puts both tables and CurrentModule back to their start-up values.
void ResetModuleTable();

void LoadModuleParams(int module);    // also restarts SpinAngle, for every module number
void StoreModuleParams(int module);
void LoadDefaultParams(int module);
int CountActiveModules();
int NextActiveModule(int module);     // 0 when no module is active
int PreviousActiveModule(int module);

inline bool IsModuleNumber(int module) { return module >= 1 && module <= kModuleCount; }
