// GNOME's idle time: Mutter's idle monitor on the session bus (Mutter offers
// no idle protocol to Wayland clients), and the session manager's inhibitors.
#include <systemd/sd-bus.h>

#include <cstdio>

#include "daemon/idle_watch.h"

namespace {

constexpr const char* kMonitor = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kMonitorPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* kSessionManager = "org.gnome.SessionManager";
constexpr const char* kSessionManagerPath = "/org/gnome/SessionManager";
constexpr uint32_t kInhibitIdle = 8;  // GSM_INHIBITOR_FLAG_IDLE
// A session manager that does not answer in this time counts as none.
constexpr uint64_t kAnswerTimeoutUs = 2000000;

// Calls a method of the idle monitor; its one answer of type `answer` goes to
// *value. False when the call fails.
template <typename Value>
bool CallMonitor(IdleWatch& w, const char* method, const char* answer, Value* value,
                 const char* types = nullptr, auto... arguments) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  bool ok = sd_bus_call_method(w.bus, kMonitor, kMonitorPath, kMonitor, method, &error, &reply,
                               types, arguments...) >= 0;
  if (ok && answer) ok = sd_bus_message_read(reply, answer, value) >= 0;
  sd_bus_message_unref(reply);
  sd_bus_error_free(&error);
  return ok;
}

void RemoveWatch(IdleWatch& w, uint32_t& watch) {
  if (watch) CallMonitor<void>(w, "RemoveWatch", nullptr, nullptr, "u", watch);
  watch = 0;
}

int OnWatchFired(sd_bus_message* message, void* data, sd_bus_error*) {
  IdleWatch& w = *static_cast<IdleWatch*>(data);
  uint32_t id = 0;
  if (sd_bus_message_read(message, "u", &id) < 0 || id == 0) return 0;
  if (id == w.idleWatch) w.idle = true;
  if (id == w.activeWatch) {
    w.activeWatch = 0;  // Mutter ends an active watch once it fires
    w.activeCame = true;
  }
  return 0;
}

}  // namespace

bool OpenGnomeIdle(IdleWatch& w) {
  uint64_t idleMs = 0;
  if (sd_bus_open_user(&w.bus) >= 0 && CallMonitor(w, "GetIdletime", "t", &idleMs) &&
      sd_bus_match_signal(w.bus, &w.fired, nullptr, kMonitorPath, kMonitor, "WatchFired",
                          OnWatchFired, &w) >= 0)
    return true;
  CloseGnomeIdle(w);
  return false;
}

void CloseGnomeIdle(IdleWatch& w) {
  w.fired = sd_bus_slot_unref(w.fired);
  w.bus = sd_bus_flush_close_unref(w.bus);
}

// Mutter's watch counts from the user's last input, not from now: a wait
// begun while the user is idle already (after a saver that failed) asks for
// the idle time so far and ms more, and for ms alone once input comes.
void ArmGnomeIdle(IdleWatch& w, uint32_t ms) {
  uint64_t idleMs = 0;
  CallMonitor(w, "GetIdletime", "t", &idleMs);
  w.waitMs = ms;
  CallMonitor(w, "AddIdleWatch", "u", &w.idleWatch, "t", idleMs + ms);
  CallMonitor(w, "AddUserActiveWatch", "u", &w.activeWatch);
}

void DisarmGnomeIdle(IdleWatch& w) {
  RemoveWatch(w, w.idleWatch);
  RemoveWatch(w, w.activeWatch);
  w.activeCame = false;
}

bool ProcessGnomeIdle(IdleWatch& w) {
  int status;
  while ((status = sd_bus_process(w.bus, nullptr)) > 0) {
  }
  if (w.activeCame && !w.idle) {
    w.activeCame = false;
    RemoveWatch(w, w.idleWatch);
    CallMonitor(w, "AddIdleWatch", "u", &w.idleWatch, "t", uint64_t{w.waitMs});
  }
  return status >= 0;
}

bool GnomeIdleInhibited(IdleWatch& w) {
  sd_bus_message* call = nullptr;
  sd_bus_message* reply = nullptr;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  int inhibited = 0;
  // Not started for the question: no session manager, no inhibitors.
  if (sd_bus_message_new_method_call(w.bus, &call, kSessionManager, kSessionManagerPath,
                                     kSessionManager, "IsInhibited") >= 0 &&
      sd_bus_message_set_auto_start(call, 0) >= 0 &&
      sd_bus_message_append(call, "u", kInhibitIdle) >= 0 &&
      sd_bus_call(w.bus, call, kAnswerTimeoutUs, &error, &reply) >= 0)
    sd_bus_message_read(reply, "b", &inhibited);
  sd_bus_message_unref(reply);
  sd_bus_message_unref(call);
  sd_bus_error_free(&error);
  return inhibited != 0;
}
