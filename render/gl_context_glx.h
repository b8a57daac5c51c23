// The GL context on an X window (gl_context_glx.cpp). The window handle the
// engine passes around points to a GlxWindow. X errors reach the program's
// own error handler, which must return (the default one ends the process).
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

struct GlxWindow {
  Display* display = nullptr;
  Window window = 0;
};

// The visual for a window of the program's own: RGBA, 8 bits a colour, a
// 24-bit depth buffer, double buffered. Null when the screen has none; the
// caller frees it with XFree.
XVisualInfo* ChooseGlxVisual(Display* display, int screen);

// A line of text drawn in the lower left corner of every frame from now on,
// over the scene, in the program's own font (render/corner_text.h: the frame
// rate of -fps); an empty text draws nothing. Needs the GL context.
void SetCornerText(const char* text);
