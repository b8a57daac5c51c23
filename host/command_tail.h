// Reading the command line that starts the saver: the tail after the program
// name, the run mode its first switch letter asks for, and the window number
// after "P", "L" or "A". Portable, so that native tests and fuzzing reach it;
// the Win32 entry (host/host_entry_win32.cpp) runs the mode.
#pragma once

#include <cstdint>

// The command tail of a full command line: the program name (quoted or not)
// and the separators after it skipped.
const char* CommandTail(const char* line);

enum class RunModeRequest {
  Settings,           // an empty tail: the settings dialog without an owner
  OwnedSettings,      // "C": the settings dialog owned by the foreground window
  Saver,              // "S": the full-screen saver
  Preview,            // "P" or "L": the preview inside the window numbered in the argument
  PasswordChange,     // "A": the password change, owned by the window numbered in the argument
  Unknown,            // anything else
};

struct RunModeSwitch {
  RunModeRequest mode;
  // For Preview and PasswordChange: the text after the letter and the blanks
  // behind it. Otherwise the end of the tail or the letter itself.
  const char* argument;
};

// The first switch letter decides; only blanks, dashes and slashes may come
// before it, and nothing after it but the argument is looked at.
RunModeSwitch ReadRunModeSwitch(const char* tail);

// The decimal window number at the start of the text; 0 when there is none.
// More digits than fit wrap around in 32 bits.
uint32_t ParseWindowNumber(const char* text);
