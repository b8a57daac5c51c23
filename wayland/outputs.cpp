// The outputs of the Wayland desktop and the surface each shows: full screen
// on its output, the scene or black as the "other monitors" setting says,
// made when the output comes and taken away when it goes.
#include <wayland-client.h>

#include <algorithm>
#include <cstdio>

#include "core/saver_state.h"
#include "platform/say.h"
#include "render/gl.h"
#include "settings/store.h"
#include "wayland/desktop.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

constexpr uint32_t kOutputVersion = 4;  // with its name

Output* OutputNamed(Desktop& d, uint32_t name) {
  for (auto& o : d.outputs)
    if (o->name == name) return o.get();
  return nullptr;
}

Output* OutputOf(Desktop& d, const wl_output* output) {
  for (auto& o : d.outputs)
    if (o->output == output) return o.get();
  return nullptr;
}

// --- A surface --------------------------------------------------------------------
void DrawBlack(Surface& s) {
  if (!MakeCurrentOn(s.gl)) return;
  glViewport(0, 0, s.width * s.scale, s.height * s.scale);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  PresentOn(s.gl);
}

void OnSurfaceEnter(void* data, wl_surface*, wl_output* output) {
  auto* s = static_cast<Surface*>(data);
  s->on = OutputOf(Wayland, output);
}
void OnSurfaceLeave(void* data, wl_surface*, wl_output* output) {
  auto* s = static_cast<Surface*>(data);
  if (s->on && s->on->output == output) s->on = nullptr;
}
const wl_surface_listener kSurfaceListener = {OnSurfaceEnter, OnSurfaceLeave};

void OnXdgSurfaceConfigure(void* data, xdg_surface* surface, uint32_t serial) {
  xdg_surface_ack_configure(surface, serial);
  auto* s = static_cast<Surface*>(data);
  if (!Configure(*s, s->pendingWidth, s->pendingHeight)) return;
  LayOutSurfaces(Wayland);
}
const xdg_surface_listener kXdgSurfaceListener = {OnXdgSurfaceConfigure};

// The size comes first and is taken when its xdg_surface configure follows.
void OnToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
  auto* s = static_cast<Surface*>(data);
  s->pendingWidth = width;
  s->pendingHeight = height;
}
void OnToplevelClose(void*, xdg_toplevel*) { AskToClose(); }
void OnToplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void OnToplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener kToplevelListener = {OnToplevelConfigure, OnToplevelClose,
                                                 OnToplevelBounds, OnToplevelCapabilities};

std::unique_ptr<Surface> MakeFullScreen(Desktop& d, Output* output) {
  auto s = std::make_unique<Surface>();
  s->output = output;
  s->scale = output->scale;
  MakeSurface(d, *s);
  s->xdgSurface = xdg_wm_base_get_xdg_surface(d.shell, s->surface);
  xdg_surface_add_listener(s->xdgSurface, &kXdgSurfaceListener, s.get());
  s->toplevel = xdg_surface_get_toplevel(s->xdgSurface);
  xdg_toplevel_add_listener(s->toplevel, &kToplevelListener, s.get());
  xdg_toplevel_set_title(s->toplevel, "Lumvia");
  xdg_toplevel_set_app_id(s->toplevel, "lumvia");
  xdg_toplevel_set_fullscreen(s->toplevel, output->output);
  // Sizes of 0 until the compositor says: ours to choose then.
  wl_surface_commit(s->surface);
  return s;
}

// --- An output ---------------------------------------------------------------------
// Each change of an output's description ends in its done event.
void OnGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                const char*, const char*, int32_t) {
  auto* o = static_cast<Output*>(data);
  o->x = x;
  o->y = y;
}
void OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height,
            int32_t refresh) {
  auto* o = static_cast<Output*>(data);
  if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
  o->modeWidth = width;
  o->modeHeight = height;
  o->refresh = refresh;
}
void OnDone(void* data, wl_output*) {
  static_cast<Output*>(data)->ready = true;
  AnchorPointerAnew(Wayland);
  LayOutSurfaces(Wayland);
}
void OnScale(void* data, wl_output*, int32_t factor) { static_cast<Output*>(data)->scale = factor; }
void OnName(void* data, wl_output*, const char* name) { static_cast<Output*>(data)->label = name; }
void OnDescription(void*, wl_output*, const char*) {}
const wl_output_listener kOutputListener = {OnGeometry, OnMode,        OnDone,
                                            OnScale,    OnName,        OnDescription};

void OnLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
  auto* o = static_cast<Output*>(data);
  o->logicalX = x;
  o->logicalY = y;
}
void OnLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
  auto* o = static_cast<Output*>(data);
  o->logicalWidth = width;
  o->logicalHeight = height;
}
// Before version 3 only; since then the wl_output's done ends a change.
void OnLogicalDone(void*, zxdg_output_v1*) {
  AnchorPointerAnew(Wayland);
  LayOutSurfaces(Wayland);
}
void OnLogicalName(void* data, zxdg_output_v1*, const char* name) {
  static_cast<Output*>(data)->label = name;
}
void OnLogicalDescription(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener kXdgOutputListener = {OnLogicalPosition, OnLogicalSize,
                                                    OnLogicalDone, OnLogicalName,
                                                    OnLogicalDescription};

// The outputs described so far, in the compositor's order; `primary` is the
// one that shows the scene when the others do not: the one -output names
// while it is there, else the first.
int DescribedOutputs(Desktop& d, Output** outputs, ScreenRect* rects, int* primary) {
  int count = 0;
  *primary = -1;
  for (auto& o : d.outputs) {
    if (!o->ready || count == kMaxMonitors) continue;
    if (*primary < 0 && o->label == d.sceneOutput) *primary = count;
    outputs[count] = o.get();
    rects[count++] = o->Rect();
  }
  *primary = std::max(*primary, 0);
  return count;
}

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The part of the screen a viewport of the layout's window covers.
ScreenRect AreaOf(const Viewport& v, const ScreenRect& window) {
  const int32_t bottom = window.bottom - v.y;
  return {window.left + v.x, bottom - v.height, window.left + v.x + v.width, bottom};
}

// Gives the output the surface the layout asks for, with the scene where one
// of its viewports falls on the output (the first of them), else black.
void LayOut(Desktop& d, Output& o, const ScreenRect& rect, const MonitorLayout& layout) {
  if (!Overlap(rect, layout.window)) {
    DestroySurface(d, o.surface);
    return;
  }
  if (!o.surface) o.surface = MakeFullScreen(d, &o);
  Surface& s = *o.surface;
  if (!s.configured) return;
  if (s.scale != o.scale) {  // the output's scale changed: as many pixels again
    s.scale = o.scale;
    wl_surface_set_buffer_scale(s.surface, s.scale);
    ResizeGL(s.gl, s.width * s.scale, s.height * s.scale);
  }
  s.scene = false;
  for (int i = 0; i < layout.viewports.count && !s.scene; ++i) {
    const ScreenRect area = AreaOf(layout.viewports.items[i], layout.window);
    if (!Overlap(area, rect)) continue;
    const Viewport v = ViewportOf(area, rect);
    s.viewport = {v.x * s.scale, v.y * s.scale, v.width * s.scale, v.height * s.scale};
    s.scene = true;
  }
  if (!s.scene) DrawBlack(s);
}

}  // namespace

ScreenRect Output::Rect() const {
  if (logicalWidth > 0 && logicalHeight > 0)
    return {logicalX, logicalY, logicalX + logicalWidth, logicalY + logicalHeight};
  const int s = std::max(scale, 1);
  return {x, y, x + modeWidth / s, y + modeHeight / s};
}

void AddOutput(Desktop& d, uint32_t name, uint32_t version) {
  auto o = std::make_unique<Output>();
  o->name = name;
  o->output = Bind<wl_output>(d, name, &wl_output_interface, version, kOutputVersion);
  wl_output_add_listener(o->output, &kOutputListener, o.get());
  d.outputs.push_back(std::move(o));
  AskForLogicalPlaces(d);
}

void AskForLogicalPlaces(Desktop& d) {
  if (!d.outputManager) return;
  for (auto& o : d.outputs) {
    if (o->xdgOutput) continue;
    o->xdgOutput = zxdg_output_manager_v1_get_xdg_output(d.outputManager, o->output);
    zxdg_output_v1_add_listener(o->xdgOutput, &kXdgOutputListener, o.get());
  }
}

void RemoveOutput(Desktop& d, uint32_t name) {
  Output* o = OutputNamed(d, name);
  if (!o) return;
  const bool shown = o->surface != nullptr;
  DestroySurface(d, o->surface);
  if (d.window && d.window->on == o) d.window->on = nullptr;
  if (o->xdgOutput) zxdg_output_v1_destroy(o->xdgOutput);
  Release(o->output, wl_output_release, wl_output_destroy, WL_OUTPUT_RELEASE_SINCE_VERSION);
  std::erase_if(d.outputs, [o](const auto& each) { return each.get() == o; });
  if (shown)
    for (auto& other : d.outputs) DestroySurface(d, other->surface);
  AnchorPointerAnew(d);
  LayOutSurfaces(d);
}

void LayOutSurfaces(Desktop& d) {
  if (!d.fullScreen || !d.drawing) return;
  Output* outputs[kMaxMonitors] = {};
  ScreenRect rects[kMaxMonitors] = {};
  int primary = 0;
  const int count = DescribedOutputs(d, outputs, rects, &primary);
  const MonitorLayout layout = LayOutMonitors(rects, count, primary, OtherMonitors);
  for (int i = 0; i < count; ++i) LayOut(d, *outputs[i], rects[i], layout);
}

void MakeSurface(Desktop& d, Surface& s) {
  s.surface = wl_compositor_create_surface(d.compositor);
  wl_surface_add_listener(s.surface, &kSurfaceListener, &s);
}

bool Configure(Surface& s, int width, int height) {
  if (width <= 0 || height <= 0) {  // ours to choose
    const ScreenRect r = s.output ? s.output->Rect() : ScreenRect{};
    width = s.output ? r.right - r.left : Wayland.windowWidth;
    height = s.output ? r.bottom - r.top : Wayland.windowHeight;
  }
  const bool resized = width != s.width || height != s.height;
  s.width = width;
  s.height = height;
  if (!s.gl.drawable) {
    wl_surface_set_buffer_scale(s.surface, s.scale);
    if (!AttachGL(s.gl, s.surface, width * s.scale, height * s.scale)) {
      Say("a surface cannot be drawn with EGL");
      AskToClose();
      return false;
    }
  } else if (resized) {
    ResizeGL(s.gl, width * s.scale, height * s.scale);
  }
  s.configured = true;
  return true;
}

void DestroySurface(Desktop& d, std::unique_ptr<Surface>& s) {
  if (!s) return;
  ForgetPointerOn(d, *s);
  ForgetFrames(d, *s);
  DetachGL(s->gl);
  if (s->toplevel) xdg_toplevel_destroy(s->toplevel);
  if (s->xdgSurface) xdg_surface_destroy(s->xdgSurface);
  wl_surface_destroy(s->surface);
  s.reset();
}

void CloseSurfaces(Desktop& d) {
  CloseWindow(d);
  while (!d.outputs.empty()) RemoveOutput(d, d.outputs.back()->name);
}
