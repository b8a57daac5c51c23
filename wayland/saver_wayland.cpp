// The saver on a Wayland desktop: the Linux program's run
// (linux_program/run.h) over the compositor's connection, with the frames in
// step with the display (frames.cpp).
#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/saver_state.h"
#include "frames/frame.h"
#include "linux_program/front_ends.h"
#include "linux_program/run.h"
#include "platform/say.h"
#include "presentation-time-client-protocol.h"
#include "render/gl_context_wayland.h"
#include "wayland/desktop.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

constexpr uint32_t kCompositorVersion = 4;
constexpr uint32_t kOutputManagerVersion = 3;

void OnPing(void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }
const xdg_wm_base_listener kShellListener = {OnPing};

void OnGlobal(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
  Desktop& d = *static_cast<Desktop*>(data);
  if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
    d.compositor = Bind<wl_compositor>(d, name, &wl_compositor_interface, version,
                                       kCompositorVersion);
  } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
    d.shell = Bind<xdg_wm_base>(d, name, &xdg_wm_base_interface, version, 1);
    xdg_wm_base_add_listener(d.shell, &kShellListener, &d);
  } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
    d.outputManager = Bind<zxdg_output_manager_v1>(d, name, &zxdg_output_manager_v1_interface,
                                                   version, kOutputManagerVersion);
    AskForLogicalPlaces(d);
  } else if (std::strcmp(interface, wp_presentation_interface.name) == 0) {
    d.presentation = Bind<wp_presentation>(d, name, &wp_presentation_interface, version, 1);
  } else if (std::strcmp(interface, wl_seat_interface.name) == 0) {
    AddSeat(d, name, version);
  } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
    AddOutput(d, name, version);
  }
}
void OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
  RemoveOutput(*static_cast<Desktop*>(data), name);
}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

// Reads what the compositor sent, waiting at most ms for it, and handles it.
void ReadEvents(Desktop& d, uint32_t ms) {
  while (wl_display_prepare_read(d.display) != 0)
    if (wl_display_dispatch_pending(d.display) < 0) break;
  wl_display_flush(d.display);
  pollfd connection{wl_display_get_fd(d.display), POLLIN, 0};
  if (poll(&connection, 1, static_cast<int>(ms)) > 0)
    wl_display_read_events(d.display);
  else
    wl_display_cancel_read(d.display);
  wl_display_dispatch_pending(d.display);
  if (wl_display_get_error(d.display) != 0) {
    d.lost = true;
    AskToClose();
  }
}

class WaylandScreen : public FrameScreen {
 public:
  explicit WaylandScreen(Desktop& d) : d_(d) {}
  void HandleEvents() override {
    ReadEvents(d_, 0);
    RepeatKeys(d_, 0);
    PresentWhenDue(d_);
  }
  bool FrameWanted() override { return FrameCanBeDrawn(d_); }
  // The wait ends for the next key repeat too.
  void WaitForEvents(uint32_t ms) override {
    ReadEvents(d_, RepeatKeys(d_, ms));
    PresentWhenDue(d_);
  }
  void DrawFrame() override {
    DrawFrameStep(d_);
    PresentWhenDue(d_);
  }
  void ShowFrameRate(const char* text) override { d_.cornerText = text; }
  std::string ShownFrames() override { return ::ShownFrames(d_); }

 private:
  Desktop& d_;
};

// Says what the compositor lacks that the saver needs, if anything.
bool Refuse(const char* what) {
  Say("the compositor offers no %s, which the saver needs", what);
  return false;
}
bool HasWhatIsNeeded(const Desktop& d) {
  if (!d.compositor) return Refuse("wl_compositor");
  if (!d.shell) return Refuse("xdg_wm_base (xdg-shell)");
  return true;
}

// From the connection to the save; the exit code.
int RunOnDesktop(Desktop& d, const Options& options) {
  d.registry = wl_display_get_registry(d.display);
  wl_registry_add_listener(d.registry, &kRegistryListener, &d);
  wl_display_roundtrip(d.display);  // the globals
  if (!HasWhatIsNeeded(d)) return 1;
  wl_display_roundtrip(d.display);  // what they say of themselves
  StartRun(options, &d, true);
  if (!CreateWaylandGLContext(d.display)) return 1;  // it has said why
  d.drawing = true;
  if (d.fullScreen) {
    LayOutSurfaces(d);
  } else if (!OpenWindow(d)) {
    DestroyWaylandGLContext();
    return 1;
  }
  WaylandScreen screen(d);
  RunFrames(options, screen);
  d.drawing = false;
  CloseSurfaces(d);
  DestroyWaylandGLContext();
  SaveViews();
  if (d.lost) Say("the connection to the compositor was lost");
  return 0;
}

}  // namespace

Desktop Wayland;

int RunWaylandSaver(const Options& options) {
  if (options.target == DrawTarget::Root || options.target == DrawTarget::WindowId) {
    Say("-root and -window-id draw into X windows, not with -wayland");
    return 1;
  }
  Wayland.fullScreen = options.target == DrawTarget::Default;
  Wayland.sceneOutput = options.output;
  Wayland.windowWidth = options.width;
  Wayland.windowHeight = options.height;
  Wayland.display = wl_display_connect(nullptr);
  if (!Wayland.display) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    Say("cannot connect to the Wayland compositor \"%s\"", name ? name : "wayland-0");
    return 1;
  }
  const int status = RunOnDesktop(Wayland, options);
  CloseInput(Wayland);
  if (Wayland.outputManager) zxdg_output_manager_v1_destroy(Wayland.outputManager);
  if (Wayland.presentation) wp_presentation_destroy(Wayland.presentation);
  if (Wayland.shell) xdg_wm_base_destroy(Wayland.shell);
  if (Wayland.compositor) wl_compositor_destroy(Wayland.compositor);
  if (Wayland.registry) wl_registry_destroy(Wayland.registry);
  wl_display_disconnect(Wayland.display);
  return status;
}
