// The product's own resources as Windows sees them: the saver's name, the
// icon groups (and none under the number the window class asks for), the
// version resource with the project version, and the manifest's DPI
// awareness, Windows 10/11 compatibility and common controls 6.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "resources/resource.h"

namespace {

std::string ResourceText(LPCSTR type, LPCSTR name) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, name, type);
  if (!found) return {};
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(self, found)));
  return std::string(bytes, SizeofResource(self, found));
}

TEST(ResourcesTest, StringOneNamesTheSaver) {
  char name[64] = {};
  ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_DESCRIPTION, name, sizeof name), 0);
  EXPECT_STREQ(name, "Lumvia");
}

TEST(ResourcesTest, TheIconGroupsLeaveNumberOneHundredFree) {
  HMODULE self = GetModuleHandleA(nullptr);
  EXPECT_NE(FindResourceA(self, "ID_APP", MAKEINTRESOURCEA(14)), nullptr);       // RT_GROUP_ICON
  EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(14)), nullptr);
  EXPECT_EQ(IDR_MAINFRAME, 104);
  EXPECT_EQ(LoadIconA(self, MAKEINTRESOURCEA(100)), nullptr);
  HICON shown = LoadIconA(self, "ID_APP");
  ASSERT_NE(shown, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(shown, &info));
  BITMAP bitmap{};
  GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXICON));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST(ResourcesTest, TheVersionResourceCarriesTheProjectVersion) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const DWORD blockSize = GetFileVersionInfoSizeA(path, nullptr);
  ASSERT_GT(blockSize, 0u);
  std::string copy(blockSize, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, blockSize, copy.data()));
  void* value = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(copy.data(), "\\StringFileInfo\\040904B0\\ProductName", &value, &size));
  EXPECT_STREQ(static_cast<const char*>(value), "Lumvia");
  ASSERT_TRUE(VerQueryValueA(copy.data(), "\\StringFileInfo\\040904B0\\ProductVersion", &value, &size));
  EXPECT_STREQ(static_cast<const char*>(value), LUMVIA_VERSION_TEXT);
  ASSERT_TRUE(VerQueryValueA(copy.data(), "\\", &value, &size));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  char numbers[32];
  std::snprintf(numbers, sizeof numbers, "%u.%u.%u",
                static_cast<unsigned>(HIWORD(fixed->dwProductVersionMS)),
                static_cast<unsigned>(LOWORD(fixed->dwProductVersionMS)),
                static_cast<unsigned>(HIWORD(fixed->dwProductVersionLS)));
  EXPECT_STREQ(numbers, LUMVIA_VERSION_TEXT);
}

TEST(ResourcesTest, TheManifestAsksForDpiAwarenessAndKnowsWindowsTen) {
  const std::string manifest = ResourceText(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));  // RT_MANIFEST
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("<dpiAwareness"), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2, PerMonitor, System"), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);
}

// The test program carries the same manifest, so the common controls it
// loads are the ones the saver's dialogs get: version 6, from the system's
// side-by-side store rather than the system folder.
TEST(ResourcesTest, TheManifestBringsCommonControlsSix) {
  const std::string manifest = ResourceText(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  char path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(LoadLibraryA("comctl32.dll"), path, MAX_PATH), 0u);
  std::string loaded = path;
  std::transform(loaded.begin(), loaded.end(), loaded.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos)
      << path;
}

}  // namespace
