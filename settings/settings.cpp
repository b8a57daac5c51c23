// Loading and saving every stored value of the table of stored_values.h
// through the settings backend, one read or write of it each.
#include <cmath>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "core/module_table.h"
#include "core/random.h"
#include "scenes/modules.h"
#include "settings/store.h"
#include "settings/stored_values.h"

namespace {

// The value itself when it lies in the row's range, else the nearer end of
// the range or what a missing value reads as.
template <typename T>
T Bounded(const StoredValue& v, T value, T missing) {
  if (value >= v.low && value <= v.high) return value;
  if (v.outside == OutOfRange::Missing) return missing;
  return value < v.low ? static_cast<T>(v.low) : static_cast<T>(v.high);
}

void LoadValue(const StoredValue& v, int module, std::optional<int32_t> number) {
  const int32_t stored = number.value_or(v.missing);
  ModuleRecord& r = ModuleTable[module];
  const ModuleRecord& builtIn = DefaultTable[module];
  const bool useBuiltIn = v.missing == MissingValue && stored == MissingValue;
  switch (v.scale) {
    case Scale::Hundredths: {
      const float missing = v.missing == MissingValue ? builtIn.*v.view : ScaleFromStore(v.missing);
      r.*v.view = useBuiltIn ? missing : Bounded(v, ScaleFromStore(stored), missing);
      break;
    }
    case Scale::Flag: r.*v.flag = useBuiltIn ? builtIn.*v.flag : stored > 0; break;
    case Scale::Whole: *v.setting = Bounded(v, stored, v.missing); break;
  }
}

// A view value with no number to store leaves the number as it was.
void StoreValue(const StoredValue& v, int module, std::optional<int32_t>& number) {
  switch (v.scale) {
    case Scale::Hundredths:
      if (const auto stored = ScaleForStore(ModuleTable[module].*v.view)) number = stored;
      break;
    case Scale::Flag: number = ModuleTable[module].*v.flag ? 1 : 0; break;
    case Scale::Whole: number = *v.setting; break;
  }
}

}  // namespace

void ResetSettings() {
  for (const StoredValue& v : kStoredValues)
    if (v.scale == Scale::Whole) *v.setting = v.missing;
}

// The nearest hundredth, halves away from zero, worked out in double. So a
// value read from the store and saved unchanged stores the same number again
// (a truncated product, such as 2.55f × 100 = 254.99999, lost a hundredth on
// every run). A value too large for 32 bits (a view rolled for hours, say) or
// an infinity is held at the nearest end of the range; a NaN has no number.
std::optional<int32_t> ScaleForStore(float value) {
  const double hundredths = std::round(static_cast<double>(value) * 100.0);
  if (std::isnan(hundredths)) return std::nullopt;
  if (hundredths >= 2147483647.0) return INT32_MAX;
  if (hundredths <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(hundredths);
}

float ScaleFromStore(int32_t stored) { return static_cast<float>(stored / 100.0); }

void LoadSettingsFrom(const StoredNumbers& numbers) {
  for (ModuleRecord& r : ModuleTable) r = ModuleRecord{};
  SetBuiltInDefaults();
  size_t i = 0;
  ForEachStoredValue([&](const StoredValue& v, int module) { LoadValue(v, module, numbers[i++]); });
  CurrentModule = NextActiveModule(0);
  LoadModuleParams(CurrentModule);
  SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
}

void StoreSettingsInto(StoredNumbers& numbers) {
  size_t i = 0;
  ForEachStoredValue([&](const StoredValue& v, int module) { StoreValue(v, module, numbers[i++]); });
}

bool LoadSettings(std::string* why) {
  StoredNumbers numbers;
  const bool read = ReadStoredNumbers(numbers, why);
  if (!read) numbers = {};
  LoadSettingsFrom(numbers);
  return read;
}

bool SaveSettings(std::string* why) {
  StoredNumbers numbers;
  StoreSettingsInto(numbers);
  return WriteStoredNumbers(numbers, why);
}
