// The frame step shared by the saver window and the settings dialog's live
// preview.
#pragma once

#include "core/monitor_layout.h"
#include "core/saver_state.h"
#include "platform/platform.h"

// Where the frame is drawn in the full-screen saver's window: the current
// module once in each viewport, all from the same state, so that the scene
// advances once per frame. With none (the preview, the settings pane) the
// scene fills the window as its GL context set it up.
extern ViewportList FrameViewports;

// One frame: cycles modules in saver mode, paces to 30 ms, draws the current
// module and presents it when the scene reported no GL error.
void RenderFrame(WindowHandle window);
