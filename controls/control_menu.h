// Window centring; the control menu itself (a small modal dialog listing the
// keys) is the ShowControlMenu seam of platform/platform.h.
#pragma once

#include "platform/platform.h"

// Places a top-level window in the middle of the work area of its owner's
// monitor (the cursor's when it has none; the primary for the full-screen
// saver, where the scene is), shown and on top.
void CenterWindow(WindowHandle window);
