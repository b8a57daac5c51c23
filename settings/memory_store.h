// Inspection of the in-memory settings backend used by native tests.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace memory_store {
void Clear();
void SetUnavailable(bool unavailable);  // reads give defaults, writes fail
const std::map<std::string, uint32_t>& All();
const std::string& KeyPath();
}  // namespace memory_store
