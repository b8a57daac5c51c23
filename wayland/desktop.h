// What the Wayland front end knows of the desktop it runs on: the
// compositor's globals it binds, its outputs with the surface each shows,
// the seat's keyboard and pointer, and the pacing of the frames. One per
// process, as the saver window is, handed to every listener as its data;
// saver_wayland.cpp runs it, outputs.cpp keeps the outputs and their
// surfaces, window.cpp the window of -window, frames.cpp draws and presents
// the frames, input.cpp the keys and the pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <wayland-client-core.h>

#include "core/monitor_layout.h"
#include "frames/frame_pacing.h"
#include "render/gl_context_wayland.h"

struct libdecor;
struct libdecor_frame;
struct wl_callback;
struct wl_compositor;
struct wl_display;
struct wl_keyboard;
struct wl_output;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_surface;
struct wp_presentation;
struct wp_presentation_feedback;
struct xdg_surface;
struct xdg_toplevel;
struct xdg_wm_base;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

struct Output;

// A surface of ours: full screen on an output, or the window of -window.
struct Surface {
  Output* output = nullptr;  // the output it is full screen on; null for the window
  Output* on = nullptr;      // the window: the output it entered last
  wl_surface* surface = nullptr;
  xdg_surface* xdgSurface = nullptr;      // full screen
  xdg_toplevel* toplevel = nullptr;
  libdecor_frame* decorated = nullptr;    // the window, in the frame libdecor decorates
  GLSurface gl;
  int pendingWidth = 0;   // the size of the configure under way; 0: ours to choose
  int pendingHeight = 0;
  int width = 0;   // in logical pixels, as the compositor configured it
  int height = 0;
  int scale = 1;   // buffer pixels a logical pixel
  bool configured = false;
  bool scene = false;         // shows the scene; else it is black
  Viewport viewport{};        // where the scene goes, in buffer pixels
  // Frames: the callback asked for with the last frame presented, until it
  // comes, and when that was; a surface whose callback has not come for a
  // while cannot be seen, and is not drawn until it comes.
  wl_callback* frame = nullptr;
  int64_t askedAt = 0;        // ns
  bool shown = false;         // a frame callback came: the compositor shows it
  bool drawn = false;         // holds a frame drawn and not presented yet
  int64_t presentedRefresh = 0;  // ns, as the compositor's presentation feedback gives it
  uint64_t lastShown = 0;     // ns: when the compositor showed its last frame (-fps)
  std::vector<struct wp_presentation_feedback*> feedbacks;  // asked for, not come yet
};

struct Output {
  uint32_t name = 0;  // the registry's
  wl_output* output = nullptr;
  zxdg_output_v1* xdgOutput = nullptr;
  std::string label;  // its name ("HEADLESS-1", "DP-2")
  bool ready = false; // its first description is complete
  // The wl_output's own description, where there is no xdg_output.
  int32_t x = 0, y = 0, modeWidth = 0, modeHeight = 0;
  int32_t refresh = 0;  // mHz, of its current mode; 0 unknown
  // xdg_output's logical place and size, 0 x 0 until given.
  int32_t logicalX = 0, logicalY = 0, logicalWidth = 0, logicalHeight = 0;
  int scale = 1;
  std::unique_ptr<Surface> surface;

  // Its place in the desktop's layout, in logical pixels.
  ScreenRect Rect() const;
};

// The keyboard's keymap and the key that repeats.
struct Keys {
  xkb_context* context = nullptr;
  xkb_keymap* keymap = nullptr;
  xkb_state* state = nullptr;
  int32_t rate = 25;    // repeats a second; 0: no repeat
  int32_t delay = 600;  // ms before the first
  uint32_t held = 0;    // the key that repeats (evdev code + 8), 0 for none
  uint32_t nextRepeat = 0;
};

// The pointer, for the mouse rule.
struct Pointer {
  Surface* on = nullptr;  // the surface it is over
  bool anchored = false;  // false: where it appears next is where its travel counts from
  bool anchoredOnEnter = false;  // it counts from where it entered, and no motion came since
  double anchorX = 0.0, anchorY = 0.0;  // in the layout
};

// -fps: the intervals between the times the compositor showed two frames of
// one surface, since the last report.
struct ShownIntervals {
  int count = 0;
  int discarded = 0;
  double sum = 0.0, least = 0.0, most = 0.0;  // ms
  void Add(double ms);
};

struct Desktop {
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  wl_compositor* compositor = nullptr;
  xdg_wm_base* shell = nullptr;
  zxdg_output_manager_v1* outputManager = nullptr;
  wp_presentation* presentation = nullptr;
  wl_seat* seat = nullptr;
  wl_keyboard* keyboard = nullptr;
  wl_pointer* pointer = nullptr;
  libdecor* decorations = nullptr;  // -window's

