// The native implementation of render/gl_context.h: an off-screen OpenGL
// context made through EGL on Mesa's surfaceless platform, drawing into a
// pbuffer, so tests and tools render for real without any display server.
//
// The window handle given to CreateGLContext is ignored; the drawing size is
// the one set with SetHeadlessSize beforehand (640 × 480 unless set).
// CreateGLContext then sets the viewport and the render state exactly as the
// Windows context does, SwapFrameBuffers waits for the drawing to finish, and
// ReadHeadlessPixels gives the frame back.
#pragma once

#include <cstdint>
#include <vector>

// The size of the pbuffer the next CreateGLContext makes.
void SetHeadlessSize(int width, int height);
int HeadlessWidth();
int HeadlessHeight();

// True while a headless context is current.
bool HeadlessContextCurrent();

// For a program that draws with GL of its own beside it (a toolkit): makes
// the headless context current again, and releases it so that the thread
// has no context.
bool MakeHeadlessContextCurrent();
void ReleaseHeadlessContext();

// The colour buffer of the current context as RGBA bytes, rows from the top
// of the picture down (width × height × 4 bytes). Empty without a context.
std::vector<uint8_t> ReadHeadlessPixels();
