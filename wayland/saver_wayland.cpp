// The saver on a Wayland desktop: the Linux program's run
// (linux_program/run.h) over the compositor's connection. The frames are
// paced by the compositor: a surface is drawn only once its frame callback
// has come, one frame step drawing every surface that is ready, so an output
// that is off, or a surface nobody can see, costs nothing.
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
#include "presentation-time-client-protocol.h"
#include "render/gl_context_wayland.h"
#include "wayland/desktop.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

constexpr uint32_t kCompositorVersion = 4;
constexpr uint32_t kOutputManagerVersion = 3;

template <typename Proxy>
Proxy* Bind(uint32_t name, const wl_interface* interface, uint32_t version, uint32_t most) {
  return static_cast<Proxy*>(
      wl_registry_bind(Wayland.registry, name, interface, std::min(version, most)));
}

const xdg_wm_base_listener kShellListener = {
    [](void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); },
};

void OnGlobal(void*, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
  if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
    Wayland.compositor = Bind<wl_compositor>(name, &wl_compositor_interface, version,
                                             kCompositorVersion);
  } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
    Wayland.shell = Bind<xdg_wm_base>(name, &xdg_wm_base_interface, version, 1);
    xdg_wm_base_add_listener(Wayland.shell, &kShellListener, nullptr);
  } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
    Wayland.outputManager = Bind<zxdg_output_manager_v1>(
        name, &zxdg_output_manager_v1_interface, version, kOutputManagerVersion);
    AskForLogicalPlaces();
  } else if (std::strcmp(interface, wp_presentation_interface.name) == 0) {
    Wayland.presentation = Bind<wp_presentation>(name, &wp_presentation_interface, version, 1);
  } else if (std::strcmp(interface, wl_seat_interface.name) == 0) {
    AddSeat(name, version);
  } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
    AddOutput(name, version);
  }
}

const wl_registry_listener kRegistryListener = {
    OnGlobal,
    [](void*, wl_registry*, uint32_t name) { RemoveOutput(name); },
};

// Reads what the compositor sent, waiting at most ms for it, and handles it.
void ReadEvents(uint32_t ms) {
  wl_display* display = Wayland.display;
  while (wl_display_prepare_read(display) != 0)
    if (wl_display_dispatch_pending(display) < 0) break;
  wl_display_flush(display);
  pollfd connection{wl_display_get_fd(display), POLLIN, 0};
  if (poll(&connection, 1, static_cast<int>(ms)) > 0)
    wl_display_read_events(display);
  else
    wl_display_cancel_read(display);
  wl_display_dispatch_pending(display);
  if (wl_display_get_error(display) != 0) {
    Wayland.lost = true;
    SaverState.Closing = true;
  }
}

// The surfaces of the frame being drawn, in the order the frame step asks
// for them.
std::vector<Surface*> Ready;

void SelectSurface(int i) {
  MakeCurrentOn(Ready[i]->gl);
  FrameViewports.count = 1;
  FrameViewports.items[0] = Ready[i]->viewport;
}

void PresentSurface(int i) { ShowFrame(*Ready[i]); }

class WaylandScreen : public FrameScreen {
 public:
  void HandleEvents() override {
    ReadEvents(0);
    RepeatKeys(0);
  }
  bool FrameWanted() override { return ReadySurfaces(Ready) > 0; }
  void WaitForEvents(uint32_t ms) override { ReadEvents(RepeatKeys(ms)); }
  void DrawFrame() override {
    RenderFrameOnSurfaces(ReadySurfaces(Ready), SelectSurface, PresentSurface);
  }
  std::string ShownFrames() override { return ShownIntervals(); }
};

// Says what the compositor lacks that the saver needs, if anything.
bool Refuse(const char* what) {
  std::fprintf(stderr, "lumvia: the compositor offers no %s, which the saver needs\n", what);
  return false;
}
bool HasWhatIsNeeded() {
  if (!Wayland.compositor) return Refuse("wl_compositor");
  if (!Wayland.shell) return Refuse("xdg_wm_base (xdg-shell)");
  return true;
}

// From the connection to the save; the exit code.
int RunOnDesktop(const Options& options) {
  Wayland.registry = wl_display_get_registry(Wayland.display);
  wl_registry_add_listener(Wayland.registry, &kRegistryListener, nullptr);
  wl_display_roundtrip(Wayland.display);  // the globals
  if (!HasWhatIsNeeded()) return 1;
  wl_display_roundtrip(Wayland.display);  // what they say of themselves
  StartRun(options, &Wayland, true);
  if (!CreateWaylandGLContext(Wayland.display)) return 1;  // it has said why
  Wayland.drawing = true;
  if (Wayland.fullScreen)
    LayOutSurfaces();
  else
    OpenWindow();
  WaylandScreen screen;
  RunFrames(options, screen);
  CloseSurfaces();
  Wayland.drawing = false;
  DestroyWaylandGLContext();
  SaveViews();
  if (Wayland.lost) std::fprintf(stderr, "lumvia: the connection to the compositor was lost\n");
  return 0;
}

}  // namespace

int RunWaylandSaver(const Options& options) {
  if (options.target == DrawTarget::Root || options.target == DrawTarget::WindowId) {
    std::fprintf(stderr, "lumvia: -root and -window-id draw into X windows, not with -wayland\n");
    return 1;
  }
  Wayland.fullScreen = options.target == DrawTarget::Default;
  Wayland.sceneOutput = options.output;
  Wayland.windowWidth = options.width;
  Wayland.windowHeight = options.height;
  Wayland.measureShown = options.fps;
  Wayland.display = wl_display_connect(nullptr);
  if (!Wayland.display) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr, "lumvia: cannot connect to the Wayland compositor \"%s\"\n",
                 name ? name : "wayland-0");
    return 1;
  }
  const int status = RunOnDesktop(options);
  CloseInput();
  if (Wayland.outputManager) zxdg_output_manager_v1_destroy(Wayland.outputManager);
  if (Wayland.presentation) wp_presentation_destroy(Wayland.presentation);
  if (Wayland.shell) xdg_wm_base_destroy(Wayland.shell);
  if (Wayland.compositor) wl_compositor_destroy(Wayland.compositor);
  if (Wayland.registry) wl_registry_destroy(Wayland.registry);
  wl_display_disconnect(Wayland.display);
  return status;
}
