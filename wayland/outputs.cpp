// The outputs of the Wayland desktop and the surface each shows: full screen
// on its output, the scene or black as the "other monitors" setting says,
// made when the output comes and taken away when it goes.
#include <wayland-client.h>

#include <algorithm>
#include <cstdio>

#include "core/saver_state.h"
#include "presentation-time-client-protocol.h"
#include "render/gl.h"
#include "settings/store.h"
#include "wayland/desktop.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

constexpr uint32_t kOutputVersion = 4;  // with its name
constexpr size_t kMostFeedbacks = 8;    // presentation feedbacks a surface waits for

Output* OutputNamed(uint32_t name) {
  for (auto& o : Wayland.outputs)
    if (o->name == name) return o.get();
  return nullptr;
}

// The output that shows the scene when the others are black or left alone:
// the one -output names while it is there, else the first.
Output* SceneOutput() {
  Output* first = nullptr;
  for (auto& o : Wayland.outputs) {
    if (!o->ready) continue;
    if (o->label == Wayland.sceneOutput) return o.get();
    if (!first) first = o.get();
  }
  return first;
}

// --- A surface --------------------------------------------------------------------
void DrawBlack(Surface& s) {
  if (!MakeCurrentOn(s.gl)) return;
  glViewport(0, 0, s.width * s.scale, s.height * s.scale);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  PresentOn(s.gl);
}

// The viewport of a scene that fills the surface; LayOutSurfaces sets that of
// one spread over all outputs.
void FillWithScene(Surface& s) { s.viewport = {0, 0, s.width * s.scale, s.height * s.scale}; }

void Configure(Surface& s, int width, int height) {
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
      std::fprintf(stderr, "lumvia: a surface cannot be drawn with EGL\n");
      SaverState.Closing = true;
      return;
    }
  } else if (resized) {
    ResizeGL(s.gl, width * s.scale, height * s.scale);
  }
  s.configured = true;
  if (s.output) {
    LayOutSurfaces();
  } else {
    FillWithScene(s);
  }
}

const xdg_surface_listener kSurfaceListener = {
    [](void* data, xdg_surface* surface, uint32_t serial) {
      xdg_surface_ack_configure(surface, serial);
      auto* s = static_cast<Surface*>(data);
      Configure(*s, s->pendingWidth, s->pendingHeight);
    },
};

// The size comes first and is taken when its xdg_surface configure follows.
const xdg_toplevel_listener kToplevelListener = {
    [](void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
      auto* s = static_cast<Surface*>(data);
      s->pendingWidth = width;
      s->pendingHeight = height;
    },
    [](void*, xdg_toplevel*) { SaverState.Closing = true; },
    [](void*, xdg_toplevel*, int32_t, int32_t) {},
    [](void*, xdg_toplevel*, wl_array*) {},
};

std::unique_ptr<Surface> MakeSurface(Output* output) {
  auto s = std::make_unique<Surface>();
  s->output = output;
  s->scale = output ? output->scale : 1;
  s->surface = wl_compositor_create_surface(Wayland.compositor);
  s->xdgSurface = xdg_wm_base_get_xdg_surface(Wayland.shell, s->surface);
  xdg_surface_add_listener(s->xdgSurface, &kSurfaceListener, s.get());
  s->toplevel = xdg_surface_get_toplevel(s->xdgSurface);
  xdg_toplevel_add_listener(s->toplevel, &kToplevelListener, s.get());
  xdg_toplevel_set_title(s->toplevel, "Lumvia");
  xdg_toplevel_set_app_id(s->toplevel, "lumvia");
  if (output) xdg_toplevel_set_fullscreen(s->toplevel, output->output);
  // Sizes of 0 until the compositor says: ours to choose then.
  wl_surface_commit(s->surface);
  return s;
}

void DestroySurface(std::unique_ptr<Surface>& s) {
  if (!s) return;
  DetachGL(s->gl);
  if (s->frame) wl_callback_destroy(s->frame);
  for (struct wp_presentation_feedback* feedback : s->feedbacks) wp_presentation_feedback_destroy(feedback);
  xdg_toplevel_destroy(s->toplevel);
  xdg_surface_destroy(s->xdgSurface);
  wl_surface_destroy(s->surface);
  s.reset();
}

