// The pixel-format choice of the Windows GL context (gl_context_win32.cpp),
// declared for the tests that check it.
#pragma once

#include <windows.h>

#include "render/gl_choices.h"

// A format's description in the form the scoring reads; its samples per
// pixel are left unknown (the descriptor does not tell them).
PixelFormat ScoredFormat(const PIXELFORMATDESCRIPTOR& descriptor);

// The pixel format CreateGLContext sets on the device context, 0 for none:
// the best scoring of the device's formats (ScanPixelFormats).
int SelectPixelFormat(HDC deviceContext, int colourBits);

// The device context of the current GL context, or none.
HDC GLDeviceContext();
