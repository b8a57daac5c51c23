// Inspection of the in-memory settings backend used by native tests.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace memory_store {
void Clear();
void SetUnavailable(bool unavailable);  // reads find nothing and fail, writes fail
void Set(const std::string& name, uint32_t value);
const std::map<std::string, uint32_t>& All();
}  // namespace memory_store
