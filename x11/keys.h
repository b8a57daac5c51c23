// X keysyms as the virtual keys the keyboard controls take.
#pragma once

#include <cstdint>

// The virtual key of a keysym (as XLookupString gives it, so the keypad
// digits with Num Lock on and its navigation keys with Num Lock off). A key
// without a virtual key of its own gives 0, which has no action, so that in
// the saver it ends the saver as any other such key does.
uintptr_t VirtualKeyOf(unsigned long keysym);

// Keys pressed with Alt, Alt itself, and F10: on Windows these come as system
// keys, which never reach the keyboard controls, so they do nothing here too.
bool IsSystemKey(unsigned long keysym, unsigned modifiers);
