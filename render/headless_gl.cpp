// A headless OpenGL context: EGL, Mesa's surfaceless platform, a pbuffer and
// the desktop OpenGL API (a compatibility context, so GL 1.1 and GLU work).
#include "render/headless_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>

#include "platform/platform.h"
#include "render/gl.h"
#include "render/gl_context.h"
#include "render/render_state.h"

namespace {

int Width = 640;
int Height = 480;

EGLDisplay Display = EGL_NO_DISPLAY;
EGLSurface Surface = EGL_NO_SURFACE;
EGLContext Context = EGL_NO_CONTEXT;

void Fail(const char* text) {
  DestroyGLContext();
  ShowMessageBox(nullptr, text, "ERROR", kMbOk | kMbIconExclamation);
}

// The display is made once per process and kept: initialising and
// terminating Mesa again for every context gains nothing.
bool OpenDisplay() {
  if (Display != EGL_NO_DISPLAY) return true;
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) return false;
  EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY,
                                          nullptr);
  if (display == EGL_NO_DISPLAY) return false;
  if (!eglInitialize(display, nullptr, nullptr)) return false;
  Display = display;
  return true;
}

bool ChooseConfig(EGLConfig* config) {
  const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                               EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                               EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                               EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 24,
                               EGL_NONE};
  EGLint count = 0;
  return eglChooseConfig(Display, attributes, config, 1, &count) && count == 1;
}

}  // namespace

void SetHeadlessSize(int width, int height) {
  Width = width;
  Height = height;
}

int HeadlessWidth() { return Width; }
int HeadlessHeight() { return Height; }

bool HeadlessContextCurrent() { return Context != EGL_NO_CONTEXT; }

bool MakeHeadlessContextCurrent() {
  return Context != EGL_NO_CONTEXT && eglMakeCurrent(Display, Surface, Surface, Context);
}

void ReleaseHeadlessContext() {
  if (Display != EGL_NO_DISPLAY) eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

bool CreateGLContext(WindowHandle, int) {
  if (!OpenDisplay()) {
    Fail("Can't Create A GL Device Context.");
    return false;
  }
  EGLConfig config;
  if (!ChooseConfig(&config)) {
    Fail("Can't Find A Suitable PixelFormat.");
    return false;
  }
  const EGLint size[] = {EGL_WIDTH, Width, EGL_HEIGHT, Height, EGL_NONE};
  Surface = eglCreatePbufferSurface(Display, config, size);
  if (Surface == EGL_NO_SURFACE) {
    Fail("Can't Set The PixelFormat.");
    return false;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    Fail("Can't Create A GL Rendering Context.");
    return false;
  }
  Context = eglCreateContext(Display, config, EGL_NO_CONTEXT, nullptr);
  if (Context == EGL_NO_CONTEXT) {
    Fail("Can't Create A GL Rendering Context.");
    return false;
  }
  if (!eglMakeCurrent(Display, Surface, Surface, Context)) {
    Fail("Can't Activate The GL Rendering Context.");
    return false;
  }
  SetViewport(Width, Height);
  if (!InitRenderState()) {
    Fail("Initialization Failed.");
    return false;
  }
  return true;
}

void DestroyGLContext() {
  if (Display == EGL_NO_DISPLAY) return;
  if (Context != EGL_NO_CONTEXT) {
    if (!eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT))
      ShowMessageBox(nullptr, "Release Of DC And RC Failed.", "SHUTDOWN ERROR",
                     kMbOk | kMbIconInformation);
    if (!eglDestroyContext(Display, Context))
      ShowMessageBox(nullptr, "Release Rendering Context Failed.", "SHUTDOWN ERROR",
                     kMbOk | kMbIconInformation);
    Context = EGL_NO_CONTEXT;
  }
  if (Surface != EGL_NO_SURFACE) {
    if (!eglDestroySurface(Display, Surface))
      ShowMessageBox(nullptr, "Release Device Context Failed.", "SHUTDOWN ERROR",
                     kMbOk | kMbIconInformation);
    Surface = EGL_NO_SURFACE;
  }
}

void SwapFrameBuffers() {
  if (Context != EGL_NO_CONTEXT) glFinish();
}

// A pbuffer is never shown: there are no refreshes to wait for.
bool SetSwapInterval(int) { return false; }

std::vector<uint8_t> ReadHeadlessPixels() {
  std::vector<uint8_t> pixels;
  if (Context == EGL_NO_CONTEXT) return pixels;
  const size_t row = static_cast<size_t>(Width) * 4;
  std::vector<uint8_t> bottomUp(row * static_cast<size_t>(Height));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  pixels.resize(bottomUp.size());
  for (int y = 0; y < Height; ++y)
    std::copy_n(bottomUp.data() + static_cast<size_t>(Height - 1 - y) * row, row,
                pixels.data() + static_cast<size_t>(y) * row);
  return pixels;
}
