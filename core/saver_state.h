// The process-wide flags of the frame loop, shared by the saver window, the
// settings dialog's live preview and the keyboard controls.
#pragma once

#include <cstdint>

#include "platform/platform.h"

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
