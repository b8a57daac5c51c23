// Attaching OpenGL to a window and taking it away again. On Windows this is
// WGL on the window's device context; natively a headless context stands in.
#pragma once

#include "platform/platform.h"

// The colour depth every window of the program asks for.
constexpr int kColourBits = 32;

// What a context's set-up or release says when a step fails, on every
// window system, in the words of the Windows context.
namespace gl_failure {
inline constexpr char kDeviceContext[] = "Can't Create A GL Device Context.";
inline constexpr char kPixelFormat[] = "Can't Find A Suitable PixelFormat.";
inline constexpr char kSetPixelFormat[] = "Can't Set The PixelFormat.";
inline constexpr char kRenderingContext[] = "Can't Create A GL Rendering Context.";
inline constexpr char kActivate[] = "Can't Activate The GL Rendering Context.";
inline constexpr char kInitialization[] = "Initialization Failed.";
inline constexpr char kReleaseCurrent[] = "Release Of DC And RC Failed.";
inline constexpr char kReleaseRenderingContext[] = "Release Rendering Context Failed.";
inline constexpr char kReleaseDeviceContext[] = "Release Device Context Failed.";
}  // namespace gl_failure

// A set-up step failed: takes away what was made (`release`), shows the
// text in an "ERROR" box and returns false.
bool FailGLSetUp(const char* text, void (*release)());
// A release step failed: shows the text in a "SHUTDOWN ERROR" box; the
// release goes on.
void ReportGLRelease(const char* text);

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
