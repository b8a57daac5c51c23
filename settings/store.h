// The settings store: the ten module records and the cycle time, kept per
// user as 32-bit numbers (view parameters in hundredths).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"

// The key every frame-loop window stores its settings under.
constexpr const char* kSettingsKeyPath = "Software\\Tessaron\\Lumvia";

// The default asked for when reading a value that has this sentinel meaning
// "missing" (all view values and the active flag, not the speed).
constexpr int32_t MissingValue = -9999;

// Seconds each module is shown; 15 when nothing is stored.
extern int32_t CycleTime;
// What the full-screen saver shows on the other monitors, an
// OtherMonitorsChoice (core/monitor_layout.h); 0, black, when nothing is stored.
extern int32_t OtherMonitors;

// --- Backend: the registry on Windows, a store in memory or a file natively --
// Remembers the key path and the window's class name as the key class.
void SetSettingsKey(WindowHandle window, const char* path);
// The stored number, or the default when the key or value cannot be read.
int32_t ReadSettingDword(const char* name, int32_t fallback);
// True when the value was written.
bool WriteSettingDword(const char* name, uint32_t value);

// --- Store -----------------------------------------------------------------
void LoadSettings();  // also picks CurrentModule and seeds the random generator
void SaveSettings();  // writes all 82 values (a NaN view value keeps its stored one); failures are ignored

// The 32-bit number stored for a view parameter (none for a NaN), and the
// value read back.
std::optional<int32_t> ScaleForStore(float value);
float ScaleFromStore(int32_t stored);
