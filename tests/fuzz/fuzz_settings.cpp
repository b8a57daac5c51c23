// Loading the settings from arbitrary stored values. Every 5 bytes of input
// store one value: the first byte picks one of the stored values' names, in
// the order a save writes them, the next four are its number. The load must
// give every value within its range; saving stores every view value of up to
// 1,600,000 hundredths as it was, and a load of what was saved gives the same
// values again.
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/module_table.h"
#include "settings/memory_store.h"
#include "settings/store.h"
#include "settings/stored_values.h"
#include "tests/fuzz/fuzz_seams.h"

using fuzz_seams::Require;

namespace {

struct Entry {
  const StoredValue* value;
  int module;
  std::string name;
};

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = [] {
    std::vector<Entry> all;
    ForEachStoredValue([&](const StoredValue& v, int module) {
      all.push_back({&v, module, StoredValueName(v, module)});
    });
    return all;
  }();
  return entries;
}

// The value as loaded, as a number.
double Loaded(const Entry& e) {
  switch (e.value->scale) {
    case Scale::Hundredths: return ModuleTable[e.module].*e.value->view;
    case Scale::Flag: return ModuleTable[e.module].*e.value->flag ? 1.0 : 0.0;
    case Scale::Whole: return *e.value->setting;
  }
  return 0.0;
}

std::vector<double> LoadedValues() {
  std::vector<double> values;
  for (const Entry& e : Entries()) values.push_back(Loaded(e));
  return values;
}

// A view value that is neither clamped nor missing is stored as it was read.
bool KeptAsStored(const Entry& e, int32_t stored) {
  const StoredValue& v = *e.value;
  return v.scale == Scale::Hundredths && std::isinf(v.low) && std::isinf(v.high) &&
         stored != MissingValue && stored >= -1600000 && stored <= 1600000;
}

void RequireWithinBounds() {
  for (const Entry& e : Entries()) {
    const double x = Loaded(e);
    Require(std::isfinite(x) && x >= e.value->low && x <= e.value->high);
  }
  int firstActive = 0;
  for (int n = kModuleCount; n >= 1; --n)
    if (ModuleTable[n].active) firstActive = n;
  Require(CurrentModule == firstActive);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  memory_store::Clear();
  SetSettingsKey(nullptr, kSettingsKeyPath);
  std::map<size_t, int32_t> given;  // by index into Entries()
  for (size_t at = 0; at + 5 <= size; at += 5) {
    const size_t index = data[at] % Entries().size();
    uint32_t value;
    std::memcpy(&value, data + at + 1, sizeof value);
    WriteSettingDword(Entries()[index].name.c_str(), value);
    given[index] = static_cast<int32_t>(value);
  }

  LoadSettings();
  RequireWithinBounds();
  const std::vector<double> loaded = LoadedValues();

  SaveSettings();
  const std::map<std::string, uint32_t> saved = memory_store::All();
  Require(saved.size() == Entries().size());
  for (const auto& [index, value] : given)
    if (KeptAsStored(Entries()[index], value))
      Require(static_cast<int32_t>(saved.at(Entries()[index].name)) == value);

  LoadSettings();
  Require(LoadedValues() == loaded);
  SaveSettings();
  Require(memory_store::All() == saved);
  return 0;
}
