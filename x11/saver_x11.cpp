// The saver on an X window: the Linux program's run (linux_program/run.h)
// with X events, the window's visibility and GLX. While the window is
// unmapped or fully obscured nothing is drawn, so the scenes stand still and
// the loop only looks at the events four times a second; frames resume as
// soon as the window can be seen again. The swap interval follows the
// refresh rate of the window's monitor.

#include <poll.h>
#include <strings.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/saver_state.h"
#include "frames/frame.h"
#include "linux_program/front_ends.h"
#include "linux_program/keys.h"
#include "linux_program/run.h"
#include "platform/say.h"
#include "render/gl_context.h"
#include "render/gl_context_glx.h"
#include "render/render_state.h"
#include "x11/refresh_rate.h"

namespace {

Window DrawnWindow = None;  // for the X error handler: the window drawn into

// An X error about the window drawn into means that its owner destroyed it
// while it was shown (a preview that goes away). No further frame may start:
// GLX would go on with the garbage size of a window it can no longer ask
// about. The program ends at once from here, with the views saved, and
// without another request to the server.
bool IsAboutDrawnWindow(const XErrorEvent& error) {
  if (DrawnWindow == None || error.resourceid != DrawnWindow) return false;
  return error.error_code == BadWindow || error.error_code == BadDrawable ||
         error.error_code == BadMatch || error.error_code >= 128;  // GLX's bad drawable
}

// Any other X error is kept, and ends the run after the frame (the default
// handler would end the process before the GL context is released).
std::string XErrorText;
int OnXError(Display* display, XErrorEvent* error) {
  if (IsAboutDrawnWindow(*error)) {
    SaveViews();
    std::_Exit(0);
  }
  char text[256];
  XGetErrorText(display, error->error_code, text, sizeof text);
  XErrorText = text;
  return 0;
}

struct Surface {
  GlxWindow glx;
  bool own = false;  // made here: it takes keys, has a close box, and saves on exit
  Colormap colormap = None;
  Atom deleteWindow = None;
  int width = 0;
  int height = 0;
  bool mapped = false;
  bool obscured = false;
  bool gone = false;  // destroyed by whoever made it
  int randrEvents = -1;  // RandR's first event number, -1 without it
};

// A -visual that any GL visual answers: none, "default", "best" or "gl".
bool IsAnyVisual(const std::string& name) {
  for (const char* any : {"", "default", "best", "gl"})
    if (strcasecmp(name.c_str(), any) == 0) return true;
  return false;
}

bool MakeOwnWindow(const Options& o, Surface* s) {
  Display* display = s->glx.display;
  const int screen = DefaultScreen(display);
  XVisualInfo* visual = ChooseGlxVisual(display, screen);
  if (!visual) {
    Say("the display has no GL visual with 24-bit colour, double buffering and a depth buffer");
    return false;
  }
  const Window root = RootWindow(display, screen);
  s->colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  XSetWindowAttributes attributes{};
  attributes.colormap = s->colormap;
  attributes.event_mask = KeyPressMask | KeyReleaseMask | StructureNotifyMask | VisibilityChangeMask;
  const int x = o.fromRight ? DisplayWidth(display, screen) - o.width - o.x : o.x;
  const int y = o.fromBottom ? DisplayHeight(display, screen) - o.height - o.y : o.y;
  s->glx.window = XCreateWindow(display, root, x, y, static_cast<unsigned>(o.width),
                                static_cast<unsigned>(o.height), 0, visual->depth, InputOutput,
                                visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask,
                                &attributes);
  XFree(visual);
  XStoreName(display, s->glx.window, "Lumvia");
  XClassHint names{const_cast<char*>("lumvia"), const_cast<char*>("Lumvia")};
  XSetClassHint(display, s->glx.window, &names);
  XSizeHints hints{};
  hints.flags = USSize | (o.placed ? USPosition : 0);
  hints.x = x;
  hints.y = y;
  hints.width = o.width;
  hints.height = o.height;
  XSetWMNormalHints(display, s->glx.window, &hints);
  s->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, s->glx.window, &s->deleteWindow, 1);
  XMapWindow(display, s->glx.window);
  s->own = true;
  s->width = o.width;
  s->height = o.height;
  return true;
}

// A window someone else made (the daemon's, the root, a preview's): only its
// size, its mapping and its visibility are followed; its input is not ours.
bool UseWindow(Window window, Surface* s) {
  Display* display = s->glx.display;
  XWindowAttributes attributes{};
  XErrorText.clear();
  if (!XGetWindowAttributes(display, window, &attributes)) {
    Say("there is no window 0x%lx", window);
    return false;
  }
  XSelectInput(display, window, StructureNotifyMask | VisibilityChangeMask);
  s->glx.window = window;
  s->width = attributes.width;
  s->height = attributes.height;
  s->mapped = attributes.map_state == IsViewable;
  return true;
}

