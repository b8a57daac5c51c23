// The saver on an X window. One loop does what the RenderTick does on
// Windows: it drains the window's events (keys go to the keyboard controls,
// a close ends the loop), then runs one frame step with its 30 ms pacing.
// While the window is unmapped or fully obscured nothing is drawn, so the
// scenes stand still; the loop then only looks at the events four times a
// second, and frames resume as soon as the window can be seen again. The swap
// interval follows the refresh rate of the window's monitor.
#include "x11/saver_x11.h"

#include <poll.h>
#include <signal.h>
#include <strings.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "controls/view_keys.h"
#include "core/module_table.h"
#include "core/saver_state.h"
#include "frames/frame.h"
#include "platform/messages.h"
#include "render/gl_context.h"
#include "render/gl_context_glx.h"
#include "render/render_state.h"
#include "settings/file_store.h"
#include "settings/store.h"
#include "x11/keys.h"
#include "x11/refresh_rate.h"

namespace {

constexpr int kColourBits = 32;
constexpr uint32_t kFpsShownPeriod = 1000;  // ms between two -fps figures on screen
constexpr uint32_t kFpsPrintedPeriod = 5000;  // ms between two -fps lines on standard error

volatile sig_atomic_t StopSignal = 0;  // SIGTERM or SIGINT, once one came
void OnStopSignal(int signal) { StopSignal = signal; }

// What the end of a run needs wherever it ends: in the loop, or in the X
// error handler when the window drawn into has gone.
struct RunEnd {
  Window window = None;  // the window drawn into
  bool own = false;      // made here: the views are saved on exit
  bool loaded = false;   // the settings are loaded: there are views to save
  StoredChoice stored;   // what the run's options replaced
};
RunEnd End;

void SaveViews() {
  if (!End.own || !End.loaded) return;
  StoreModuleParams(CurrentModule);
  RestoreStoredChoice(End.stored);
  std::string why;
  if (!SaveSettingsFile(&why)) std::fprintf(stderr, "lumvia: the settings were not saved: %s\n", why.c_str());
}

// An X error about the window drawn into means that its owner destroyed it
// while it was shown (a preview that goes away). No further frame may start:
// GLX would go on with the garbage size of a window it can no longer ask
// about. The program ends at once from here, with the views saved, and
// without another request to the server.
bool IsAboutDrawnWindow(const XErrorEvent& error) {
  if (End.window == None || error.resourceid != End.window) return false;
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

void InstallStopSignals() {
  struct sigaction action{};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

bool MakeOwnWindow(const Options& o, Surface* s) {
  Display* display = s->glx.display;
  const int screen = DefaultScreen(display);
  XVisualInfo* visual = ChooseGlxVisual(display, screen);
  if (!visual) {
    std::fprintf(stderr, "lumvia: the display has no GL visual with 24-bit colour, double"
                         " buffering and a depth buffer\n");
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
    std::fprintf(stderr, "lumvia: there is no window 0x%lx\n", window);
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
    case DrawTarget::OwnWindow: return MakeOwnWindow(o, s);
    case DrawTarget::WindowId: return UseWindow(o.windowId, s);
    case DrawTarget::Root: break;
  }
  const char* named = std::getenv("XSCREENSAVER_WINDOW");
  if (!named || !*named) return UseWindow(DefaultRootWindow(s->glx.display), s);
  unsigned long window = 0;
  if (!ParseWindowId(named, &window)) {
    std::fprintf(stderr, "lumvia: XSCREENSAVER_WINDOW is not a window id: \"%s\"\n", named);
    return false;
  }
  return UseWindow(window, s);
}

void HandleKey(Surface& s, XKeyEvent& key) {
  if (!s.own) return;
  KeySym keysym = NoSymbol;
  char text[8];
  XLookupString(&key, text, sizeof text, &keysym, nullptr);
  if (IsSystemKey(keysym, key.state)) return;
  HandleViewKey(&s.glx, key.type == KeyPress ? kWmKeyDown : kWmKeyUp, VirtualKeyOf(keysym), 0);
}

void HandleEvent(Surface& s, XEvent& event) {
  if (IsScreenChange(event, s.randrEvents)) {
    MatchSwapInterval(MonitorRefreshRate(s.glx.display, s.glx.window));
    return;
  }
  switch (event.type) {
    case KeyPress:
    case KeyRelease: HandleKey(s, event.xkey); break;
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
      SaverState.Closing = true;
      break;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == s.deleteWindow) SaverState.Closing = true;
      break;
  }
}

void DrainEvents(Surface& s) {
  while (XPending(s.glx.display)) {
    XEvent event;
    XNextEvent(s.glx.display, &event);
    HandleEvent(s, event);
  }
}

// Waits until an event comes, a signal ends the wait, or the time is up.
void WaitForEvents(Display* display, int ms) {
  if (XPending(display)) return;
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  poll(&connection, 1, ms);
}

// -fps: the frames counted over a period and shown as a rate, on screen
// every second and, in a window of its own, on standard error every 5 s
// (under the daemon standard error only fills its log).
struct FrameCount {
  uint32_t period;
  uint32_t since = TickCount();
  int frames = 0;

  // The frames per second once a period is over, else a negative number.
  double Rate() {
    const uint32_t elapsed = TickCount() - since;
    if (elapsed < period) return -1.0;
    const double rate = frames * 1000.0 / elapsed;
    since += elapsed;
    frames = 0;
    return rate;
  }
};

struct FrameRate {
  FrameCount shown{kFpsShownPeriod};
  FrameCount printed{kFpsPrintedPeriod};

  void Count() {
    ++shown.frames;
    ++printed.frames;
  }
  void Report(bool print) {
    if (const double rate = shown.Rate(); rate >= 0.0) {
      char text[32];
      std::snprintf(text, sizeof text, "FPS: %.1f", rate);
      SetCornerText(text);
    }
    if (const double rate = printed.Rate(); print && rate >= 0.0)
      std::fprintf(stderr, "lumvia: %.1f frames per second\n", rate);
  }
};

// The frames, from the settings load to the save; the exit code.
int RunFrames(const Options& options, Surface& s) {
  SaverState = SaverStateRecord{};
  SaverState.SaverMode = true;
  SaverState.Window = &s.glx;
  // The keys steer the view only in a window of its own, as they do only in
  // the full-screen saver on Windows.
  SaverState.FullScreen = s.own;
  SetSettingsKey(&s.glx, kSettingsKeyPath);
  if (std::string why; !LoadSettingsFile(&why))
    std::fprintf(stderr, "lumvia: the settings file cannot be read, so the built-in settings"
                         " are used: %s\n", why.c_str());
  End.stored = ApplyRunOptions(options);
  End.loaded = true;
  if (CurrentModule == 0)
    std::fprintf(stderr, "lumvia: no scene is enabled, so the screen stays black\n");
  if (!CreateGLContext(&s.glx, kColourBits)) return 1;  // it has said why
  s.randrEvents = WatchScreenChanges(s.glx.display, s.glx.window);
  MatchSwapInterval(MonitorRefreshRate(s.glx.display, s.glx.window));
  SaverState.LastSwitchTime = TickCount();
  FrameRate rate;
  while (true) {
    DrainEvents(s);
    if (StopSignal || !XErrorText.empty()) SaverState.Closing = true;
    if (SaverState.Closing) break;
    if (s.mapped && !s.obscured) {
      RenderFrame(&s.glx);
      rate.Count();
    } else {
      WaitForEvents(s.glx.display, static_cast<int>(kUnseenTickInterval));
    }
    if (options.fps) rate.Report(s.own);
  }
  SaverState.Closed = true;
  DestroyGLContext();
  SaveViews();
  if (XErrorText.empty() || StopSignal || s.gone) return 0;
  std::fprintf(stderr, "lumvia: X error: %s\n", XErrorText.c_str());
  return 1;
}

}  // namespace

int RunSaver(const Options& options) {
  InstallStopSignals();
  Surface s;
  s.glx.display = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
  if (!s.glx.display) {
    std::fprintf(stderr, "lumvia: cannot open display \"%s\"\n",
                 XDisplayName(options.display.empty() ? nullptr : options.display.c_str()));
    return 1;
  }
  XSetErrorHandler(OnXError);
  if (options.sync) XSynchronize(s.glx.display, True);
  int status = 1;
  if (OpenSurface(options, &s)) {
    if (!IsAnyVisual(options.visual))
      std::fprintf(stderr, "lumvia: -visual %s is not taken: the scenes draw with %s\n",
                   options.visual.c_str(),
                   s.own ? "a GL visual of their own choosing" : "the window's own visual");
    End.window = s.glx.window;
    End.own = s.own;
    status = RunFrames(options, s);
    End.window = None;
  }
  if (s.own) {
    XDestroyWindow(s.glx.display, s.glx.window);
    XFreeColormap(s.glx.display, s.colormap);
  }
  XCloseDisplay(s.glx.display);
  // A program ended by a signal ends by it, after its clean-up: the daemon
  // takes any other end of a display mode it stopped for a failure.
  if (StopSignal) {
    signal(StopSignal, SIG_DFL);
    raise(StopSignal);
  }
  return status;
}
