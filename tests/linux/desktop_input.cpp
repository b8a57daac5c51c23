// A keyboard and a pointer for a headless compositor that has no input
// devices, through what it offers for that:
//
//   desktop_input kwin     KWin's org_kde_kwin_fake_input
//   desktop_input mutter   Mutter's RemoteDesktop on the session bus
//
// The devices are there from its start ("ready" on standard output) until
// standard input ends, so that clients have bound them before they are
// used. Each line of standard input is "key CODE..." (Linux key codes, 1 Esc,
// 104 Page Up: each pressed and released) or "move DX DY" (the pointer, by
// that many logical pixels); "done N" follows the Nth once the compositor
// has its events.
#include <systemd/sd-bus.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake-input-client-protocol.h"

namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "desktop_input: %s\n", why.c_str());
  return 1;
}

// --- KWin -------------------------------------------------------------------------
org_kde_kwin_fake_input* FakeInput = nullptr;

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0)
    FakeInput = static_cast<org_kde_kwin_fake_input*>(
        wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

// The device is made by the first request.
struct KWinDevices {
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;

  bool Open() {
    display = wl_display_connect(nullptr);
    if (!display) return false;
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (!FakeInput) return false;
    org_kde_kwin_fake_input_authenticate(FakeInput, "lumvia tests", "keys and a pointer for the tests");
    org_kde_kwin_fake_input_pointer_motion(FakeInput, 0, 0);
    return wl_display_roundtrip(display) >= 0;
  }
  bool Send(const std::string& what, const std::vector<double>& values) {
    if (what == "key") {
      for (double code : values) {
        org_kde_kwin_fake_input_keyboard_key(FakeInput, static_cast<uint32_t>(code), 1);
        org_kde_kwin_fake_input_keyboard_key(FakeInput, static_cast<uint32_t>(code), 0);
      }
    } else {
      org_kde_kwin_fake_input_pointer_motion(FakeInput, wl_fixed_from_double(values[0]),
                                             wl_fixed_from_double(values[1]));
    }
    return wl_display_roundtrip(display) >= 0;
  }
  ~KWinDevices() {
    if (FakeInput) org_kde_kwin_fake_input_destroy(FakeInput);
    if (registry) wl_registry_destroy(registry);
    if (display) wl_display_disconnect(display);
  }
};

// --- Mutter -----------------------------------------------------------------------
constexpr const char* kRemoteDesktop = "org.gnome.Mutter.RemoteDesktop";
constexpr const char* kSession = "org.gnome.Mutter.RemoteDesktop.Session";

struct MutterDevices {
  sd_bus* bus = nullptr;
  sd_bus_message* reply = nullptr;
  const char* path = nullptr;  // the session's, in the reply

  bool Call(const char* method, const char* types, auto... arguments) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const bool ok = sd_bus_call_method(bus, kRemoteDesktop, path, kSession, method, &error,
                                       nullptr, types, arguments...) >= 0;
    if (!ok) Fail(std::string(method) + ": " + (error.message ? error.message : "failed"));
    sd_bus_error_free(&error);
    return ok;
  }
  bool Open() {
    if (sd_bus_open_user(&bus) < 0) return false;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const bool made = sd_bus_call_method(bus, kRemoteDesktop, "/org/gnome/Mutter/RemoteDesktop",
                                         kRemoteDesktop, "CreateSession", &error, &reply, "") >= 0 &&
                      sd_bus_message_read(reply, "o", &path) >= 0;
    sd_bus_error_free(&error);
    // A key and a motion of nothing make both devices.
    return made && Call("Start", "") && Call("NotifyKeyboardKeycode", "ub", 42u, 1) &&
           Call("NotifyKeyboardKeycode", "ub", 42u, 0) &&
           Call("NotifyPointerMotionRelative", "dd", 0.0, 0.0);
  }
  bool Send(const std::string& what, const std::vector<double>& values) {
    bool ok = true;
    if (what == "key") {
      for (double code : values)
        ok = ok && Call("NotifyKeyboardKeycode", "ub", static_cast<uint32_t>(code), 1) &&
             Call("NotifyKeyboardKeycode", "ub", static_cast<uint32_t>(code), 0);
    } else {
      ok = Call("NotifyPointerMotionRelative", "dd", values[0], values[1]);
    }
    return ok;
  }
  ~MutterDevices() {
    if (path) Call("Stop", "");
    sd_bus_message_unref(reply);
    sd_bus_flush_close_unref(bus);
  }
};

// Reads the commands and hands each to the devices.
template <typename Devices>
int Run(Devices& devices) {
  if (!devices.Open()) return Fail("the compositor gives no input devices");
  std::puts("ready");
  std::fflush(stdout);
  char line[256];
  for (int n = 1; std::fgets(line, sizeof line, stdin); ++n) {
    char what[16] = "";
    int used = 0;
    if (std::sscanf(line, "%15s%n", what, &used) != 1) continue;
    std::vector<double> values;
    for (char* at = line + used;;) {
      char* end = nullptr;
      const double value = std::strtod(at, &end);
      if (end == at) break;
      values.push_back(value);
      at = end;
    }
    const std::string command = what;
    if ((command != "key" && command != "move") || (command == "move" && values.size() != 2))
      return Fail("not a command: " + std::string(line));
    if (!devices.Send(command, values)) return 1;
    std::printf("done %d\n", n);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string compositor = argc == 2 ? argv[1] : "";
  if (compositor == "kwin") {
    KWinDevices devices;
    return Run(devices);
  }
  if (compositor == "mutter") {
    MutterDevices devices;
    return Run(devices);
  }
  return Fail("usage: desktop_input kwin|mutter, with commands on standard input");
}
