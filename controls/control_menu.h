// Window centring; the control menu itself (a small modal dialog listing the
// keys) is the ShowControlMenu seam of platform/platform.h.
#pragma once

#include "platform/platform.h"

// Places a top-level window in the middle of the desktop, shown and on top.
void CenterWindow(WindowHandle window);
