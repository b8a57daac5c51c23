// The saver's own settings and the names of the stored values, from their
// table.
#include "settings/stored_values.h"

constinit int32_t CycleTime = StoredValueOf(&CycleTime).missing;
constinit int32_t OtherMonitors = StoredValueOf(&OtherMonitors).missing;
#ifndef _WIN32
constinit int32_t IdleMinutes = StoredValueOf(&IdleMinutes).missing;
#endif

std::string StoredValueName(const StoredValue& value, int module) {
  std::string name = value.name;
  if (const size_t at = name.find("%d"); at != std::string::npos)
    name.replace(at, 2, std::to_string(module));
  return name;
}

const std::array<std::string, kStoredValueCount>& StoredValueNames() {
  static const std::array<std::string, kStoredValueCount> names = [] {
    std::array<std::string, kStoredValueCount> all;
    size_t i = 0;
    ForEachStoredValue([&](const StoredValue& v, int module) { all[i++] = StoredValueName(v, module); });
    return all;
  }();
  return names;
}
