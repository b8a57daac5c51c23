// The process-wide flags of the frame loop, shared by the saver window, the
// settings dialog's live preview and the keyboard controls.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Cursor travel, abs(dx) + abs(dy), beyond which the full-screen saver asks
// to close.
constexpr unsigned MouseMoveThreshold = 100;

struct SaverStateRecord {
  bool SaverMode = false;        // the saver window runs the frames (false: the settings preview)
  WindowHandle Window = nullptr; // the saver window
  bool FullScreen = false;       // it is the full-screen saver, not the preview
  bool Closing = false;          // a close was requested: no frame is started or presented
  bool Closed = false;           // the close handling has run
  bool InTick = false;           // a RenderTick is being handled
  uint32_t LastFrameTime = 0;    // tick count when the last frame started drawing
  uint32_t LastSwitchTime = 0;   // tick count of the last module switch or of window creation
};

extern SaverStateRecord SaverState;

// Frames start afresh in the window: the saver's own (`saverMode`), full
// screen or not, or the settings dialog's preview; no close is under way.
// Only the frame loop and `AskToClose` write the flags after this.
void StartSaverState(bool saverMode, WindowHandle window, bool fullScreen);

// Asks the frames to stop and the saver to close: the one way every close
// comes (a key, the mouse, a stop signal, the window system or a lost
// compositor), seen by the frame loop, which runs the close once.
void AskToClose();
