// The window and viewports of the full-screen saver for a set of monitors.
#include "core/monitor_layout.h"

#include <algorithm>

namespace {

ScreenRect BoundingRect(const ScreenRect* monitors, int count) {
  ScreenRect bounds = monitors[0];
  for (int i = 1; i < count; ++i) {
    bounds.left = std::min(bounds.left, monitors[i].left);
    bounds.top = std::min(bounds.top, monitors[i].top);
    bounds.right = std::max(bounds.right, monitors[i].right);
    bounds.bottom = std::max(bounds.bottom, monitors[i].bottom);
  }
  return bounds;
}

void Add(ViewportList& list, const ScreenRect& area, const ScreenRect& window) {
  list.items[list.count++] = ViewportOf(area, window);
}

}  // namespace

// GL counts rows from the bottom of the window, the screen from the top.
Viewport ViewportOf(const ScreenRect& area, const ScreenRect& window) {
  return {area.left - window.left, window.bottom - area.bottom, area.right - area.left,
          area.bottom - area.top};
}

MonitorLayout LayOutMonitors(const ScreenRect* monitors, int count, int primary, int32_t choice) {
  MonitorLayout layout{};
  count = std::min(count, kMaxMonitors);
  if (count <= 0) return layout;
  if (primary < 0 || primary >= count) primary = 0;
  if (choice < 0 || choice >= kOtherMonitorsChoiceCount) choice = kOtherMonitorsBlack;

  layout.window = choice == kOtherMonitorsLeftAlone ? monitors[primary] : BoundingRect(monitors, count);
  switch (choice) {
    case kOtherMonitorsSameScene:
      for (int i = 0; i < count; ++i) Add(layout.viewports, monitors[i], layout.window);
      break;
    case kOtherMonitorsBlack:
      Add(layout.viewports, monitors[primary], layout.window);
      break;
    default:  // spanning, or the primary alone: the scene fills the window
      Add(layout.viewports, layout.window, layout.window);
      break;
  }
  return layout;
}
