// Keyboard steering of the live view: zoom, pan, rotate, speed, next or
// previous module, default view, the control menu, the parameter display and
// leaving the saver. One table holds each key, what it does and its line in
// the control menu.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/platform.h"

// Which of the control menu's two texts lists a key.
enum class MenuText : uint8_t { Keys, Modules };

struct ViewKey {
  uintptr_t key;     // its virtual key
  uintptr_t keypad;  // the keypad key that does the same with Num Lock on, or 0
  void (*action)(WindowHandle window);
  // Its line in the control menu; none for a key that shares the line of the
  // key before it, or that the menu does not list.
  const char* line;
  MenuText text = MenuText::Keys;
};

// The keys in the order the control menu lists them.
std::span<const ViewKey> ViewKeys();

// One of the control menu's texts: the lines of its keys, one a line.
std::string ControlMenuText(MenuText text);

// Whether the key (or its keypad twin) has an action of its own.
bool HasViewAction(uintptr_t key);

// A key pressed in a window whose keys steer the view (or repeated while it is
// held): its action once. Every key without one closes the saver, and does
// nothing in the settings dialog; in the Display control panel's preview no
// key does anything.
void PressViewKey(WindowHandle window, uintptr_t key);

// Handles a key-down or key-up message taken from a frame loop's queue: a
// key-down presses its key, a key-up does nothing. Always returns 0.
intptr_t HandleViewKey(WindowHandle window, uint32_t message, uintptr_t key, intptr_t extra);
