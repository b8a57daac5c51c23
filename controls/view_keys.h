// Keyboard steering of the live view: zoom, pan, rotate, speed, next or
// previous module, default view, the control menu, the parameter display and
// leaving the saver.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Handles a key-down or key-up message taken from a frame loop's queue.
// Always returns 0.
intptr_t HandleViewKey(WindowHandle window, uint32_t message, uintptr_t key, intptr_t extra);
