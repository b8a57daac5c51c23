// The frame step shared by the saver window and the settings dialog's live
// preview.
#pragma once

#include "core/saver_state.h"
#include "platform/platform.h"

// One frame: cycles modules in saver mode, paces to 30 ms, draws the current
// module and presents it when the scene reported no GL error.
void RenderFrame(WindowHandle window);
