// EGL on a Wayland connection: a desktop GL context (a compatibility one, so
// GL 1.1 and GLU work), drawables on wl_egl_windows, swaps that do not wait.
#include "render/gl_context_wayland.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-egl.h>

#include "render/gl_context.h"
#include "render/render_state.h"

namespace {

// The one context, and what it was made on and with.
struct {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLConfig config = nullptr;
  EGLContext context = EGL_NO_CONTEXT;
} Egl;

bool Fail(const char* text) { return FailGLSetUp(text, DestroyWaylandGLContext); }

// 8 bits a colour and no alpha, a 24-bit depth buffer, desktop GL.
bool ChooseConfig() {
  const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT,
                               EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                               EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                               EGL_ALPHA_SIZE, 0, EGL_DEPTH_SIZE, 24,
                               EGL_NONE};
  EGLConfig configs[64];
  EGLint count = 0;
  if (!eglChooseConfig(Egl.display, attributes, configs, 64, &count)) return false;
  // A config with alpha is listed as well when it has more bits in all; the
  // compositor would blend it with what lies below.
  for (EGLint i = 0; i < count; ++i) {
    EGLint alpha = 0;
    eglGetConfigAttrib(Egl.display, configs[i], EGL_ALPHA_SIZE, &alpha);
    if (alpha == 0) {
      Egl.config = configs[i];
      return true;
    }
  }
  return false;
}

}  // namespace

bool CreateWaylandGLContext(wl_display* display) {
  Egl.display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
  if (Egl.display == EGL_NO_DISPLAY || !eglInitialize(Egl.display, nullptr, nullptr))
    return Fail("EGL cannot be used on this Wayland connection.");
  if (!ChooseConfig()) return Fail(gl_failure::kPixelFormat);
  if (!eglBindAPI(EGL_OPENGL_API)) return Fail(gl_failure::kRenderingContext);
  Egl.context = eglCreateContext(Egl.display, Egl.config, EGL_NO_CONTEXT, nullptr);
  if (Egl.context == EGL_NO_CONTEXT) return Fail(gl_failure::kRenderingContext);
  // The texture is made before any output has a surface.
  if (!eglMakeCurrent(Egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, Egl.context))
    return Fail(gl_failure::kActivate);
  if (!InitRenderState()) return Fail(gl_failure::kInitialization);
  return true;
}

void DestroyWaylandGLContext() {
  if (Egl.display == EGL_NO_DISPLAY) return;
  eglMakeCurrent(Egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (Egl.context != EGL_NO_CONTEXT) eglDestroyContext(Egl.display, Egl.context);
  eglTerminate(Egl.display);
  eglReleaseThread();
  Egl.context = EGL_NO_CONTEXT;
  Egl.config = nullptr;
  Egl.display = EGL_NO_DISPLAY;
}

bool AttachGL(GLSurface& gl, wl_surface* surface, int width, int height) {
  gl.window = wl_egl_window_create(surface, width, height);
  if (!gl.window) return false;
  gl.drawable = eglCreatePlatformWindowSurface(Egl.display, Egl.config, gl.window, nullptr);
  if (gl.drawable == EGL_NO_SURFACE) {
    DetachGL(gl);
    return false;
  }
  // A swap that waits for a frame callback of its own would stall the other
  // outputs behind one that shows nothing.
  if (!MakeCurrentOn(gl)) return false;
  eglSwapInterval(Egl.display, 0);
  return true;
}

void ResizeGL(GLSurface& gl, int width, int height) {
  if (gl.window) wl_egl_window_resize(gl.window, width, height, 0, 0);
}

void DetachGL(GLSurface& gl) {
  if (gl.drawable) {
    if (eglGetCurrentSurface(EGL_DRAW) == gl.drawable)
      eglMakeCurrent(Egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, Egl.context);
    eglDestroySurface(Egl.display, gl.drawable);
  }
  if (gl.window) wl_egl_window_destroy(gl.window);
  gl = GLSurface{};
}

bool MakeCurrentOn(const GLSurface& gl) {
  return eglMakeCurrent(Egl.display, gl.drawable, gl.drawable, Egl.context);
}

void PresentOn(const GLSurface& gl) { eglSwapBuffers(Egl.display, gl.drawable); }
