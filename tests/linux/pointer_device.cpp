// A pointer for a compositor that has no input devices (the headless test
// bed): a virtual pointer on the compositor's seat, through the wlroots
// virtual-pointer protocol. The test then
// moves the seat's cursor; clients see a pointer as they would a mouse. It
// stays until it is ended or the compositor goes.
// The protocol is not among Debian's wayland-protocols: its two requests
// used here are described by hand.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

namespace {

const wl_interface kVirtualPointer = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kVirtualPointer};
const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", kCreateTypes},
    {"destroy", "", nullptr},
};
const wl_interface kManager = {"zwlr_virtual_pointer_manager_v1", 1, 2, kManagerRequests, 0,
                               nullptr};

wl_seat* Seat = nullptr;
wl_proxy* Manager = nullptr;

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !Seat)
    Seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  else if (std::strcmp(interface, kManager.name) == 0)
    Manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManager, 1));
}
const wl_registry_listener kRegistryListener = {OnGlobal, [](void*, wl_registry*, uint32_t) {}};

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "pointer_device: no compositor\n");
    return 1;
  }
  wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, nullptr);
  wl_display_roundtrip(display);
  if (!Seat || !Manager) {
    std::fprintf(stderr, "pointer_device: the compositor has no seat or no virtual pointers\n");
    return 1;
  }
  wl_proxy_marshal_constructor(Manager, 0, &kVirtualPointer, Seat, nullptr);
  wl_display_roundtrip(display);
  std::puts("ready");
  std::fflush(stdout);
  while (wl_display_dispatch(display) != -1) {
  }
  wl_display_disconnect(display);
  return 0;
}
