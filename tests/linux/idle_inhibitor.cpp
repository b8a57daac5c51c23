// A window that keeps the desktop from going idle, as a video player does: a
// visible toplevel with a zwp_idle_inhibitor_v1 on its surface. "ready" on
// standard output once the compositor has the inhibitor; it holds it until
// it is ended.
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

constexpr int kSize = 200;

wl_compositor* Compositor = nullptr;
wl_shm* Shm = nullptr;
xdg_wm_base* Shell = nullptr;
zwp_idle_inhibit_manager_v1* Inhibitors = nullptr;
bool Configured = false;

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  auto bind = [&](const wl_interface* i, uint32_t version) {
    return wl_registry_bind(registry, name, i, version);
  };
  if (std::strcmp(interface, wl_compositor_interface.name) == 0)
    Compositor = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 1));
  else if (std::strcmp(interface, wl_shm_interface.name) == 0)
    Shm = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
  else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0)
    Shell = static_cast<xdg_wm_base*>(bind(&xdg_wm_base_interface, 1));
  else if (std::strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0)
    Inhibitors = static_cast<zwp_idle_inhibit_manager_v1*>(
        bind(&zwp_idle_inhibit_manager_v1_interface, 1));
}
const wl_registry_listener kRegistryListener = {OnGlobal, [](void*, wl_registry*, uint32_t) {}};
const xdg_wm_base_listener kShellListener = {
    [](void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }};
const xdg_surface_listener kSurfaceListener = {[](void*, xdg_surface* s, uint32_t serial) {
  xdg_surface_ack_configure(s, serial);
  Configured = true;
}};

// A grey buffer of kSize x kSize.
wl_buffer* GreyBuffer() {
  const int stride = kSize * 4, bytes = stride * kSize;
  const int fd = memfd_create("idle_inhibitor", MFD_CLOEXEC);
  if (fd < 0 || ftruncate(fd, bytes) != 0) return nullptr;
  void* pixels = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (pixels == MAP_FAILED) return nullptr;
  std::memset(pixels, 0x80, bytes);
  munmap(pixels, bytes);
  wl_shm_pool* pool = wl_shm_create_pool(Shm, fd, bytes);
  wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, kSize, kSize, stride, WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  close(fd);
  return buffer;
}

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "idle_inhibitor: no compositor\n");
    return 1;
  }
  wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, nullptr);
  wl_display_roundtrip(display);
  if (!Compositor || !Shm || !Shell || !Inhibitors) {
    std::fprintf(stderr, "idle_inhibitor: the compositor offers no %s\n",
                 Inhibitors ? "wl_shm or xdg-shell" : "zwp_idle_inhibit_manager_v1");
    return 1;
  }
  xdg_wm_base_add_listener(Shell, &kShellListener, nullptr);
  wl_surface* surface = wl_compositor_create_surface(Compositor);
  xdg_surface* xdgSurface = xdg_wm_base_get_xdg_surface(Shell, surface);
  xdg_surface_add_listener(xdgSurface, &kSurfaceListener, nullptr);
  xdg_toplevel_set_title(xdg_surface_get_toplevel(xdgSurface), "idle inhibitor");
  wl_surface_commit(surface);
  while (!Configured && wl_display_dispatch(display) != -1) {
  }
  wl_buffer* buffer = GreyBuffer();
  if (!buffer) {
    std::perror("idle_inhibitor: buffer");
    return 1;
  }
  wl_surface_attach(surface, buffer, 0, 0);
  wl_surface_damage(surface, 0, 0, kSize, kSize);
  wl_surface_commit(surface);
  zwp_idle_inhibit_manager_v1_create_inhibitor(Inhibitors, surface);
  wl_display_roundtrip(display);
  std::puts("ready");
  std::fflush(stdout);
  while (wl_display_dispatch(display) != -1) {
  }
  return 0;
}
