// The GL context on an X window: a GLX rendering context for the window's
// own visual, the viewport of the window's size and the render state, and
// the swap interval where the driver offers swap control.
#include "render/gl_context_glx.h"

#include <GL/glx.h>

#include <string>

#include "platform/platform.h"
#include "render/gl_choices.h"
#include "render/corner_text.h"
#include "render/gl_context.h"
#include "render/render_state.h"

namespace {

GlxWindow Target;
int TargetScreen = 0;
GLXContext Context = nullptr;

using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
using SwapIntervalMesa = int (*)(unsigned);

template <typename Function>
Function GlxFunction(const char* name) {
  return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// The corner text (-fps), drawn over every frame while it is set.
std::string CornerText;

bool Fail(const char* text) { return FailGLSetUp(text, DestroyGLContext); }

int Config(XVisualInfo* visual, int attribute) {
  int value = 0;
  return glXGetConfig(Target.display, visual, attribute, &value) == 0 ? value : 0;
}

// What the scenes need of a window someone else made that its visual lacks
// (GL, RGBA, double buffering, a depth buffer of at least 16 bits), or null.
const char* Missing(XVisualInfo* visual) {
  if (!Config(visual, GLX_USE_GL)) return "the window's visual has no GL";
  if (!Config(visual, GLX_RGBA)) return "the window's visual has no RGBA colour";
  if (!Config(visual, GLX_DOUBLEBUFFER)) return "the window's visual has no double buffering";
  if (Config(visual, GLX_DEPTH_SIZE) < 16)
    return "the window's visual has no depth buffer of 16 bits or more";
  return nullptr;
}

// The visual of the window, or null.
XVisualInfo* VisualOf(const XWindowAttributes& attributes) {
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  wanted.screen = XScreenNumberOfScreen(attributes.screen);
  int count = 0;
  return XGetVisualInfo(Target.display, VisualIDMask | VisualScreenMask, &wanted, &count);
}

}  // namespace

XVisualInfo* ChooseGlxVisual(Display* display, int screen) {
  int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8,
                      GLX_BLUE_SIZE, 8, GLX_DEPTH_SIZE, 24, None};
  return glXChooseVisual(display, screen, attributes);
}

// The colour depth is the window's: its visual was fixed when it was made.
bool CreateGLContext(WindowHandle window, int) {
  const GlxWindow* target = static_cast<const GlxWindow*>(window);
  XWindowAttributes attributes{};
  if (!target || !target->display) return Fail(gl_failure::kDeviceContext);
  Target = *target;
  if (!XGetWindowAttributes(Target.display, Target.window, &attributes))
    return Fail(gl_failure::kDeviceContext);
  TargetScreen = XScreenNumberOfScreen(attributes.screen);
  XVisualInfo* visual = VisualOf(attributes);
  if (!visual) return Fail("the window's visual is unknown to the display");
  if (const char* missing = Missing(visual)) {
    XFree(visual);
    return Fail(missing);
  }
  Context = glXCreateContext(Target.display, visual, nullptr, True);
  XFree(visual);
  if (!Context) return Fail(gl_failure::kRenderingContext);
  if (!glXMakeCurrent(Target.display, Target.window, Context))
    return Fail(gl_failure::kActivate);
  SetViewport(attributes.width, attributes.height);
  if (!InitRenderState()) return Fail(gl_failure::kInitialization);
  return true;
}

void DestroyGLContext() {
  CornerText.clear();
  if (Context) {
    if (!glXMakeCurrent(Target.display, None, nullptr))
      ReportGLRelease(gl_failure::kReleaseCurrent);
    glXDestroyContext(Target.display, Context);
    Context = nullptr;
  }
  Target = GlxWindow{};
}

void SwapFrameBuffers() {
  if (!Context) return;
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  DrawCornerText(CornerText.c_str(), viewport[2], viewport[3], kCornerTextScale);
  glXSwapBuffers(Target.display, Target.window);
}

void SetCornerText(const char* text) {
  if (Context) CornerText = text;
}

bool SetSwapInterval(int interval) {
  if (!Context) return false;
  const char* extensions = glXQueryExtensionsString(Target.display, TargetScreen);
  if (HasExtension(extensions, "GLX_EXT_swap_control")) {
    auto set = GlxFunction<SwapIntervalExt>("glXSwapIntervalEXT");
    if (set) set(Target.display, Target.window, interval);
    return set != nullptr;
  }
  auto set = GlxFunction<SwapIntervalMesa>("glXSwapIntervalMESA");
  return HasExtension(extensions, "GLX_MESA_swap_control") && set &&
         set(static_cast<unsigned>(interval)) == 0;
}
