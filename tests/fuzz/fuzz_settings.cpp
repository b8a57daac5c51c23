// Loading the settings from arbitrary stored values. Every 5 bytes of input
// store one value: the first byte picks one of the 82 names, the next four
// are its number. The load must give a table within its bounds; saving it
// stores every view value of up to 1,600,000 hundredths as it was, and a
// load of what was saved gives the same table again.
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/module_table.h"
#include "core/monitor_layout.h"
#include "settings/memory_store.h"
#include "settings/store.h"
#include "tests/fuzz/fuzz_seams.h"

using fuzz_seams::Require;

namespace {

constexpr const char* kFields[] = {"depth", "horz", "vert", "xrot", "yrot", "zrot", "speed", "active"};
constexpr size_t kSpeedField = 6, kActiveField = 7;
constexpr size_t kModuleValueCount = kModuleCount * 8;  // first among the names

const std::vector<std::string>& Names() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (int n = 1; n <= kModuleCount; ++n)
      for (const char* field : kFields) all.push_back("mod" + std::to_string(n) + " " + field);
    all.push_back("cycle time");
    all.push_back("other monitors");
    return all;
  }();
  return names;
}

bool SameTable(const ModuleRecord (&a)[kModuleSlots], const ModuleRecord (&b)[kModuleSlots]) {
  for (int n = 1; n <= kModuleCount; ++n) {
    const ModuleRecord &x = a[n], &y = b[n];
    if (x.depth != y.depth || x.horz != y.horz || x.vert != y.vert || x.xrot != y.xrot ||
        x.yrot != y.yrot || x.zrot != y.zrot || x.speed != y.speed || x.active != y.active)
      return false;
  }
  return true;
}

void RequireWithinBounds() {
  int firstActive = 0;
  for (int n = kModuleCount; n >= 1; --n) {
    const ModuleRecord& r = ModuleTable[n];
    for (float v : {r.depth, r.horz, r.vert, r.xrot, r.yrot, r.zrot}) Require(std::isfinite(v));
    Require(r.speed >= 0.0625f && r.speed <= 10.0f);
    if (r.active) firstActive = n;
  }
  Require(CycleTime >= 0);
  Require(OtherMonitors >= 0 && OtherMonitors < kOtherMonitorsChoiceCount);
  Require(CurrentModule == firstActive);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  memory_store::Clear();
  SetSettingsKey(nullptr, kSettingsKeyPath);
  std::map<size_t, int32_t> given;  // by index into Names()
  for (size_t at = 0; at + 5 <= size; at += 5) {
    const size_t index = data[at] % Names().size();
    uint32_t value;
    std::memcpy(&value, data + at + 1, sizeof value);
    WriteSettingDword(Names()[index].c_str(), value);
    given[index] = static_cast<int32_t>(value);
  }

  LoadSettings();
  RequireWithinBounds();
  ModuleRecord loaded[kModuleSlots];
  std::memcpy(loaded, ModuleTable, sizeof loaded);
  const int32_t loadedOtherMonitors = OtherMonitors;

  SaveSettings();
  const std::map<std::string, uint32_t> saved = memory_store::All();
  Require(saved.size() == Names().size());
  for (const auto& [index, value] : given) {
    const size_t field = index % 8;
    const bool viewValue = index < kModuleValueCount && field != kSpeedField && field != kActiveField;
    if (viewValue && value != MissingValue && value >= -1600000 && value <= 1600000)
      Require(static_cast<int32_t>(saved.at(Names()[index])) == value);
  }

  LoadSettings();
  Require(SameTable(loaded, ModuleTable));
  Require(OtherMonitors == loadedOtherMonitors);
  SaveSettings();
  Require(memory_store::All() == saved);
  return 0;
}
