// Keysyms as the virtual keys the keyboard controls take: X and Wayland's
// xkbcommon give a key the same keysym, so both front ends read this table.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The virtual key of a keysym (as XLookupString or xkbcommon give it, so the
// keypad digits with Num Lock on and its navigation keys with Num Lock off),
// for the keys that Windows would give the keyboard controls an action for.
// Any other key gives 0, which has no action, so that in the saver it ends
// the saver as every such key does.
uintptr_t VirtualKeyOf(unsigned long keysym);

// Keys pressed with Alt, Alt itself, and F10: on Windows these come as system
// keys, which never reach the keyboard controls, so they do nothing here too.
bool IsSystemKey(unsigned long keysym, bool altHeld);

// A key pressed or released in a window whose keys steer the view, handed to
// the keyboard controls as its virtual key; system keys are left out.
void HandleKey(WindowHandle window, unsigned long keysym, bool altHeld, bool pressed);
