// The registry under the settings backend on Windows: the key every
// frame-loop window stores its settings under, and one value's read and write.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr const char* kSettingsKeyPath = "Software\\Tessaron\\Lumvia";

// Remembers the key path and the window's class name as the key class, with
// which the key is made when it is not there yet.
void SetSettingsKey(WindowHandle window, const char* path);
// The stored number, or the default when the key or value cannot be read.
// Every read and write opens (making it if needed) and closes the key itself.
int32_t ReadSettingDword(const char* name, int32_t fallback);
// True when the value was written.
bool WriteSettingDword(const char* name, uint32_t value);
