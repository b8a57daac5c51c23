// The settings backend of the native tests: values in memory, inspectable and
// resettable through memory_store.h.
#include "settings/memory_store.h"

#include <map>
#include <string>

#include "settings/store.h"

namespace {
std::map<std::string, uint32_t>& Values() {
  static std::map<std::string, uint32_t> values;
  return values;
}
std::string Path;
bool Unavailable = false;
}  // namespace

void SetSettingsKey(WindowHandle, const char* path) { Path = path; }

int32_t ReadSettingDword(const char* name, int32_t fallback) {
  if (Unavailable) return fallback;
  auto it = Values().find(name);
  return it == Values().end() ? fallback : static_cast<int32_t>(it->second);
}

bool WriteSettingDword(const char* name, uint32_t value) {
  if (Unavailable) return false;
  Values()[name] = value;
  return true;
}

namespace memory_store {
void Clear() {
  Values().clear();
  Path.clear();
  Unavailable = false;
}
void SetUnavailable(bool unavailable) { Unavailable = unavailable; }
const std::map<std::string, uint32_t>& All() { return Values(); }
const std::string& KeyPath() { return Path; }
}  // namespace memory_store
