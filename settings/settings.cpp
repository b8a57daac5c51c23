// Loading and saving the module records and the cycle time through the
// settings backend.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>

#include "core/module_table.h"
#include "core/monitor_layout.h"
#include "core/random.h"
#include "settings/store.h"

int32_t CycleTime = 15;
int32_t OtherMonitors = kOtherMonitorsBlack;

namespace {

constexpr int32_t kDefaultCycleTime = 15;
constexpr int32_t kDefaultStoredSpeed = 100;  // speed 1.0
constexpr float kMinSpeed = 0.0625f;
constexpr float kMaxSpeed = 10.0f;

// The stored values of one module, in the order they are written. The seven
// view parameters come first, in the order of ModuleRecord.
enum Field { kDepth, kHorz, kVert, kXrot, kYrot, kZrot, kSpeed, kActive, kFieldCount };
const char* const kFieldNames[kFieldCount] = {"depth", "horz", "vert",  "xrot",
                                              "yrot",  "zrot", "speed", "active"};

float* ViewField(ModuleRecord& r, int field) {
  float* fields[] = {&r.depth, &r.horz, &r.vert, &r.xrot, &r.yrot, &r.zrot, &r.speed};
  return fields[field];
}

struct ValueName {
  char text[32];
};

ValueName NameOf(int module, int field) {
  ValueName name;
  std::snprintf(name.text, sizeof name.text, "mod%d %s", module, kFieldNames[field]);
  return name;
}

void LoadModule(int n) {
  ModuleRecord& r = ModuleTable[n];
  for (int field = kDepth; field <= kZrot; ++field) {
    int32_t v = ReadSettingDword(NameOf(n, field).text, MissingValue);
    *ViewField(r, field) = v == MissingValue ? *ViewField(DefaultTable[n], field) : ScaleFromStore(v);
  }

  float speed = ScaleFromStore(ReadSettingDword(NameOf(n, kSpeed).text, kDefaultStoredSpeed));
  if (speed < kMinSpeed) speed = kMinSpeed;
  if (!(speed <= kMaxSpeed)) speed = kMaxSpeed;
  r.speed = speed;

  int32_t active = ReadSettingDword(NameOf(n, kActive).text, MissingValue);
  r.active = active == MissingValue ? DefaultTable[n].active : active > 0;
}

}  // namespace

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

void LoadSettings() {
  for (ModuleRecord& r : ModuleTable) r = ModuleRecord{};
  SetBuiltInDefaults();
  for (int n = 1; n <= kModuleCount; ++n) LoadModule(n);

  CycleTime = ReadSettingDword("cycle time", kDefaultCycleTime);
  if (CycleTime < 0) CycleTime = kDefaultCycleTime;
  OtherMonitors = ReadSettingDword("other monitors", kOtherMonitorsBlack);
  if (OtherMonitors < 0 || OtherMonitors >= kOtherMonitorsChoiceCount) OtherMonitors = kOtherMonitorsBlack;

  CurrentModule = NextActiveModule(0);
  LoadModuleParams(CurrentModule);
  SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
}

void SaveSettings() {
  for (int n = 1; n <= kModuleCount; ++n) {
    ModuleRecord& r = ModuleTable[n];
    // A view value with no number to store leaves the stored one as it was.
    for (int field = kDepth; field <= kSpeed; ++field)
      if (const auto stored = ScaleForStore(*ViewField(r, field)))
        WriteSettingDword(NameOf(n, field).text, static_cast<uint32_t>(*stored));
    WriteSettingDword(NameOf(n, kActive).text, r.active ? 1u : 0u);
  }
  WriteSettingDword("cycle time", static_cast<uint32_t>(CycleTime));
  WriteSettingDword("other monitors", static_cast<uint32_t>(OtherMonitors));
}
