// The settings store: the ten module records and the saver's own settings,
// kept per user as 32-bit numbers (view parameters in hundredths). What is
// stored under which name is the table of settings/stored_values.h.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"

// The key every frame-loop window stores its settings under.
constexpr const char* kSettingsKeyPath = "Software\\Tessaron\\Lumvia";

// The number that stands for "missing" for the values with this sentinel
// (settings/stored_values.h): asked for as the default when reading them, and
// taken as missing when stored.
constexpr int32_t MissingValue = -9999;

// The saver's own settings, each starting at the value it reads as when
// nothing is stored. Seconds each module is shown:
extern int32_t CycleTime;
// What the full-screen saver shows on the other monitors, an
// OtherMonitorsChoice (core/monitor_layout.h):
extern int32_t OtherMonitors;
// Puts the saver's own settings back to those start values.
void ResetSettings();

// --- Backend: the registry on Windows, a store in memory or a file natively --
// Remembers the key path and the window's class name as the key class.
void SetSettingsKey(WindowHandle window, const char* path);
// The stored number, or the default when the key or value cannot be read.
int32_t ReadSettingDword(const char* name, int32_t fallback);
// True when the value was written.
bool WriteSettingDword(const char* name, uint32_t value);

// --- Store -----------------------------------------------------------------
void LoadSettings();  // also picks CurrentModule and seeds the random generator
void SaveSettings();  // writes every stored value (a NaN view value keeps its stored one); failures are ignored

// The 32-bit number stored for a view parameter (none for a NaN), and the
// value read back.
std::optional<int32_t> ScaleForStore(float value);
float ScaleFromStore(int32_t stored);
