// The one render state every scene assumes, set up on a current GL context:
// the fixed perspective projection, depth and alpha test, the sprite texture
// bound, and the one quadric all scenes draw with.
#pragma once

#include "render/gl.h"

extern GLUquadric* Quadric;

void SetViewport(int width, int height);
// The same projection, for a viewport whose lower-left corner is at (x, y).
void SetViewportAt(int x, int y, int width, int height);
bool InitRenderState();  // false when the sprite texture cannot be made
