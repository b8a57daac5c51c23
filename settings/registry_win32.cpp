// The settings backend on Windows: values under HKEY_CURRENT_USER. Every read
// and write opens (creating if needed) and closes the key by itself.
#include "settings/registry_win32.h"

#include <windows.h>

#include <cstring>
#include <optional>

#include "settings/store.h"

namespace {

constexpr size_t kClassNameSize = 40;  // with the terminator
char KeyPath[MAX_PATH];
char KeyClass[kClassNameSize];

HKEY OpenSettingsKey() {
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath, 0, KeyClass, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition);
  return rc == ERROR_SUCCESS ? key : nullptr;
}

// The value's type is not checked. Data shorter than 4 bytes lands in a
// zero-filled buffer, so the bytes that came are zero-extended; longer data
// fails the query and gives the default.
std::optional<int32_t> ReadValue(const char* name) {
  HKEY key = OpenSettingsKey();
  if (!key) return std::nullopt;
  unsigned char data[4] = {0, 0, 0, 0};
  DWORD size = sizeof data;
  LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, data, &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  int32_t value;
  std::memcpy(&value, data, sizeof value);
  return value;
}

}  // namespace

void SetSettingsKey(WindowHandle window, const char* path) {
  lstrcpynA(KeyPath, path, sizeof KeyPath);
  KeyClass[0] = '\0';
  if (window) GetClassNameA(static_cast<HWND>(window), KeyClass, sizeof KeyClass);
}

bool WriteSettingDword(const char* name, uint32_t value) {
  HKEY key = OpenSettingsKey();
  if (!key) return false;
  LONG rc = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

int32_t ReadSettingDword(const char* name, int32_t fallback) {
  return ReadValue(name).value_or(fallback);
}

// No registry failure is reported: an unreadable value is missing, and a
// failed write does not stop the others.
bool ReadStoredNumbers(StoredNumbers& numbers, std::string*) {
  for (size_t i = 0; i < numbers.size(); ++i) numbers[i] = ReadValue(StoredValueNames()[i].c_str());
  return true;
}

bool WriteStoredNumbers(const StoredNumbers& numbers, std::string* why) {
  bool all = true;
  for (size_t i = 0; i < numbers.size(); ++i)
    if (numbers[i])
      all = WriteSettingDword(StoredValueNames()[i].c_str(), static_cast<uint32_t>(*numbers[i])) && all;
  if (!all && why) *why = "a value could not be written to the registry";
  return all;
}
