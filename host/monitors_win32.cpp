// The monitors from EnumDisplayMonitors, in physical pixels (the program is
// per-monitor DPI-aware), and the full-screen window moved over their layout.
#include "host/monitors_win32.h"

#include "core/monitor_layout.h"
#include "frames/frame.h"
#include "settings/store.h"

namespace {

struct MonitorList {
  ScreenRect rects[kMaxMonitors];
  int count;
  int primary;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MonitorList& list = *reinterpret_cast<MonitorList*>(data);
  if (list.count == kMaxMonitors) return FALSE;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  if (info.dwFlags & MONITORINFOF_PRIMARY) list.primary = list.count;
  const RECT& r = info.rcMonitor;
  list.rects[list.count++] = {r.left, r.top, r.right, r.bottom};
  return TRUE;
}

// The layout for the monitors there are now and the OtherMonitors setting.
MonitorLayout CurrentMonitorLayout() {
  MonitorList list{};
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
  if (list.count == 0) {  // no answer: the primary screen, as without monitors
    list.rects[0] = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    list.count = 1;
  }
  return LayOutMonitors(list.rects, list.count, list.primary, OtherMonitors);
}

// The window leaves part of the desktop, the bounding rectangle of every
// monitor, uncovered.
bool MonitorsOpen = false;

}  // namespace

void CoverMonitors(HWND window) {
  const MonitorLayout layout = CurrentMonitorLayout();
  const ScreenRect& w = layout.window;
  SetWindowPos(window, HWND_TOPMOST, w.left, w.top, w.right - w.left, w.bottom - w.top,
               SWP_NOACTIVATE);
  FrameViewports = layout.viewports;
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  MonitorsOpen = w.left > left || w.top > top ||
                 w.right < left + GetSystemMetrics(SM_CXVIRTUALSCREEN) ||
                 w.bottom < top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

bool LeavesMonitorsOpen() { return MonitorsOpen; }
