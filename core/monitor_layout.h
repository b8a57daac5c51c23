// Where the full-screen saver draws on a desktop of one or more monitors: its
// one window and the viewports in it, for each choice of the "other monitors"
// setting, worked out from the monitor rectangles alone.
#pragma once

#include <cstdint>

// What the full-screen saver shows on the monitors beside the primary one.
enum OtherMonitorsChoice : int32_t {
  kOtherMonitorsBlack = 0,      // the scene on the primary, every other monitor black
  kOtherMonitorsSameScene = 1,  // the scene on every monitor, each its own viewport
  kOtherMonitorsSpanning = 2,   // one scene across the bounding rectangle of all monitors
  kOtherMonitorsLeftAlone = 3,  // the primary only; the others go on showing the desktop
};
constexpr int32_t kOtherMonitorsChoiceCount = 4;
// Each choice as the settings offer it, in the order of their values.
constexpr const char* kOtherMonitorsTexts[kOtherMonitorsChoiceCount] = {
    "Black", "Same scene on each", "One scene across all", "Leave as they are"};

// Monitors beyond this many are left out of the layout.
constexpr int kMaxMonitors = 16;

// A rectangle in screen coordinates: y grows downwards, right and bottom are
// outside it. Monitors left of or above the primary have negative coordinates.
struct ScreenRect {
  int32_t left, top, right, bottom;
};

// A GL viewport in the window: x and y from its lower-left corner, y up.
struct Viewport {
  int32_t x, y, width, height;
};

struct ViewportList {
  int count;
  Viewport items[kMaxMonitors];
};

struct MonitorLayout {
  ScreenRect window;       // what the one top-level window covers
  ViewportList viewports;  // where a scene is drawn in it, each in the same frame
};

// Where a scene spread over `area` falls in a window over `window` (both in
// screen coordinates): the GL viewport, which may reach beyond the window.
Viewport ViewportOf(const ScreenRect& area, const ScreenRect& window);

// The layout for the choice over `count` monitors, of which `primary` is the
// primary one (the first when it is out of range). A choice out of range
// counts as kOtherMonitorsBlack. With one monitor every choice gives the same
// layout: the window over it and one viewport filling the window.
MonitorLayout LayOutMonitors(const ScreenRect* monitors, int count, int primary, int32_t choice);
