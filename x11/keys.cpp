// X keysyms as the virtual keys the keyboard controls take.
#include "x11/keys.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include "platform/messages.h"

uintptr_t VirtualKeyOf(unsigned long keysym) {
  if (keysym >= XK_F1 && keysym <= XK_F12) return vk::F1 + (keysym - XK_F1);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return vk::Numpad0 + (keysym - XK_KP_0);
  switch (keysym) {
    case XK_BackSpace: return vk::Back;
    case XK_Return:
    case XK_KP_Enter: return vk::Return;
    case XK_Escape: return vk::Escape;
    case XK_Prior:
    case XK_KP_Prior: return vk::Prior;
    case XK_Next:
    case XK_KP_Next: return vk::Next;
    case XK_Home:
    case XK_KP_Home: return vk::Home;
    case XK_Left:
    case XK_KP_Left: return vk::Left;
    case XK_Up:
    case XK_KP_Up: return vk::Up;
    case XK_Right:
    case XK_KP_Right: return vk::Right;
    case XK_Down:
    case XK_KP_Down: return vk::Down;
    case XK_space: return vk::Space;
    case XK_Shift_L:
    case XK_Shift_R: return vk::Shift;
    case XK_Control_L:
    case XK_Control_R: return vk::Control;
    default: return 0;
  }
}

bool IsSystemKey(unsigned long keysym, unsigned modifiers) {
  return (modifiers & Mod1Mask) || keysym == XK_F10 || keysym == XK_Alt_L || keysym == XK_Alt_R ||
         keysym == XK_Meta_L || keysym == XK_Meta_R;
}
