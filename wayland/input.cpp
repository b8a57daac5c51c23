// The seat's keyboard and pointer: keys through xkbcommon to the key table,
// repeated as the compositor says, and the mouse rule of the full-screen
// saver: a pointer travel of more than 100 logical pixels, counted as
// abs(dx) + abs(dy) from where the pointer first appeared, closes it. When
// the outputs change the compositor puts the pointer elsewhere: where it
// appears then is where its travel counts from.
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cmath>

#include "core/saver_state.h"
#include "linux_program/keys.h"
#include "platform/platform.h"
#include "wayland/desktop.h"

namespace {

constexpr uint32_t kSeatVersion = 5;

void Press(Desktop& d, uint32_t code, bool pressed) {
  if (!d.keys.state) return;
  const xkb_keysym_t keysym = xkb_state_key_get_one_sym(d.keys.state, code);
  const bool alt = xkb_state_mod_name_is_active(d.keys.state, XKB_MOD_NAME_ALT,
                                                XKB_STATE_MODS_EFFECTIVE) > 0;
  HandleKey(SaverState.Window, keysym, alt, pressed);
}

void ForgetKeymap(Keys& k) {
  xkb_state_unref(k.state);
  xkb_keymap_unref(k.keymap);
  k.state = nullptr;
  k.keymap = nullptr;
  k.held = 0;
}

// --- The keyboard ---------------------------------------------------------------
void OnKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
  Keys& k = static_cast<Desktop*>(data)->keys;
  ForgetKeymap(k);
  if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text != MAP_FAILED) {
      k.keymap = xkb_keymap_new_from_string(k.context, static_cast<const char*>(text),
                                            XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
      munmap(text, size);
    }
    if (k.keymap) k.state = xkb_state_new(k.keymap);
  }
  close(fd);
}
void OnKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void OnKeyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface*) {
  static_cast<Desktop*>(data)->keys.held = 0;
}
void OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
  Desktop& d = *static_cast<Desktop*>(data);
  Keys& k = d.keys;
  const uint32_t code = key + 8;  // evdev codes are xkb's less 8
  const bool pressed = state == WL_KEYBOARD_KEY_STATE_PRESSED;
  Press(d, code, pressed);
  if (pressed && k.rate > 0 && k.keymap && xkb_keymap_key_repeats(k.keymap, code)) {
    k.held = code;
    k.nextRepeat = TickCount() + static_cast<uint32_t>(k.delay);
  } else if (!pressed && code == k.held) {
    k.held = 0;
  }
}
void OnModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                 uint32_t locked, uint32_t group) {
  Keys& k = static_cast<Desktop*>(data)->keys;
  if (k.state) xkb_state_update_mask(k.state, depressed, latched, locked, 0, 0, group);
}
void OnRepeatInfo(void* data, wl_keyboard*, int32_t rate, int32_t delay) {
  Keys& k = static_cast<Desktop*>(data)->keys;
  k.rate = rate;
  k.delay = delay;
}
const wl_keyboard_listener kKeyboardListener = {OnKeymap, OnKeyboardEnter, OnKeyboardLeave,
                                                OnKey,    OnModifiers,     OnRepeatInfo};

// --- The pointer ----------------------------------------------------------------
Surface* SurfaceOf(Desktop& d, wl_surface* surface) {
  if (d.window && d.window->surface == surface) return d.window.get();
  for (auto& o : d.outputs)
    if (o->surface && o->surface->surface == surface) return o->surface.get();
  return nullptr;
}

// Where the pointer is in the layout of the outputs, from a place on the
// surface it is over. It enters a surface as often as it moves: Sway, hiding
// the cursor after a while, takes it off the surface, and it enters again as
// it moves, with no motion between. The place of an enter may be stale
// (Mutter gives one from before the pointer's last move), so where the
// travel counts from an enter, the first motion after it counts anew.
void PointerAt(Desktop& d, wl_fixed_t surfaceX, wl_fixed_t surfaceY, bool entered) {
  Pointer& p = d.mouse;
  if (!p.on || !p.on->output || !d.fullScreen) return;
  const ScreenRect r = p.on->output->Rect();
  const double x = r.left + wl_fixed_to_double(surfaceX);
  const double y = r.top + wl_fixed_to_double(surfaceY);
  if (!p.anchored || (p.anchoredOnEnter && !entered)) {
    p.anchored = true;
    p.anchoredOnEnter = entered;
    p.anchorX = x;
    p.anchorY = y;
  } else if (std::abs(x - p.anchorX) + std::abs(y - p.anchorY) > MouseMoveThreshold) {
    AskToClose();
  }
}