bool OpenSurface(const Options& o, Surface* s) {
  switch (o.target) {
    case DrawTarget::Default:
    case DrawTarget::OwnWindow: return MakeOwnWindow(o, s);
    case DrawTarget::WindowId: return UseWindow(o.windowId, s);
    case DrawTarget::Root: break;
  }
  const char* named = std::getenv("XSCREENSAVER_WINDOW");
  if (!named || !*named) return UseWindow(DefaultRootWindow(s->glx.display), s);
  unsigned long window = 0;
  if (!ParseWindowId(named, &window)) {
    Say("XSCREENSAVER_WINDOW is not a window id: \"%s\"", named);
    return false;
  }
  return UseWindow(window, s);
}

void HandleKeyEvent(Surface& s, XKeyEvent& key) {
  if (!s.own) return;
  KeySym keysym = NoSymbol;
  char text[8];
  XLookupString(&key, text, sizeof text, &keysym, nullptr);
  HandleKey(&s.glx, keysym, key.state & Mod1Mask, key.type == KeyPress);
}

void HandleEvent(Surface& s, XEvent& event) {
  if (IsScreenChange(event, s.randrEvents)) {
    MatchSwapInterval(MonitorRefreshRate(s.glx.display, s.glx.window));
    return;
  }
  switch (event.type) {
    case KeyPress:
    case KeyRelease: HandleKeyEvent(s, event.xkey); break;
    case ConfigureNotify:
      if (event.xconfigure.window != s.glx.window) break;
      if (event.xconfigure.width != s.width || event.xconfigure.height != s.height) {
        s.width = event.xconfigure.width;
        s.height = event.xconfigure.height;
        SetViewport(s.width, s.height);
      }
      break;
    case MapNotify: s.mapped = true; break;
    case UnmapNotify: s.mapped = false; break;
    case VisibilityNotify: s.obscured = event.xvisibility.state == VisibilityFullyObscured; break;
    case DestroyNotify:
      s.gone = true;
      AskToClose();
      break;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == s.deleteWindow) AskToClose();
      break;
  }
}

// The run's window system: the events of the display, the window's
// visibility, one RenderFrame per frame.
class X11Screen : public FrameScreen {
 public:
  explicit X11Screen(Surface& s) : s_(s) {}

  void HandleEvents() override {
    while (XPending(s_.glx.display)) {
      XEvent event;
      XNextEvent(s_.glx.display, &event);
      HandleEvent(s_, event);
    }
    if (!XErrorText.empty()) AskToClose();
  }
  bool FrameWanted() override { return s_.mapped && !s_.obscured; }
  void WaitForEvents(uint32_t ms) override {
    if (XPending(s_.glx.display)) return;
    pollfd connection{ConnectionNumber(s_.glx.display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(ms));
  }
  void DrawFrame() override { RenderFrame(&s_.glx); }
  void ShowFrameRate(const char* text) override { SetCornerText(text); }

 private:
  Surface& s_;
};

// The frames, from the settings load to the save; the exit code.
int RunOnSurface(const Options& options, Surface& s) {
  StartRun(options, &s.glx, s.own);
  if (!CreateGLContext(&s.glx, kColourBits)) return 1;  // it has said why
  s.randrEvents = WatchScreenChanges(s.glx.display, s.glx.window);
  MatchSwapInterval(MonitorRefreshRate(s.glx.display, s.glx.window));
  X11Screen screen(s);
  RunFrames(options, screen);
  DestroyGLContext();
  SaveViews();
  if (XErrorText.empty() || StopSignalCame() || s.gone) return 0;
  Say("X error: %s", XErrorText.c_str());
  return 1;
}

}  // namespace

int RunX11Saver(const Options& options) {
  Surface s;
  s.glx.display = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
  if (!s.glx.display) {
    Say("cannot open display \"%s\"",
        XDisplayName(options.display.empty() ? nullptr : options.display.c_str()));
    return 1;
  }
  XSetErrorHandler(OnXError);
  if (options.sync) XSynchronize(s.glx.display, True);
  int status = 1;
  if (OpenSurface(options, &s)) {
    if (!IsAnyVisual(options.visual))
      Say("-visual %s is not taken: the scenes draw with %s",
          options.visual.c_str(),
          s.own ? "a GL visual of their own choosing" : "the window's own visual");
    DrawnWindow = s.glx.window;
    status = RunOnSurface(options, s);
    DrawnWindow = None;
  }
  if (s.own) {
    XDestroyWindow(s.glx.display, s.glx.window);
    XFreeColormap(s.glx.display, s.colormap);
  }
  XCloseDisplay(s.glx.display);
  return status;
}