const wl_callback_listener kFrameListener = {
    [](void* data, wl_callback* callback, uint32_t) {
      auto* s = static_cast<Surface*>(data);
      if (s->frame == callback) s->frame = nullptr;
      wl_callback_destroy(callback);
    },
};

// -fps: the intervals between the times the compositor showed two frames of
// one surface, since the last report.
struct Intervals {
  int count = 0;
  int discarded = 0;
  double sum = 0.0, least = 0.0, most = 0.0;  // ms
  void Add(double ms) {
    least = count == 0 ? ms : std::min(least, ms);
    most = count == 0 ? ms : std::max(most, ms);
    sum += ms;
    ++count;
  }
};
Intervals Shown;

void Forget(Surface& s, struct wp_presentation_feedback* feedback) {
  std::erase(s.feedbacks, feedback);
  wp_presentation_feedback_destroy(feedback);
}

const wp_presentation_feedback_listener kFeedbackListener = {
    [](void*, struct wp_presentation_feedback*, wl_output*) {},
    [](void* data, struct wp_presentation_feedback* feedback, uint32_t secondsHigh, uint32_t secondsLow,
       uint32_t nanoseconds, uint32_t, uint32_t, uint32_t, uint32_t) {
      auto* s = static_cast<Surface*>(data);
      const uint64_t at = ((uint64_t{secondsHigh} << 32 | secondsLow) * 1000000000u) + nanoseconds;
      if (s->lastShown) Shown.Add(static_cast<double>(at - s->lastShown) / 1e6);
      s->lastShown = at;
      Forget(*s, feedback);
    },
    [](void* data, struct wp_presentation_feedback* feedback) {
      ++Shown.discarded;
      Forget(*static_cast<Surface*>(data), feedback);
    },
};

// --- An output ---------------------------------------------------------------------
const wl_output_listener kOutputListener = {
    [](void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
       const char*, int32_t) {
      auto* o = static_cast<Output*>(data);
      o->x = x;
      o->y = y;
    },
    [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
      auto* o = static_cast<Output*>(data);
      if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
      o->modeWidth = width;
      o->modeHeight = height;
    },
    [](void* data, wl_output*) {
      static_cast<Output*>(data)->ready = true;
      LayOutSurfaces();
    },
    [](void* data, wl_output*, int32_t factor) { static_cast<Output*>(data)->scale = factor; },
    [](void* data, wl_output*, const char* name) { static_cast<Output*>(data)->label = name; },
    [](void*, wl_output*, const char*) {},
};

const zxdg_output_v1_listener kXdgOutputListener = {
    [](void* data, zxdg_output_v1*, int32_t x, int32_t y) {
      auto* o = static_cast<Output*>(data);
      o->logicalX = x;
      o->logicalY = y;
    },
    [](void* data, zxdg_output_v1*, int32_t width, int32_t height) {
      auto* o = static_cast<Output*>(data);
      o->logicalWidth = width;
      o->logicalHeight = height;
    },
    [](void*, zxdg_output_v1*) { LayOutSurfaces(); },  // before version 3 only
    [](void* data, zxdg_output_v1*, const char* name) { static_cast<Output*>(data)->label = name; },
    [](void*, zxdg_output_v1*, const char*) {},
};

// Whether the output shows a surface of ours, and whether that shows the
// scene, for the "other monitors" choice.
void Wanted(const Output& o, const Output* sceneOutput, bool* surface, bool* scene) {
  const bool sceneHere = &o == sceneOutput;
  switch (OtherMonitors) {
    case kOtherMonitorsSameScene:
    case kOtherMonitorsSpanning: *surface = *scene = true; break;
    case kOtherMonitorsLeftAlone: *surface = *scene = sceneHere; break;
    default: *surface = true; *scene = sceneHere; break;  // black
  }
}

}  // namespace

Desktop Wayland;

ScreenRect Output::Rect() const {
  if (logicalWidth > 0 && logicalHeight > 0)
    return {logicalX, logicalY, logicalX + logicalWidth, logicalY + logicalHeight};
  const int s = std::max(scale, 1);
  return {x, y, x + modeWidth / s, y + modeHeight / s};
}

void AddOutput(uint32_t name, uint32_t version) {
  auto o = std::make_unique<Output>();
  o->name = name;
  o->output = static_cast<wl_output*>(wl_registry_bind(
      Wayland.registry, name, &wl_output_interface, std::min(version, kOutputVersion)));
  wl_output_add_listener(o->output, &kOutputListener, o.get());
  Wayland.outputs.push_back(std::move(o));
  AskForLogicalPlaces();
}

