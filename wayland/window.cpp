// The window of -window, decorated as every window of the desktop is:
// libdecor asks the compositor for its own decorations through xdg-decoration
// where it offers them (KWin, Sway), and draws a title bar, a border and a
// close box itself where it does not (Mutter, Weston).
#include <libdecor.h>
#include <wayland-client.h>

#include <cstdio>

#include "core/saver_state.h"
#include "platform/say.h"
#include "wayland/desktop.h"

namespace {

void OnDecorationError(libdecor*, libdecor_error, const char* message) {
  Say("the window cannot be decorated: %s", message);
  AskToClose();
}
// The interfaces have room for more handlers, left null.
libdecor_interface DecorationListener() {
  libdecor_interface listener{};
  listener.error = OnDecorationError;
  return listener;
}
libdecor_interface kDecorationListener = DecorationListener();

void OnConfigure(libdecor_frame* frame, libdecor_configuration* configuration, void* data) {
  auto* s = static_cast<Surface*>(data);
  int width = 0, height = 0;
  if (!libdecor_configuration_get_content_size(configuration, frame, &width, &height))
    width = height = 0;  // ours to choose
  if (!Configure(*s, width, height)) return;
  s->viewport = {0, 0, s->width * s->scale, s->height * s->scale};
  libdecor_state* state = libdecor_state_new(s->width, s->height);
  libdecor_frame_commit(frame, state, configuration);
  libdecor_state_free(state);
}
void OnClose(libdecor_frame*, void*) { AskToClose(); }
// The decorations' subsurfaces show with the next commit of the window.
void OnCommit(libdecor_frame*, void* data) { wl_surface_commit(static_cast<Surface*>(data)->surface); }
void OnDismissPopup(libdecor_frame*, const char*, void*) {}
libdecor_frame_interface FrameListener() {
  libdecor_frame_interface listener{};
  listener.configure = OnConfigure;
  listener.close = OnClose;
  listener.commit = OnCommit;
  listener.dismiss_popup = OnDismissPopup;
  return listener;
}
libdecor_frame_interface kFrameListener = FrameListener();

}  // namespace

bool OpenWindow(Desktop& d) {
  d.decorations = libdecor_new(d.display, &kDecorationListener);
  if (!d.decorations) {
    Say("libdecor cannot be used on this compositor");
    return false;
  }
  d.window = std::make_unique<Surface>();
  Surface& s = *d.window;
  s.scene = true;
  MakeSurface(d, s);
  s.decorated = libdecor_decorate(d.decorations, s.surface, &kFrameListener, &s);
  libdecor_frame_set_title(s.decorated, "Lumvia");
  libdecor_frame_set_app_id(s.decorated, "lumvia");
  libdecor_frame_map(s.decorated);
  return true;
}

void CloseWindow(Desktop& d) {
  if (!d.window) return;
  libdecor_frame_unref(d.window->decorated);  // its xdg_toplevel before the surface
  DestroySurface(d, d.window);
  libdecor_unref(d.decorations);
  d.decorations = nullptr;
}