  bool fullScreen = true;      // every output; false: -window
  std::string sceneOutput;     // -output
  int windowWidth = 0;         // -window's size, from -geometry
  int windowHeight = 0;

  std::vector<std::unique_ptr<Output>> outputs;  // in the order the compositor gave them
  std::unique_ptr<Surface> window;               // -window's
  bool drawing = false;        // the GL context is made: surfaces are made and drawn
  bool lost = false;           // the connection to the compositor is gone

  Keys keys;
  Pointer mouse;
  FramePacing pacing;          // that of the clock's display
  Surface* clock = nullptr;    // the surface whose display the frames follow
  std::string cornerText;      // -fps: the rate, drawn on every surface of the scene
  ShownIntervals shown;
};

extern Desktop Wayland;

// Gives a proxy back with its release request where the version bound has
// one (else the compositor keeps its object), and forgets it.
template <typename Proxy>
void Release(Proxy*& proxy, void (*release)(Proxy*), void (*destroy)(Proxy*), uint32_t since) {
  if (!proxy) return;
  if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(proxy)) >= since)
    release(proxy);
  else
    destroy(proxy);
  proxy = nullptr;
}

// Binds a global of the registry, at most at version `most`.
template <typename Proxy>
Proxy* Bind(Desktop& d, uint32_t name, const wl_interface* interface, uint32_t version,
            uint32_t most) {
  return static_cast<Proxy*>(
      wl_registry_bind(d.registry, name, interface, version < most ? version : most));
}

// The monotonic clock the compositors' times are in, in ns.
int64_t Now();

// --- outputs.cpp ----------------------------------------------------------------
// Binds a wl_output global and asks for its description.
void AddOutput(Desktop& d, uint32_t name, uint32_t version);
// Asks the xdg_output manager, once there is one, for every output's logical
// place and size.
void AskForLogicalPlaces(Desktop& d);
// The output of that registry name has gone: its surface goes with it, and
// every other output's surface is made anew, so that each stands in front
// of whatever the compositor moved there and the keyboard stays with one.
void RemoveOutput(Desktop& d, uint32_t name);
// Gives every output the surface the "other monitors" choice asks for (and
// takes it away where none is asked for), shows the scene or black, and
// works out where the scene goes on each. Run whenever an output comes,
// changes or goes.
void LayOutSurfaces(Desktop& d);
// Takes every surface away, and the outputs.
void CloseSurfaces(Desktop& d);
// A surface's common part, and its end (with the GL drawable and the frames
// asked for): for outputs.cpp and window.cpp.
void MakeSurface(Desktop& d, Surface& s);
void DestroySurface(Desktop& d, std::unique_ptr<Surface>& s);
// The size the compositor configured, 0 x 0 meaning ours to choose: the GL
// drawable follows it. False when the surface cannot be drawn with EGL.
bool Configure(Surface& s, int width, int height);

// --- window.cpp -----------------------------------------------------------------
// Makes the window of -window, decorated: by the compositor where it offers
// xdg-decoration, else by libdecor.
bool OpenWindow(Desktop& d);
void CloseWindow(Desktop& d);

// --- frames.cpp -----------------------------------------------------------------
// Whether a frame step could be drawn now: a surface that shows the scene can
// be seen, and no frame drawn waits to be presented.
bool FrameCanBeDrawn(Desktop& d);
// One frame step on every surface that shows the scene and can be seen; the
// frame is held until it is due (PresentWhenDue).
void DrawFrameStep(Desktop& d);
// Presents the frame held, on every surface that drew it, once it is due;
// until then has the clock's next refresh told.
void PresentWhenDue(Desktop& d);
// Asks for the next frame callback of a surface and notes when, and with a
// frame also for its presentation feedback; then the caller commits.
void AskForFrame(Desktop& d, Surface& s, bool withFrame);
// The surface goes: the frames and feedbacks it waits for go with it.
void ForgetFrames(Desktop& d, Surface& s);
// -fps: how far apart the frames were shown since the last call, or "".
std::string ShownFrames(Desktop& d);

// --- input.cpp ------------------------------------------------------------------
// Binds the seat; its keyboard and pointer follow its capabilities.
void AddSeat(Desktop& d, uint32_t name, uint32_t version);
// Key repeat: presses the held key again when its time has come; returns the
// ms until the next repeat is due, or `ms` when none is sooner.
uint32_t RepeatKeys(Desktop& d, uint32_t ms);
// The outputs changed: the compositor puts the pointer where it likes, so
// its next place is where its travel counts from.
void AnchorPointerAnew(Desktop& d);
// The surface goes: the pointer is no longer over it.
void ForgetPointerOn(Desktop& d, const Surface& s);
void CloseInput(Desktop& d);
