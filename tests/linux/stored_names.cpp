// Prints the name of every value the saver stores, one a line, in the order a
// save writes them: what the window test expects the settings file to hold.
#include <cstdio>

#include "settings/stored_values.h"

int main() {
  ForEachStoredValue([](const StoredValue& v, int module) {
    std::printf("%s\n", StoredValueName(v, module).c_str());
  });
  return 0;
}
