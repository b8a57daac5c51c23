// How lumvia -daemon learns that the user has been idle: from the compositor
// (ext-idle-notify-v1, else org_kde_kwin_idle), or on GNOME from Mutter's idle
// monitor on the session bus. idle_watch.cpp holds the compositor's part and
// the wait, gnome_idle.cpp the bus's.
#pragma once

#include <signal.h>

#include <cstdint>

struct ext_idle_notification_v1;
struct ext_idle_notifier_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;
struct sd_bus;
struct sd_bus_slot;
struct wl_display;
struct wl_registry;
struct wl_seat;

// In the order they are asked for.
enum class IdleSource { None, ExtIdleNotify, KdeIdle, GnomeIdleMonitor };

struct IdleWatch {
  IdleSource source = IdleSource::None;
  // The compositor: kept for all of them, so that the daemon ends with it.
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  wl_seat* seat = nullptr;
  ext_idle_notifier_v1* notifier = nullptr;
  org_kde_kwin_idle* kdeIdle = nullptr;
  ext_idle_notification_v1* notification = nullptr;  // the wait under way
  org_kde_kwin_idle_timeout* kdeTimeout = nullptr;   // the wait under way
  // GNOME: the session bus and the idle monitor's watches of the wait.
  sd_bus* bus = nullptr;
  sd_bus_slot* fired = nullptr;  // its WatchFired signal
  uint32_t idleWatch = 0;
  uint32_t activeWatch = 0;
  bool activeCame = false;       // the active watch fired: the idle one counts afresh
  uint32_t waitMs = 0;
  bool idle = false;             // the wait under way has run its time
  bool lost = false;             // the compositor or the bus is gone
};

// The source's name, as the daemon's lines give it.
const char* IdleSourceName(IdleSource source);

// Connects to the compositor of $WAYLAND_DISPLAY and finds the first source
// of idle time the desktop offers. False, having said why in one line, when
// there is no compositor; with one, the source may be None.
bool OpenIdleWatch(IdleWatch& w);
void CloseIdleWatch(IdleWatch& w);

// Starts a wait: `idle` is set once there has been no input for ms, counted
// from now. An inhibitor the compositor knows of (zwp_idle_inhibitor_v1 on
// a visible surface) holds it back.
void ArmIdleWatch(IdleWatch& w, uint32_t ms);
void DisarmIdleWatch(IdleWatch& w);

// Waits until the compositor or the bus says something, or a signal that
// `mask` lets through comes, and handles what came.
void WaitForIdleEvents(IdleWatch& w, const sigset_t& mask);

// Whether the desktop's session manager keeps the screen on now (GNOME's
// inhibitors, which Mutter's idle monitor does not know of); false elsewhere.
bool IdleInhibited(IdleWatch& w);

// --- gnome_idle.cpp ----------------------------------------------------------------
// Whether Mutter's idle monitor answers on the session bus; keeps the bus if so.
bool OpenGnomeIdle(IdleWatch& w);
void CloseGnomeIdle(IdleWatch& w);
void ArmGnomeIdle(IdleWatch& w, uint32_t ms);
void DisarmGnomeIdle(IdleWatch& w);
// Handles what came on the bus; false when the bus is gone.
bool ProcessGnomeIdle(IdleWatch& w);
bool GnomeIdleInhibited(IdleWatch& w);
