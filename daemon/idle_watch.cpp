// The idle time from the compositor's protocols, and the daemon's one wait
// over the compositor's connection and the session bus.
#include "daemon/idle_watch.h"

#include <poll.h>
#include <systemd/sd-bus.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"
#include "platform/say.h"

namespace {

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  IdleWatch& w = *static_cast<IdleWatch*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !w.seat)
    w.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
    w.notifier = static_cast<ext_idle_notifier_v1*>(
        wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
  else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
    w.kdeIdle = static_cast<org_kde_kwin_idle*>(
        wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

// Both protocols say "idle" once and "resumed" after it; the daemon ends the
// wait at the first, so the second is not needed.
void OnIdle(void* data, auto*) { static_cast<IdleWatch*>(data)->idle = true; }
void OnResumed(void*, auto*) {}
const ext_idle_notification_v1_listener kNotificationListener = {OnIdle, OnResumed};
const org_kde_kwin_idle_timeout_listener kTimeoutListener = {OnIdle, OnResumed};

}  // namespace

const char* IdleSourceName(IdleSource source) {
  switch (source) {
    case IdleSource::ExtIdleNotify: return "ext-idle-notify-v1";
    case IdleSource::KdeIdle: return "org_kde_kwin_idle";
    case IdleSource::GnomeIdleMonitor: return "GNOME's idle monitor (org.gnome.Mutter.IdleMonitor)";
    case IdleSource::None: break;
  }
  return "none";
}

bool OpenIdleWatch(IdleWatch& w) {
  w.display = wl_display_connect(nullptr);
  if (!w.display) {
    Say("cannot connect to the Wayland compositor \"%s\"", std::getenv("WAYLAND_DISPLAY"));
    return false;
  }
  w.registry = wl_display_get_registry(w.display);
  wl_registry_add_listener(w.registry, &kRegistryListener, &w);
  wl_display_roundtrip(w.display);
  // The protocols tell of a seat's input: without a seat there is none to tell.
  if (w.seat && w.notifier)
    w.source = IdleSource::ExtIdleNotify;
  else if (w.seat && w.kdeIdle)
    w.source = IdleSource::KdeIdle;
  else if (OpenGnomeIdle(w))
    w.source = IdleSource::GnomeIdleMonitor;
  return true;
}

void CloseIdleWatch(IdleWatch& w) {
  DisarmIdleWatch(w);
  CloseGnomeIdle(w);
  if (w.notifier) ext_idle_notifier_v1_destroy(w.notifier);
  if (w.kdeIdle) org_kde_kwin_idle_destroy(w.kdeIdle);
  if (w.seat) wl_seat_destroy(w.seat);
  if (w.registry) wl_registry_destroy(w.registry);
  if (w.display) wl_display_disconnect(w.display);
  w = IdleWatch{};
}

void ArmIdleWatch(IdleWatch& w, uint32_t ms) {
  DisarmIdleWatch(w);
  switch (w.source) {
    case IdleSource::ExtIdleNotify:
      w.notification = ext_idle_notifier_v1_get_idle_notification(w.notifier, ms, w.seat);
      ext_idle_notification_v1_add_listener(w.notification, &kNotificationListener, &w);
      break;
    case IdleSource::KdeIdle:
      w.kdeTimeout = org_kde_kwin_idle_get_idle_timeout(w.kdeIdle, w.seat, ms);
      org_kde_kwin_idle_timeout_add_listener(w.kdeTimeout, &kTimeoutListener, &w);
      break;
    case IdleSource::GnomeIdleMonitor: ArmGnomeIdle(w, ms); break;
    case IdleSource::None: break;
  }
}

void DisarmIdleWatch(IdleWatch& w) {
  w.idle = false;
  if (w.notification) ext_idle_notification_v1_destroy(w.notification);
  if (w.kdeTimeout) org_kde_kwin_idle_timeout_release(w.kdeTimeout);
  w.notification = nullptr;
  w.kdeTimeout = nullptr;
  if (w.source == IdleSource::GnomeIdleMonitor) DisarmGnomeIdle(w);
}

void WaitForIdleEvents(IdleWatch& w, const sigset_t& mask) {
  // What came already (the bus keeps what came with the last calls' answers)
  // is handled first: it may be the end of the wait.
  if (w.bus && !ProcessGnomeIdle(w)) w.lost = true;
  while (wl_display_prepare_read(w.display) != 0)
    if (wl_display_dispatch_pending(w.display) < 0) {
      w.lost = true;
      return;
    }
  if (w.idle || w.lost) {
    wl_display_cancel_read(w.display);
    return;
  }
  wl_display_flush(w.display);
  pollfd fds[2] = {{wl_display_get_fd(w.display), POLLIN, 0}, {-1, 0, 0}};
  timespec busTimeout{};
  const timespec* timeout = nullptr;  // none: until something comes
  if (w.bus) {
    fds[1] = {sd_bus_get_fd(w.bus), static_cast<short>(sd_bus_get_events(w.bus)), 0};
    uint64_t at = 0;  // µs of CLOCK_MONOTONIC, or UINT64_MAX for none
    if (sd_bus_get_timeout(w.bus, &at) > 0 && at != UINT64_MAX) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      const uint64_t nowUs = now.tv_sec * 1000000ull + now.tv_nsec / 1000;
      const uint64_t left = at > nowUs ? at - nowUs : 0;
      busTimeout = {static_cast<time_t>(left / 1000000), static_cast<long>(left % 1000000 * 1000)};
      timeout = &busTimeout;
    }
  }
  if (ppoll(fds, w.bus ? 2 : 1, timeout, &mask) > 0 && (fds[0].revents & POLLIN))
    wl_display_read_events(w.display);
  else
    wl_display_cancel_read(w.display);
  if (wl_display_dispatch_pending(w.display) < 0 || wl_display_get_error(w.display) != 0 ||
      (fds[0].revents & (POLLHUP | POLLERR)) || (w.bus && !ProcessGnomeIdle(w)))
    w.lost = true;
}

bool IdleInhibited(IdleWatch& w) {
  return w.source == IdleSource::GnomeIdleMonitor && GnomeIdleInhibited(w);
}
