// Whether a frame drawn now could be seen, and what the frame loop does while
// none can: the display's power state (for the full-screen saver, from the
// system's display-state notifications) and the window's own visibility; and
// the refresh rate the frames are shown at.
#pragma once

#include <windows.h>

#include "frames/frame.h"

// Registers the full-screen saver window for the display's state, which starts
// as on: the console display's state (Windows 8 and later; in a remote
// session the session's display), or the monitor's power before Windows 8.
// Without the service (before Windows Vista), and in a remote session before
// Windows 8, the display always counts as on.
void WatchDisplayState(HWND window);
// Gives the registration back; nothing happens when there is none.
void StopWatchingDisplayState();
// WM_POWERBROADCAST: a PBT_POWERSETTINGCHANGE of the console display's state,
// the session's display or the monitor's power records it. Anything else is
// left alone.
void NoteDisplayState(WPARAM event, LPARAM setting);

// True while the display is on (or dimmed), the window and every window
// around it are visible and the top-level one is not minimised.
bool FramesCanBeSeen(HWND window);

// While nothing can be seen: returns when a message waits for the thread, or
// after kUnseenTickInterval (frames/frame.h), whichever comes first.
void AwaitUnseenTick();

// Sets the swap interval of the current GL context for the refresh rate of
// the monitor the scene is on (MatchSwapInterval): when frames start and on
// every WM_DISPLAYCHANGE. The full-screen saver takes the primary monitor,
// which shows the scene in every layout; the preview and the settings pane
// take the monitor that holds most of the window.
void MatchSwapToMonitor(HWND window);
