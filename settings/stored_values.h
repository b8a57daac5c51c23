// Every value the settings store keeps, one row each: its name, how it is
// scaled, what it holds, the number it reads as when missing and its range.
// Loading, saving, the key limits, the count and the tests all read this
// table: a new value is a new row.
//
// The names are those users' registries and settings files already hold
// (module 10's speed is "mod10 speed"): an existing name never changes.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "core/module_table.h"
#include "core/monitor_layout.h"

// The number that stands for "missing" for the values with this sentinel
// (below): asked for as the default when reading them, and
// taken as missing when stored.
constexpr int32_t MissingValue = -9999;

// The saver's own settings, each starting at the value it reads as when
// nothing is stored. Seconds each module is shown:
extern int32_t CycleTime;
// What the full-screen saver shows on the other monitors, an
// OtherMonitorsChoice (core/monitor_layout.h):
extern int32_t OtherMonitors;
#ifndef _WIN32
// Minutes without input before lumvia -daemon shows the saver (on Windows the
// system's own screen-saver timeout decides):
extern int32_t IdleMinutes;
#endif

// How the stored number stands for the value.
enum class Scale : uint8_t {
  Hundredths,  // a view value: its nearest number of hundredths
  Flag,        // 1 or 0; any number above 0 reads as set
  Whole,       // a number of the saver's own, as it is
};

// What a number read outside a value's range becomes.
enum class OutOfRange : uint8_t {
  Clamped,  // the nearer end of the range
  Missing,  // what a missing value reads as
};

struct StoredValue {
  // "mod%d …" names one value per module, %d its number; any other name, one
  // value of the whole saver.
  const char* name;
  Scale scale;
  // What it holds: the one that goes with the scale.
  float ModuleRecord::*view = nullptr;  // Hundredths: that value of each module's record
  bool ModuleRecord::*flag = nullptr;   // Flag: that flag of each module's record
  int32_t* setting = nullptr;           // Whole: that setting
  // The number a missing value reads as. MissingValue, for a module's value,
  // stands for the module's built-in one (DefaultTable), and a stored
  // MissingValue counts as missing.
  int32_t missing = MissingValue;
  double low = -std::numeric_limits<double>::infinity();
  double high = std::numeric_limits<double>::infinity();
  OutOfRange outside = OutOfRange::Clamped;
  // The numbers a user may choose from, wherever the value is offered for
  // choosing (the settings dialog and window, the command line, XScreenSaver's
  // settings); a stored number outside them still loads as the range above
  // says. The view values are steered by the keys instead.
  int32_t leastChoice = 0;
  int32_t mostChoice = 0;

  constexpr bool PerModule() const { return scale != Scale::Whole; }
};

// In the order each module's values, and then the saver's own, are read and written.
inline constexpr StoredValue kStoredValues[] = {
    {.name = "mod%d depth", .scale = Scale::Hundredths, .view = &ModuleRecord::depth},
    {.name = "mod%d horz", .scale = Scale::Hundredths, .view = &ModuleRecord::horz},
    {.name = "mod%d vert", .scale = Scale::Hundredths, .view = &ModuleRecord::vert},
    {.name = "mod%d xrot", .scale = Scale::Hundredths, .view = &ModuleRecord::xrot},
    {.name = "mod%d yrot", .scale = Scale::Hundredths, .view = &ModuleRecord::yrot},
    {.name = "mod%d zrot", .scale = Scale::Hundredths, .view = &ModuleRecord::zrot},
    // No sentinel: a missing speed is 1.0 for every module, not the built-in one.
    {.name = "mod%d speed", .scale = Scale::Hundredths, .view = &ModuleRecord::speed,
     .missing = 100, .low = 0.0625, .high = 10.0},
    {.name = "mod%d active", .scale = Scale::Flag, .flag = &ModuleRecord::active},
    // Seconds each module is shown: any number from 0 loads.
    {.name = "cycle time", .scale = Scale::Whole, .setting = &CycleTime, .missing = 15, .low = 0,
     .outside = OutOfRange::Missing, .leastChoice = 1, .mostChoice = 9999},
    // An OtherMonitorsChoice.
    {.name = "other monitors", .scale = Scale::Whole, .setting = &OtherMonitors,
     .missing = kOtherMonitorsBlack, .low = 0, .high = kOtherMonitorsChoiceCount - 1,
     .outside = OutOfRange::Missing, .leastChoice = 0, .mostChoice = kOtherMonitorsChoiceCount - 1},
#ifndef _WIN32
    {.name = "idle minutes", .scale = Scale::Whole, .setting = &IdleMinutes, .missing = 10,
     .low = 1, .high = 720, .outside = OutOfRange::Missing, .leastChoice = 1, .mostChoice = 720},
#endif
};

// How many values a save writes.
inline constexpr int kStoredValueCount = [] {
  int count = 0;
  for (const StoredValue& v : kStoredValues) count += v.PerModule() ? kModuleCount : 1;
  return count;
}();

// The row of a value, by what it holds; a compile error when no row holds it.
const StoredValue& NoStoredValueHoldsThis();  // never defined
consteval const StoredValue& StoredValueOf(float ModuleRecord::*field) {
  for (const StoredValue& v : kStoredValues)
    if (v.scale == Scale::Hundredths && v.view == field) return v;
  return NoStoredValueHoldsThis();
}
consteval const StoredValue& StoredValueOf(const int32_t* setting) {
  for (const StoredValue& v : kStoredValues)
    if (v.scale == Scale::Whole && v.setting == setting) return v;
  return NoStoredValueHoldsThis();
}

// The name a value is stored under: "mod3 depth" for module 3's row "mod%d
// depth"; the saver's own values ignore the module.
std::string StoredValueName(const StoredValue& value, int module);

// One number for each stored value, in the order a save writes them
// (ForEachStoredValue below); empty where the store holds none.
using StoredNumbers = std::array<std::optional<int32_t>, kStoredValueCount>;
// The names of those values, in the same order.
const std::array<std::string, kStoredValueCount>& StoredValueNames();

// Calls visit(value, module) for every stored value in the order a save writes
// them: each module's, module by module, then the saver's own (module 0).
template <typename Visit>
void ForEachStoredValue(Visit visit) {
  for (int n = 1; n <= kModuleCount; ++n)
    for (const StoredValue& v : kStoredValues)
      if (v.PerModule()) visit(v, n);
  for (const StoredValue& v : kStoredValues)
    if (!v.PerModule()) visit(v, 0);
}