void AskForLogicalPlaces() {
  if (!Wayland.outputManager) return;
  for (auto& o : Wayland.outputs) {
    if (o->xdgOutput) continue;
    o->xdgOutput = zxdg_output_manager_v1_get_xdg_output(Wayland.outputManager, o->output);
    zxdg_output_v1_add_listener(o->xdgOutput, &kXdgOutputListener, o.get());
  }
}

void RemoveOutput(uint32_t name) {
  Output* o = OutputNamed(name);
  if (!o) return;
  DestroySurface(o->surface);
  if (o->xdgOutput) zxdg_output_v1_destroy(o->xdgOutput);
  Release(o->output, wl_output_release, wl_output_destroy, WL_OUTPUT_RELEASE_SINCE_VERSION);
  std::erase_if(Wayland.outputs, [o](const auto& each) { return each.get() == o; });
  LayOutSurfaces();
}

void LayOutSurfaces() {
  if (!Wayland.fullScreen || !Wayland.drawing) return;
  const Output* sceneOutput = SceneOutput();
  ScreenRect all{};
  bool any = false;
  for (auto& o : Wayland.outputs) {
    if (!o->ready) continue;
    const ScreenRect r = o->Rect();
    all = any ? ScreenRect{std::min(all.left, r.left), std::min(all.top, r.top),
                           std::max(all.right, r.right), std::max(all.bottom, r.bottom)}
              : r;
    any = true;
  }
  for (auto& o : Wayland.outputs) {
    if (!o->ready) continue;
    bool surface = false, scene = false;
    Wanted(*o, sceneOutput, &surface, &scene);
    if (!surface) {
      DestroySurface(o->surface);
      continue;
    }
    if (!o->surface) o->surface = MakeSurface(o.get());
    Surface& s = *o->surface;
    if (!s.configured) continue;
    if (s.scale != o->scale) {  // the output's scale changed: as many pixels again
      s.scale = o->scale;
      wl_surface_set_buffer_scale(s.surface, s.scale);
      ResizeGL(s.gl, s.width * s.scale, s.height * s.scale);
    }
    s.scene = scene;
    if (!scene) {
      DrawBlack(s);
      continue;
    }
    FillWithScene(s);
    if (OtherMonitors == kOtherMonitorsSpanning) {
      const Viewport v = ViewportOf(all, o->Rect());
      s.viewport = {v.x * s.scale, v.y * s.scale, v.width * s.scale, v.height * s.scale};
    }
  }
}

bool OpenWindow() {
  Wayland.window = MakeSurface(nullptr);
  Wayland.window->scene = true;
  return true;
}

int ReadySurfaces(std::vector<Surface*>& ready) {
  ready.clear();
  auto add = [&ready](Surface* s) {
    if (s && s->scene && s->configured && s->gl.drawable && !s->frame) ready.push_back(s);
  };
  add(Wayland.window.get());
  for (auto& o : Wayland.outputs) add(o->surface.get());
  return static_cast<int>(ready.size());
}

void ShowFrame(Surface& s) {
  s.frame = wl_surface_frame(s.surface);
  wl_callback_add_listener(s.frame, &kFrameListener, &s);
  // A compositor that leaves the feedback unanswered is not asked for more.
  if (Wayland.measureShown && Wayland.presentation && s.feedbacks.size() < kMostFeedbacks) {
    s.feedbacks.push_back(wp_presentation_feedback(Wayland.presentation, s.surface));
    wp_presentation_feedback_add_listener(s.feedbacks.back(), &kFeedbackListener, &s);
  }
  PresentOn(s.gl);
}

std::string ShownIntervals() {
  if (!Wayland.presentation) return "";
  char text[128];
  if (Shown.count == 0)
    std::snprintf(text, sizeof text, "; the compositor reports none shown, %d discarded",
                  Shown.discarded);
  else
    std::snprintf(text, sizeof text, "; shown %.1f ms apart (%.1f to %.1f), %d discarded",
                  Shown.sum / Shown.count, Shown.least, Shown.most, Shown.discarded);
  Shown = Intervals{};
  return text;
}

void CloseSurfaces() {
  DestroySurface(Wayland.window);
  while (!Wayland.outputs.empty()) RemoveOutput(Wayland.outputs.back()->name);
}
