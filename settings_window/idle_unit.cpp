// The unit of `lumvia -daemon` through systemd's user manager, as
// `systemctl --user enable --now` and `disable --now` would do it.
#include "settings_window/idle_unit.h"

#include <gio/gio.h>

#include <span>

namespace {

constexpr const char* kUnit = "lumvia.service";
constexpr int kPatience = 10000;  // ms for each call

// One call to the manager; its reply (to be unreferenced), or null with the
// reason in *why.
GVariant* CallManager(GDBusConnection* bus, const char* method, GVariant* parameters,
                      std::string* why) {
  GError* error = nullptr;
  GVariant* reply =
      g_dbus_connection_call_sync(bus, "org.freedesktop.systemd1", "/org/freedesktop/systemd1",
                                  "org.freedesktop.systemd1.Manager", method, parameters, nullptr,
                                  G_DBUS_CALL_FLAGS_NONE, kPatience, nullptr, &error);
  if (!reply && why) {
    g_dbus_error_strip_remote_error(error);
    *why = std::string(method) + ": " + error->message;
  }
  if (error) g_error_free(error);
  return reply;
}

GVariant* OneUnit() {
  const char* units[] = {kUnit};
  return g_variant_new_strv(units, 1);
}

// The calls that turn the unit on and off, in order. The manager reads the
// changed links of its unit files only when reloaded.
struct Step {
  const char* method;
  GVariant* (*parameters)();
};
GVariant* NoParameters() { return nullptr; }
GVariant* UnitAndMode() { return g_variant_new("(ss)", kUnit, "replace"); }
constexpr Step kTurnOn[] = {
    {"EnableUnitFiles", [] { return g_variant_new("(@asbb)", OneUnit(), FALSE, FALSE); }},
    {"Reload", NoParameters},
    {"StartUnit", UnitAndMode},
};
constexpr Step kTurnOff[] = {
    {"StopUnit", UnitAndMode},
    {"DisableUnitFiles", [] { return g_variant_new("(@asb)", OneUnit(), FALSE); }},
    {"Reload", NoParameters},
};

GDBusConnection* SessionBus(std::string* why) {
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  if (!bus) {
    if (why) *why = std::string("no session bus: ") + error->message;
    g_error_free(error);
  }
  return bus;
}

}  // namespace

IdleUnit ReadIdleUnit() {
  GDBusConnection* bus = SessionBus(nullptr);
  if (!bus) return IdleUnit::Missing;
  IdleUnit state = IdleUnit::Missing;
  if (GVariant* reply =
          CallManager(bus, "GetUnitFileState", g_variant_new("(s)", kUnit), nullptr)) {
    const char* text = nullptr;
    g_variant_get(reply, "(&s)", &text);
    state = g_str_has_prefix(text, "enabled") ? IdleUnit::On : IdleUnit::Off;
    g_variant_unref(reply);
  }
  g_object_unref(bus);
  return state;
}

bool TurnIdleUnit(bool on, std::string* why) {
  GDBusConnection* bus = SessionBus(why);
  if (!bus) return false;
  bool done = true;
  for (const Step& step : on ? std::span<const Step>(kTurnOn) : std::span<const Step>(kTurnOff)) {
    GVariant* reply = CallManager(bus, step.method, step.parameters(), why);
    if (!reply) {
      done = false;
      break;
    }
    g_variant_unref(reply);
  }
  g_object_unref(bus);
  return done;
}
