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

bool Fail(const char* text) { return FailGLSetUp(text, DestroyGLContext); }

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
  if (!OpenDisplay()) return Fail(gl_failure::kDeviceContext);
  EGLConfig config;
  if (!ChooseConfig(&config)) return Fail(gl_failure::kPixelFormat);
  const EGLint size[] = {EGL_WIDTH, Width, EGL_HEIGHT, Height, EGL_NONE};
  Surface = eglCreatePbufferSurface(Display, config, size);
  if (Surface == EGL_NO_SURFACE) return Fail(gl_failure::kSetPixelFormat);
  if (!eglBindAPI(EGL_OPENGL_API)) return Fail(gl_failure::kRenderingContext);
  Context = eglCreateContext(Display, config, EGL_NO_CONTEXT, nullptr);
  if (Context == EGL_NO_CONTEXT) return Fail(gl_failure::kRenderingContext);
  if (!eglMakeCurrent(Display, Surface, Surface, Context)) return Fail(gl_failure::kActivate);
  SetViewport(Width, Height);
  if (!InitRenderState()) return Fail(gl_failure::kInitialization);
  return true;
}

void DestroyGLContext() {
  if (Display == EGL_NO_DISPLAY) return;
  if (Context != EGL_NO_CONTEXT) {
    if (!eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT))
      ReportGLRelease(gl_failure::kReleaseCurrent);
    if (!eglDestroyContext(Display, Context))
      ReportGLRelease(gl_failure::kReleaseRenderingContext);
    Context = EGL_NO_CONTEXT;
  }
  if (Surface != EGL_NO_SURFACE) {
    if (!eglDestroySurface(Display, Surface))
      ReportGLRelease(gl_failure::kReleaseDeviceContext);
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
