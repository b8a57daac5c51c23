// The run of the Linux program, the same on X and on Wayland: the settings
// file loaded with the run's options over it, one loop around the frame step
// in place of the RenderTick chain, the views saved on the way out, and the
// stop signals. Each front end supplies its window system as a FrameScreen.
#pragma once

#include <cstdint>
#include <string>

#include "linux_program/options.h"
#include "platform/platform.h"

// What the loop asks of the window system it draws on.
class FrameScreen {
 public:
  virtual ~FrameScreen() = default;
  // Handles every event that has come, without waiting: keys go to HandleKey
  // (linux_program/keys.h), a close calls AskToClose.
  virtual void HandleEvents() = 0;
  // Whether a frame drawn now could be seen.
  virtual bool FrameWanted() = 0;
  // Waits until an event comes, a signal ends the wait, or ms have passed.
  virtual void WaitForEvents(uint32_t ms) = 0;
  // One frame step into everything that shows the scene.
  virtual void DrawFrame() = 0;
  // -fps: the rate once a second, where the window system can show it.
  virtual void ShowFrameRate(const char*) {}
  // -fps: what is known of how the frames were shown, for the line on
  // standard error ("" when nothing is).
  virtual std::string ShownFrames() { return {}; }
};

// Makes `window` the saver window: SaverMode, the keys steering the view
// only in a window of the program's own (`own`), as only the full-screen
// saver's do on Windows, and the settings file loaded with the run's
// options over it. Says on standard error what it could not read.
void StartRun(const Options& options, WindowHandle window, bool own);

// Frames until the run is closed (a key, the window system, SIGTERM or
// SIGINT): each turn handles the events, then runs one frame step when a
// frame can be seen and 30 ms have passed since the last one began, else
// waits for events; -fps counts the frames. Sets SaverState.Closed.
void RunFrames(const Options& options, FrameScreen& screen);

// After the GL context is released: stores the live view and, in a window of
// its own, saves the settings without the run's own modules and cycle time.
// Runs once, however often it is called.
void SaveViews();

// SIGTERM and SIGINT close the run. After its clean-up a program ended by one
// ends by it (EndByStopSignal): the daemon takes any other end of a display
// mode it stopped for a failure.
void InstallStopSignals();
bool StopSignalCame();
void EndByStopSignal();
