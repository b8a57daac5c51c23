// Loading the settings from an arbitrary settings file, parsed from memory as
// the Linux program reads its file. The load must give every value within its
// range; the save keeps every line it does not own and every view value of up
// to 1,600,000 hundredths as it was; and what was saved reads back as the
// same numbers and the same settings.
#include <cmath>
#include <string>
#include <string_view>

#include "core/module_table.h"
#include "settings/file_store.h"
#include "settings/store.h"
#include "settings/stored_values.h"
#include "tests/fuzz/fuzz_seams.h"

using fuzz_seams::Require;

namespace {

struct Entry {
  const StoredValue* value;
  int module;
};

const std::array<Entry, kStoredValueCount>& Entries() {
  static const std::array<Entry, kStoredValueCount> entries = [] {
    std::array<Entry, kStoredValueCount> all;
    size_t i = 0;
    ForEachStoredValue([&](const StoredValue& v, int module) { all[i++] = {&v, module}; });
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

std::array<double, kStoredValueCount> LoadedValues() {
  std::array<double, kStoredValueCount> values;
  for (size_t i = 0; i < kStoredValueCount; ++i) values[i] = Loaded(Entries()[i]);
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
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  StoredNumbers given;
  ReadSettingsText(text, given);
  LoadSettingsFrom(given);
  RequireWithinBounds();
  const auto loaded = LoadedValues();

  StoredNumbers saved{};
  StoreSettingsInto(saved);
  for (size_t i = 0; i < kStoredValueCount; ++i) {
    Require(saved[i].has_value());
    if (given[i] && KeptAsStored(Entries()[i], *given[i])) Require(*saved[i] == *given[i]);
  }
  const std::string written = WriteSettingsText(text, saved);

  StoredNumbers again;
  ReadSettingsText(written, again);
  Require(again == saved);
  LoadSettingsFrom(again);
  Require(LoadedValues() == loaded);
  return 0;
}
