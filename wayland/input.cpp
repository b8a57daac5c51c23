// The seat's keyboard and pointer: keys through xkbcommon to the key table,
// repeated as the compositor says, and the mouse rule of the full-screen
// saver: a pointer travel of more than 100 logical pixels, counted as
// abs(dx) + abs(dy) from where the pointer first appeared, closes it.
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
constexpr double kMouseMoveThreshold = 100.0;

struct Keys {
  xkb_context* context = nullptr;
  xkb_keymap* keymap = nullptr;
  xkb_state* state = nullptr;
  int32_t rate = 25;    // repeats a second; 0: no repeat
  int32_t delay = 600;  // ms before the first
  uint32_t held = 0;    // the key that repeats (evdev code + 8), 0 for none
  uint32_t nextRepeat = 0;
};
Keys K;

struct Pointer {
  Surface* on = nullptr;  // the surface it is over
  bool anchored = false;
  double anchorX = 0.0, anchorY = 0.0;  // where it first appeared, in the layout
};
Pointer P;

void Press(uint32_t code, bool pressed) {
  if (!K.state) return;
  const xkb_keysym_t keysym = xkb_state_key_get_one_sym(K.state, code);
  const bool alt = xkb_state_mod_name_is_active(K.state, XKB_MOD_NAME_ALT,
                                                XKB_STATE_MODS_EFFECTIVE) > 0;
  HandleKey(SaverState.Window, keysym, alt, pressed);
}

void ForgetKeymap() {
  xkb_state_unref(K.state);
  xkb_keymap_unref(K.keymap);
  K.state = nullptr;
  K.keymap = nullptr;
  K.held = 0;
}

void TakeKeymap(uint32_t format, int fd, uint32_t size) {
  ForgetKeymap();
  if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text != MAP_FAILED) {
      K.keymap = xkb_keymap_new_from_string(K.context, static_cast<const char*>(text),
                                            XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
      munmap(text, size);
    }
    if (K.keymap) K.state = xkb_state_new(K.keymap);
  }
  close(fd);
}

void OnKey(uint32_t key, uint32_t state) {
  const uint32_t code = key + 8;  // evdev codes are xkb's less 8
  const bool pressed = state == WL_KEYBOARD_KEY_STATE_PRESSED;
  Press(code, pressed);
  if (pressed && K.rate > 0 && K.keymap && xkb_keymap_key_repeats(K.keymap, code)) {
    K.held = code;
    K.nextRepeat = TickCount() + static_cast<uint32_t>(K.delay);
  } else if (!pressed && code == K.held) {
    K.held = 0;
  }
}

const wl_keyboard_listener kKeyboardListener = {
    [](void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
      TakeKeymap(format, fd, size);
    },
    [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
    [](void*, wl_keyboard*, uint32_t, wl_surface*) { K.held = 0; },
    [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) { OnKey(key, state); },
    [](void*, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
       uint32_t group) {
      if (K.state) xkb_state_update_mask(K.state, depressed, latched, locked, 0, 0, group);
    },
    [](void*, wl_keyboard*, int32_t rate, int32_t delay) {
      K.rate = rate;
      K.delay = delay;
    },
};

Surface* SurfaceOf(wl_surface* surface) {
  if (Wayland.window && Wayland.window->surface == surface) return Wayland.window.get();
  for (auto& o : Wayland.outputs)
    if (o->surface && o->surface->surface == surface) return o->surface.get();
  return nullptr;
}

// Where the pointer is in the layout of the outputs, from a place on the
// surface it is over.
void PointerAt(wl_fixed_t surfaceX, wl_fixed_t surfaceY) {
  if (!P.on || !P.on->output || !Wayland.fullScreen) return;
  const ScreenRect r = P.on->output->Rect();
  const double x = r.left + wl_fixed_to_double(surfaceX);
  const double y = r.top + wl_fixed_to_double(surfaceY);
  if (!P.anchored) {
    P.anchored = true;
    P.anchorX = x;
    P.anchorY = y;
  } else if (std::abs(x - P.anchorX) + std::abs(y - P.anchorY) > kMouseMoveThreshold) {
    SaverState.Closing = true;
  }
}

const wl_pointer_listener kPointerListener = {
    [](void*, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x,
       wl_fixed_t y) {
      P.on = SurfaceOf(surface);
      if (Wayland.fullScreen) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
      PointerAt(x, y);
    },
    [](void*, wl_pointer*, uint32_t, wl_surface*) { P.on = nullptr; },
    [](void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) { PointerAt(x, y); },
    // Clicks, the wheel and the rest do not end the saver.
    [](void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, int32_t) {},
    [](void*, wl_pointer*, uint32_t, int32_t) {},
};

void ReleaseKeyboard() {
  Release(Wayland.keyboard, wl_keyboard_release, wl_keyboard_destroy,
          WL_KEYBOARD_RELEASE_SINCE_VERSION);
  ForgetKeymap();
}

void ReleasePointer() {
  Release(Wayland.pointer, wl_pointer_release, wl_pointer_destroy, WL_POINTER_RELEASE_SINCE_VERSION);
  P.on = nullptr;
}

const wl_seat_listener kSeatListener = {
    [](void*, wl_seat* seat, uint32_t capabilities) {
      if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !Wayland.keyboard) {
        Wayland.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(Wayland.keyboard, &kKeyboardListener, nullptr);
      } else if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD)) {
        ReleaseKeyboard();
      }
      if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && !Wayland.pointer) {
        Wayland.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(Wayland.pointer, &kPointerListener, nullptr);
      } else if (!(capabilities & WL_SEAT_CAPABILITY_POINTER)) {
        ReleasePointer();
      }
    },
    [](void*, wl_seat*, const char*) {},
};

}  // namespace

void AddSeat(uint32_t name, uint32_t version) {
  if (Wayland.seat) return;  // the first seat is the user's
  if (!K.context) K.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  Wayland.seat = static_cast<wl_seat*>(
      wl_registry_bind(Wayland.registry, name, &wl_seat_interface, std::min(version, kSeatVersion)));
  wl_seat_add_listener(Wayland.seat, &kSeatListener, nullptr);
}

uint32_t RepeatKeys(uint32_t ms) {
  if (!K.held) return ms;
  const int32_t due = static_cast<int32_t>(K.nextRepeat - TickCount());
  if (due > 0) return std::min(ms, static_cast<uint32_t>(due));
  Press(K.held, true);
  const uint32_t interval = static_cast<uint32_t>(1000 / std::max(K.rate, 1));
  K.nextRepeat = TickCount() + interval;
  return std::min(ms, interval);
}

void CloseInput() {
  ReleaseKeyboard();
  ReleasePointer();
  Release(Wayland.seat, wl_seat_release, wl_seat_destroy, WL_SEAT_RELEASE_SINCE_VERSION);
  xkb_context_unref(K.context);
  K.context = nullptr;
}
