// Keysyms as the virtual keys the keyboard controls take.
#include "linux_program/keys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include "controls/view_keys.h"
#include "platform/messages.h"

uintptr_t VirtualKeyOf(unsigned long keysym) {
  if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F12) return vk::F1 + (keysym - XKB_KEY_F1);
  if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9) return vk::Numpad0 + (keysym - XKB_KEY_KP_0);
  switch (keysym) {
    case XKB_KEY_BackSpace: return vk::Back;
    case XKB_KEY_Return:
    case XKB_KEY_KP_Enter: return vk::Return;
    case XKB_KEY_Escape: return vk::Escape;
    case XKB_KEY_Prior:
    case XKB_KEY_KP_Prior: return vk::Prior;
    case XKB_KEY_Next:
    case XKB_KEY_KP_Next: return vk::Next;
    case XKB_KEY_Home:
    case XKB_KEY_KP_Home: return vk::Home;
    case XKB_KEY_Left:
    case XKB_KEY_KP_Left: return vk::Left;
    case XKB_KEY_Up:
    case XKB_KEY_KP_Up: return vk::Up;
    case XKB_KEY_Right:
    case XKB_KEY_KP_Right: return vk::Right;
    case XKB_KEY_Down:
    case XKB_KEY_KP_Down: return vk::Down;
    default: return 0;
  }
}

bool IsSystemKey(unsigned long keysym, bool altHeld) {
  return altHeld || keysym == XKB_KEY_F10 || keysym == XKB_KEY_Alt_L || keysym == XKB_KEY_Alt_R ||
         keysym == XKB_KEY_Meta_L || keysym == XKB_KEY_Meta_R;
}

void HandleKey(WindowHandle window, unsigned long keysym, bool altHeld, bool pressed) {
  if (pressed && !IsSystemKey(keysym, altHeld)) PressViewKey(window, VirtualKeyOf(keysym));
}
