// What the Wayland front end knows of the desktop it runs on: the
// compositor's globals it binds, its outputs with the surface each shows,
// and the seat's keyboard and pointer. One per process, as the saver window
// is; saver_wayland.cpp runs it, outputs.cpp keeps the outputs and their
// surfaces, input.cpp the keys and the pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <wayland-client-core.h>

#include "core/monitor_layout.h"
#include "render/gl_context_wayland.h"

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
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

struct Output;

// A surface of ours: full screen on an output, or the window of -window.
struct Surface {
  Output* output = nullptr;  // null for the window of its own
  wl_surface* surface = nullptr;
  xdg_surface* xdgSurface = nullptr;
  xdg_toplevel* toplevel = nullptr;
  GLSurface gl;
  int pendingWidth = 0;   // the size of the configure under way; 0: ours to choose
  int pendingHeight = 0;
  int width = 0;   // in logical pixels, as the compositor configured it
  int height = 0;
  int scale = 1;   // buffer pixels a logical pixel
  bool configured = false;
  bool scene = false;         // shows the scene; else it is black
  Viewport viewport{};        // where the scene goes, in buffer pixels
  wl_callback* frame = nullptr;  // asked for with the last frame shown, until it comes
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
  // xdg_output's logical place and size, 0 x 0 until given.
  int32_t logicalX = 0, logicalY = 0, logicalWidth = 0, logicalHeight = 0;
  int scale = 1;
  std::unique_ptr<Surface> surface;

  // Its place in the desktop's layout, in logical pixels.
  ScreenRect Rect() const;
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

  bool fullScreen = true;      // every output; false: -window
  std::string sceneOutput;     // -output
  int windowWidth = 800;       // -window's size
  int windowHeight = 600;
  bool measureShown = false;   // -fps: the compositor's presentation times are asked for

  std::vector<std::unique_ptr<Output>> outputs;  // in the order the compositor gave them
  std::unique_ptr<Surface> window;               // -window's
  bool drawing = false;        // the GL context is made: surfaces are made and drawn
  bool lost = false;           // the connection to the compositor is gone
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

// --- outputs.cpp ----------------------------------------------------------------
// Binds a wl_output global and asks for its description.
void AddOutput(uint32_t name, uint32_t version);
// Asks the xdg_output manager, once there is one, for every output's logical
// place and size.
void AskForLogicalPlaces();
// The output of that registry name has gone: its surface goes with it.
void RemoveOutput(uint32_t name);
// Gives every output the surface the "other monitors" choice asks for (and
// takes it away where none is asked for), shows the scene or black, and
// works out where the scene goes on each. Run whenever an output comes,
// changes or goes.
void LayOutSurfaces();
// Makes the window of -window.
bool OpenWindow();
// Every surface that shows the scene and could be drawn now (configured, no
// frame callback outstanding), in `ready`; the count.
int ReadySurfaces(std::vector<Surface*>& ready);
// Shows a frame drawn on the surface: asks for its frame callback (and the
// time it was shown, for -fps), then swaps.
void ShowFrame(Surface& s);
// -fps: how far apart the frames were shown since the last call, or "".
std::string ShownIntervals();
// Takes every surface away, and the outputs.
void CloseSurfaces();

// --- input.cpp ------------------------------------------------------------------
// Binds the seat; its keyboard and pointer follow its capabilities.
void AddSeat(uint32_t name, uint32_t version);
// Key repeat: presses the held key again when its time has come; returns the
// ms until the next repeat is due, or `ms` when none is sooner.
uint32_t RepeatKeys(uint32_t ms);
void CloseInput();
