// The registry backend of the settings store on a scratch key of the current
// user: round trips, the key class, values of other types and sizes, a key
// that cannot be opened, and every value of a full save.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/frame_state.h"
#include "core/module_table.h"
#include "frames/frame.h"
#include "settings/registry_win32.h"
#include "settings/store.h"
#include "settings/stored_values.h"

namespace {

constexpr char kWindowClass[] = "LumviaRegistryTestWindow";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "Software\\Tessaron\\LumviaTest-" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    SetSettingsKey(window_, path_.c_str());
    ResetEngineState();
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    DestroyWindow(window_);
  }
  HKEY Open() {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    return key;
  }
  void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = Open();
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }

  std::string path_;
  HWND window_ = nullptr;
};

TEST_F(RegistryTest, WriteThenReadRoundTrips) {
  EXPECT_TRUE(WriteSettingDword("mod3 depth", 6800));
  EXPECT_TRUE(WriteSettingDword("mod5 horz", static_cast<uint32_t>(-600)));
  EXPECT_EQ(ReadSettingDword("mod3 depth", -9999), 6800);
  EXPECT_EQ(ReadSettingDword("mod5 horz", -9999), -600);
  EXPECT_EQ(ReadSettingDword("missing", 123), 123);

  HKEY key = Open();
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExA(key, "mod3 depth", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, 4u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, TheFirstReadCreatesTheKeyWithTheWindowClass) {
  EXPECT_EQ(ReadSettingDword("cycle time", 15), 15);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  char keyClass[64] = {};
  DWORD classSize = sizeof keyClass;
  ASSERT_EQ(RegQueryInfoKeyA(key, keyClass, &classSize, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_STREQ(keyClass, kWindowClass);
  RegCloseKey(key);
}

TEST_F(RegistryTest, ValuesOfOtherTypesAndSizesNeverDisturbTheRest) {
  WriteSettingDword("neighbour", 77);
  const char one[] = "x";        // 2 bytes with the terminator: zero-extended
  SetRaw("short string", REG_SZ, one, sizeof one);
  const char longer[] = "hello";  // 6 bytes: too long, the default
  SetRaw("long string", REG_SZ, longer, sizeof longer);
  const unsigned char three[] = {1, 2, 3};
  SetRaw("three bytes", REG_BINARY, three, sizeof three);
  const unsigned char four[] = {0x10, 0x27, 0, 0};
  SetRaw("four bytes", REG_BINARY, four, sizeof four);
  const unsigned long long wide = 5;
  SetRaw("qword", REG_QWORD, &wide, sizeof wide);
  SetRaw("empty", REG_BINARY, nullptr, 0);

  EXPECT_EQ(ReadSettingDword("short string", -9999), 'x');
  EXPECT_EQ(ReadSettingDword("long string", -9999), -9999);
  EXPECT_EQ(ReadSettingDword("three bytes", -9999), 0x030201);
  EXPECT_EQ(ReadSettingDword("four bytes", -9999), 10000);
  EXPECT_EQ(ReadSettingDword("qword", -9999), -9999);
  EXPECT_EQ(ReadSettingDword("empty", -9999), 0);
  EXPECT_EQ(ReadSettingDword("neighbour", -9999), 77);
}

TEST_F(RegistryTest, LoadOverOddValuesKeepsEveryOtherValue) {
  const char text[] = "garbage value";
  SetRaw("mod3 depth", REG_SZ, text, sizeof text);
  WriteSettingDword("mod5 horz", static_cast<uint32_t>(-600));
  LoadSettings();
  EXPECT_EQ(ModuleTable[3].depth, 68.0f);  // unreadable: the built-in default
  EXPECT_EQ(ModuleTable[5].horz, -6.0f);
}

TEST_F(RegistryTest, AKeyThatCannotBeOpenedGivesDefaults) {
  // A path that starts with a separator is no valid key name.
  SetSettingsKey(window_, ("\\" + path_).c_str());
  EXPECT_FALSE(WriteSettingDword("mod3 depth", 1));
  EXPECT_EQ(ReadSettingDword("mod3 depth", -9999), -9999);
  LoadSettings();
  EXPECT_EQ(ModuleTable[3].depth, 68.0f);
  EXPECT_EQ(CycleTime, 15);
}

TEST_F(RegistryTest, SaveLeavesADwordForEveryStoredValue) {
  LoadSettings();
  ModuleTable[7].vert = 12.15f;
  ModuleTable[9].active = false;
  CycleTime = 30;
  SaveSettings();

  HKEY key = Open();
  std::map<std::string, DWORD> values;
  for (DWORD i = 0;; ++i) {
    char name[64];
    DWORD nameSize = sizeof name, type = 0, data = 0, dataSize = sizeof data;
    LONG rc = RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                            &dataSize);
    if (rc != ERROR_SUCCESS) break;
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
    EXPECT_EQ(dataSize, 4u) << name;
    values[name] = data;
  }
  RegCloseKey(key);
  ASSERT_EQ(values.size(), static_cast<size_t>(kStoredValueCount));
  EXPECT_EQ(values.at("mod7 vert"), 1215u);
  EXPECT_EQ(values.at("mod5 xrot"), static_cast<DWORD>(-15770));
  EXPECT_EQ(values.at("mod10 speed"), 100u);
  EXPECT_EQ(values.at("mod9 active"), 0u);
  EXPECT_EQ(values.at("mod1 active"), 1u);
  EXPECT_EQ(values.at("mod3 depth"), 6800u);
  EXPECT_EQ(values.at("cycle time"), 30u);
}

}  // namespace
