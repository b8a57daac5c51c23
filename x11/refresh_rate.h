// The refresh rate of the monitor a window is on, from XRandR, so that the
// frame loop can set its swap interval.
#pragma once

#include <X11/Xlib.h>

// The rate in whole hertz of the monitor (CRTC) that holds the window's
// centre, else of the first one lit; 0 when the server has no RandR 1.3 or
// its mode carries no timings (as in Xvfb).
int MonitorRefreshRate(Display* display, Window window);

// Asks for a note of every change of the screen's monitors or modes; returns
// RandR's first event number, or -1 without RandR 1.3.
int WatchScreenChanges(Display* display, Window window);
// Whether the event is such a note (after it has brought Xlib's idea of the
// screen up to date).
bool IsScreenChange(XEvent& event, int eventBase);
