// The settings backend of the native tests: values in memory, inspectable and
// resettable through memory_store.h.
#include "settings/memory_store.h"

#include <map>
#include <string>

#include "settings/store.h"

namespace {
std::map<std::string, uint32_t> Values;
bool Unavailable = false;
}  // namespace

bool ReadStoredNumbers(StoredNumbers& numbers, std::string* why) {
  numbers = {};
  if (Unavailable) {
    if (why) *why = "the store is unavailable";
    return false;
  }
  for (size_t i = 0; i < numbers.size(); ++i)
    if (const auto it = Values.find(StoredValueNames()[i]); it != Values.end())
      numbers[i] = static_cast<int32_t>(it->second);
  return true;
}

bool WriteStoredNumbers(const StoredNumbers& numbers, std::string* why) {
  if (Unavailable) {
    if (why) *why = "the store is unavailable";
    return false;
  }
  for (size_t i = 0; i < numbers.size(); ++i)
    if (numbers[i]) Values[StoredValueNames()[i]] = static_cast<uint32_t>(*numbers[i]);
  return true;
}

namespace memory_store {
void Clear() {
  Values.clear();
  Unavailable = false;
}
void SetUnavailable(bool unavailable) { Unavailable = unavailable; }
void Set(const std::string& name, uint32_t value) { Values[name] = value; }
const std::map<std::string, uint32_t>& All() { return Values; }
}  // namespace memory_store
