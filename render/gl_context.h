// Attaching OpenGL to a window and taking it away again. On Windows this is
// WGL on the window's device context; natively a headless context stands in.
#pragma once

#include "platform/platform.h"

// The colour depth every window of the program asks for.
constexpr int kColourBits = 32;

// Makes a context on the window with the requested colour depth, sets the
// viewport to the window's client size and the render state. Shows an
// "ERROR" message and returns false on failure, leaving nothing behind.
bool CreateGLContext(WindowHandle window, int colourBits);
// Releases the rendering and device contexts; failures are shown, not fatal.
void DestroyGLContext();
// Presents the back buffer of the context's window.
void SwapFrameBuffers();
// Asks that each presented frame stay up for at least this many refreshes of
// the display; false where the driver offers no swap control (or there is no
// display, as for the headless context).
bool SetSwapInterval(int interval);
