// The control menu from the real dialog resource 105: its template, the
// focus on OK, its place in the middle of the desktop, one menu at a time,
// and the cursor shown and confined while the saver runs it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/control_menu.h"
#include "tests/win32/saver_support_win32.h"

namespace {

using namespace saver_support;

struct MenuSeen {
  bool found = false;
  std::string caption;
  RECT window{};
  RECT clip{};
  RECT dialogUnits{};  // 135 × 161 in pixels
  RECT client{};
  HWND focus = nullptr;
  HWND okButton = nullptr;
  std::vector<std::string> texts;
  LONG style = 0;
  int nestedMenus = 0;
};
MenuSeen Seen;

HWND FindMenu() { return FindWindowA("#32770", "Control Menu"); }

BOOL CALLBACK CollectText(HWND child, LPARAM) {
  char text[512] = {};
  GetWindowTextA(child, text, sizeof text);
  Seen.texts.emplace_back(text);
  return TRUE;
}

// Runs inside the menu's modal loop: looks at the menu, tries to open a
// second one, then presses OK.
void CALLBACK InspectMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = FindMenu();
  if (!menu) return;
  KillTimer(nullptr, timer);
  Seen.found = true;
  char caption[64] = {};
  GetWindowTextA(menu, caption, sizeof caption);
  Seen.caption = caption;
  GetWindowRect(menu, &Seen.window);
  GetClipCursor(&Seen.clip);
  Seen.dialogUnits = {0, 0, 135, 161};
  MapDialogRect(menu, &Seen.dialogUnits);
  GetClientRect(menu, &Seen.client);
  Seen.focus = GetFocus();
  Seen.okButton = GetDlgItem(menu, IDOK);
  Seen.style = GetWindowLongA(menu, GWL_STYLE);
  EnumChildWindows(menu, CollectText, 0);
  ShowControlMenu(nullptr);  // returns at once: one is open
  Seen.nestedMenus = FindMenu() == menu ? 0 : 1;
  PostMessageA(menu, WM_COMMAND, IDOK, 0);
}

class ControlMenuTest : public SaverFixture {
 protected:
  void SetUp() override {
    SaverFixture::SetUp();
    Seen = MenuSeen{};
    ClipCursor(nullptr);
  }
  static void Open() {
    SetTimer(nullptr, 0, 30, InspectMenu);
    ShowControlMenu(nullptr);
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(FindMenu(), nullptr);
  }
};

TEST_F(ControlMenuTest, TheMenuListsTheKeysWithTheFocusOnOk) {
  Open();
  EXPECT_EQ(Seen.caption, "Control Menu");
  EXPECT_EQ(Seen.focus, Seen.okButton);
  EXPECT_TRUE(Seen.style & WS_CAPTION);
  EXPECT_TRUE(Seen.style & WS_SYSMENU);
  EXPECT_EQ(Seen.client.right, Seen.dialogUnits.right);  // 135 × 161 dialog units
  EXPECT_EQ(Seen.client.bottom, Seen.dialogUnits.bottom);
  ASSERT_EQ(Seen.texts.size(), 3u);
  EXPECT_EQ(Seen.texts[0], "OK");
  EXPECT_EQ(Seen.texts[1],
            "F1 - This Control Menu\nEsc - Quit\n\nPage Up - Zoom Out\nPage Down - Zoom In\n"
            "Arrow Keys - Up Down Right Left\nF2,F3 - Rotate Fwd/Bkwd\nF4,F5 - Rotate Vertical\n"
            "F6,F7 - Rotate Left/Right\nF8,F9 - Speed Up/Down\nHome - Restore Default Position");
  EXPECT_EQ(Seen.texts[2], "Enter - Next Module\nBackspace - Previous Module");
}

TEST_F(ControlMenuTest, TheMenuStandsInTheMiddleOfTheDesktop) {
  Open();
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  const LONG width = Seen.window.right - Seen.window.left;
  const LONG height = Seen.window.bottom - Seen.window.top;
  EXPECT_EQ(Seen.window.left, (desktop.right - width) / 2);
  EXPECT_EQ(Seen.window.top, (desktop.bottom - height) / 2);
}

TEST_F(ControlMenuTest, OnlyOneMenuAtATime) {
  Open();
  EXPECT_EQ(Seen.nestedMenus, 0);
  // Closed again, the next F1 opens it anew.
  Seen = MenuSeen{};
  Open();
}

TEST_F(ControlMenuTest, InTheSaverTheCursorIsConfinedToTheMenu) {
  // 32-bit programs under Wine lose their cursor clip as soon as a window of
  // theirs is shown (64-bit ones keep it), so the menu's clip cannot be seen.
  if (sizeof(void*) == 4 && GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
    GTEST_SKIP() << "32-bit Wine drops the cursor clip when a window shows";
  SaverState.SaverMode = true;
  Open();
  EXPECT_EQ(Seen.clip.left, Seen.window.left);
  EXPECT_EQ(Seen.clip.top, Seen.window.top);
  EXPECT_EQ(Seen.clip.right, Seen.window.right);
  EXPECT_EQ(Seen.clip.bottom, Seen.window.bottom);
  RECT after;
  GetClipCursor(&after);
  EXPECT_GE(after.right - after.left, GetSystemMetrics(SM_CXSCREEN));  // released again
}

TEST_F(ControlMenuTest, InTheSettingsDialogTheCursorIsLeftAlone) {
  SaverState.SaverMode = false;
  Open();
  EXPECT_GE(Seen.clip.right - Seen.clip.left, GetSystemMetrics(SM_CXSCREEN));
}

// One monitor here: the monitor test bed (tests/e2e/monitors_test.sh) shows
// the settings dialog on the monitor of its owner or of the cursor.
TEST(CenterWindowTest, PlacesAWindowInTheMiddleAndShowsIt) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 301, 201, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  CenterWindow(window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoA(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT& area = monitor.rcWork;
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, area.left + (area.right - area.left - 301) / 2);
  EXPECT_EQ(r.top, area.top + (area.bottom - area.top - 201) / 2);
  EXPECT_EQ(r.right - r.left, 301);
  EXPECT_TRUE(IsWindowVisible(window));
  DestroyWindow(window);
}

}  // namespace
