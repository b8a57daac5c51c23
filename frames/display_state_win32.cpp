// The display's state and the window's visibility, which decide whether the
// frame loop draws; see display_state_win32.h.
#include "frames/display_state_win32.h"

#include <versionhelpers.h>

#include <cstring>

#include "core/saver_state.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE: its data is a DWORD, 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// GUID_SESSION_DISPLAY_STATUS: the display of the program's own session, as
// the console display's state.
constexpr GUID kSessionDisplayStatus = {
    0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
// GUID_MONITOR_POWER_ON, the same news before Windows 8: a DWORD, 0 off, 1 on.
constexpr GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr DWORD kDisplayOff = 0;

using RegisterFn = HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HPOWERNOTIFY);

HPOWERNOTIFY Registration = nullptr;
UnregisterFn Unregister = nullptr;
bool DisplayOff = false;

// The service exists from Windows Vista on: looked up by name, so that the
// saver still starts where it is missing.
FARPROC User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? GetProcAddress(user32, name) : nullptr;
}

// The setting that tells when the saver's display is off, or none. The
// console display's state and the session's display exist from Windows 8
// on: Windows 7 may take a registration for them and never send one. In a
// remote session the console's display is another's, and before Windows 8
// nothing tells of the session's.
const GUID* DisplaySetting() {
  const bool remote = GetSystemMetrics(SM_REMOTESESSION) != 0;
  if (IsWindows8OrGreater()) return remote ? &kSessionDisplayStatus : &kConsoleDisplayState;
  return remote ? nullptr : &kMonitorPowerOn;
}

}  // namespace

void WatchDisplayState(HWND window) {
  DisplayOff = false;
  auto registerFn = reinterpret_cast<RegisterFn>(
      reinterpret_cast<void*>(User32Function("RegisterPowerSettingNotification")));
  Unregister = reinterpret_cast<UnregisterFn>(
      reinterpret_cast<void*>(User32Function("UnregisterPowerSettingNotification")));
  const GUID* setting = DisplaySetting();
  if (!registerFn || !Unregister || Registration || !setting) return;
  Registration = registerFn(window, setting, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void StopWatchingDisplayState() {
  if (Registration && Unregister) Unregister(Registration);
  Registration = nullptr;
  DisplayOff = false;
}

void NoteDisplayState(WPARAM event, LPARAM setting) {
  if (event != PBT_POWERSETTINGCHANGE || !setting) return;
  const auto* change = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
  const bool display = IsEqualGUID(change->PowerSetting, kConsoleDisplayState) ||
                       IsEqualGUID(change->PowerSetting, kSessionDisplayStatus) ||
                       IsEqualGUID(change->PowerSetting, kMonitorPowerOn);
  if (!display || change->DataLength < sizeof(DWORD)) return;
  DWORD state = 0;
  std::memcpy(&state, change->Data, sizeof state);
  DisplayOff = state == kDisplayOff;
}

bool FramesCanBeSeen(HWND window) {
  if (DisplayOff || !IsWindowVisible(window)) return false;
  HWND top = GetAncestor(window, GA_ROOT);
  return !IsIconic(top ? top : window);
}

// Keys, the mouse and a close end the wait at once; the tick that follows
// drains them as always. Input that already waits counts too, so none is
// left sitting for the whole interval.
void AwaitUnseenTick() {
  MsgWaitForMultipleObjectsEx(0, nullptr, kUnseenTickInterval, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void MatchSwapToMonitor(HWND window) {
  HMONITOR monitor = SaverState.FullScreen ? MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)
                                           : MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFOEXA info{};
  info.cbSize = sizeof info;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  if (!GetMonitorInfoA(monitor, &info) ||
      !EnumDisplaySettingsA(info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
    return;
  MatchSwapInterval(static_cast<int>(mode.dmDisplayFrequency));
}