// Where the pointer enters a surface that shows no frame yet is the
// compositor's idea of a place the surface had before it was made full
// screen (Mutter): the pointer's next motion says where it is.
void OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface,
                    wl_fixed_t x, wl_fixed_t y) {
  Desktop& d = *static_cast<Desktop*>(data);
  d.mouse.on = SurfaceOf(d, surface);
  if (d.fullScreen) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
  if (d.mouse.on && d.mouse.on->shown) PointerAt(d, x, y, true);
}
void OnPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) {
  static_cast<Desktop*>(data)->mouse.on = nullptr;
}
void OnMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
  PointerAt(*static_cast<Desktop*>(data), x, y, false);
}
// Clicks, the wheel and the rest do not end the saver.
void OnButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void OnAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void OnPointerFrame(void*, wl_pointer*) {}
void OnAxisSource(void*, wl_pointer*, uint32_t) {}
void OnAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void OnAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
void OnAxisValue120(void*, wl_pointer*, uint32_t, int32_t) {}
const wl_pointer_listener kPointerListener = {
    OnPointerEnter, OnPointerLeave, OnMotion,   OnButton,       OnAxis,
    OnPointerFrame, OnAxisSource,   OnAxisStop, OnAxisDiscrete, OnAxisValue120};

void ReleaseKeyboard(Desktop& d) {
  Release(d.keyboard, wl_keyboard_release, wl_keyboard_destroy, WL_KEYBOARD_RELEASE_SINCE_VERSION);
  ForgetKeymap(d.keys);
}

void ReleasePointer(Desktop& d) {
  Release(d.pointer, wl_pointer_release, wl_pointer_destroy, WL_POINTER_RELEASE_SINCE_VERSION);
  d.mouse.on = nullptr;
}

// --- The seat -------------------------------------------------------------------
void OnCapabilities(void* data, wl_seat* seat, uint32_t capabilities) {
  Desktop& d = *static_cast<Desktop*>(data);
  if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !d.keyboard) {
    d.keyboard = wl_seat_get_keyboard(seat);
    wl_keyboard_add_listener(d.keyboard, &kKeyboardListener, &d);
  } else if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD)) {
    ReleaseKeyboard(d);
  }
  if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && !d.pointer) {
    d.pointer = wl_seat_get_pointer(seat);
    wl_pointer_add_listener(d.pointer, &kPointerListener, &d);
  } else if (!(capabilities & WL_SEAT_CAPABILITY_POINTER)) {
    ReleasePointer(d);
  }
}
void OnSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {OnCapabilities, OnSeatName};

}  // namespace

void AddSeat(Desktop& d, uint32_t name, uint32_t version) {
  if (d.seat) return;  // the first seat is the user's
  if (!d.keys.context) d.keys.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  d.seat = Bind<wl_seat>(d, name, &wl_seat_interface, version, kSeatVersion);
  wl_seat_add_listener(d.seat, &kSeatListener, &d);
}

uint32_t RepeatKeys(Desktop& d, uint32_t ms) {
  Keys& k = d.keys;
  if (!k.held) return ms;
  const int32_t due = static_cast<int32_t>(k.nextRepeat - TickCount());
  if (due > 0) return std::min(ms, static_cast<uint32_t>(due));
  Press(d, k.held, true);
  const uint32_t interval = static_cast<uint32_t>(1000 / std::max(k.rate, 1));
  k.nextRepeat = TickCount() + interval;
  return std::min(ms, interval);
}

void AnchorPointerAnew(Desktop& d) { d.mouse.anchored = false; }

void ForgetPointerOn(Desktop& d, const Surface& s) {
  if (d.mouse.on == &s) d.mouse.on = nullptr;
}

void CloseInput(Desktop& d) {
  ReleaseKeyboard(d);
  ReleasePointer(d);
  Release(d.seat, wl_seat_release, wl_seat_destroy, WL_SEAT_RELEASE_SINCE_VERSION);
  xkb_context_unref(d.keys.context);
  d.keys.context = nullptr;
}
