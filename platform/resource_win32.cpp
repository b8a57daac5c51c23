// The resource seam on Windows: the program's own resources.
#include <windows.h>

#include "platform/platform.h"

bool FindResourceBytes(uint16_t id, const char* type, const uint8_t** data, size_t* size) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(nullptr, found);
  if (!loaded) return false;
  *data = static_cast<const uint8_t*>(LockResource(loaded));
  *size = SizeofResource(nullptr, found);
  return *data != nullptr && *size != 0;
}
