// The command line of the Linux program, in the conventions of XScreenSaver
// hacks, and what its options change for one run, on X and on Wayland.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/module_table.h"

enum class DrawTarget {
  Default,    // none given: on X a window of its own, on Wayland every output
  OwnWindow,  // -window: a top-level window of its own; the keys steer the view
  Root,       // -root: $XSCREENSAVER_WINDOW, else the root window; no input
  WindowId,   // -window-id ID: as -root, into the given window
};

struct Options {
  DrawTarget target = DrawTarget::Default;
  bool wayland = false;        // -wayland: on the Wayland desktop of $WAYLAND_DISPLAY
  bool daemon = false;         // -daemon: the saver whenever the Wayland desktop is idle
  int32_t idleSeconds = 0;     // -idle: instead of the stored idle minutes; 0 when not given
  std::string output;          // -output: the output the scene keeps to on Wayland
  unsigned long windowId = 0;  // -window-id
  std::string display;         // -display; empty for $DISPLAY

  // -geometry WxH[+X+Y]: an offset taken with '-' counts from the right or
  // bottom edge of the screen, as in X.
  int width = 800;
  int height = 600;
  bool placed = false;
  int x = 0;
  int y = 0;
  bool fromRight = false;
  bool fromBottom = false;

  // For this run only.
  std::optional<int32_t> cycleTime;                  // -cycle
  std::optional<std::array<bool, kModuleSlots>> modules;  // -modules: exactly these
  std::array<bool, kModuleSlots> leftOut{};          // -no-NAME
  int firstModule = 0;                               // -module, 0 when not given

  bool fps = false;
  bool sync = false;   // -sync: every X request waits for its reply
  std::string visual;  // -visual, as given: the scenes need a GL visual of their own
  bool help = false;
};

struct ParsedOptions {
  bool ok = false;
  Options options;
  std::string error;  // one line naming the bad option or value
};

// One option, taken as -NAME or --NAME. Parsing, the usage text and the
// check of lumvia.xml all read the table of them: a new option is a new row.
struct OptionRow {
  // A name ending in "NAME" stands for one option per module, NAME being the
  // module's name in lower case ("no-NAME": -no-love, -no-peace, ...).
  const char* name;
  const char* value;  // what its value is called in the usage text; null: it takes none
  const char* help;   // its text in the usage; null: not listed
  // Sets what it sets from its value (or the NAME); false for a bad one.
  bool (*set)(Options& options, const char* value);
};

// Every option, in the order of the usage text.
std::span<const OptionRow> OptionTable();

// The row of an argument ("-cycle", "--no-love"), or null. For a per-module
// option *name is set to its NAME, else to null.
const OptionRow* FindOption(const char* arg, const char** name);

ParsedOptions ParseOptions(int argc, const char* const* argv);

// The usage text, printed by -help and after a bad option.
std::string Usage();

// The command line -daemon gives each saver it starts: the daemon's own less
// its options (-daemon, -idle and its value). For a line ParseOptions took.
std::vector<std::string> SaverArguments(int argc, const char* const* argv);

// A window id as XScreenSaver hands it over: decimal or 0x-hex, not 0.
bool ParseWindowId(const char* text, unsigned long* id);

// What the options replace, kept so that it can be put back before a save.
struct StoredChoice {
  std::array<bool, kModuleSlots> active{};
  int32_t cycleTime = 0;
};

// After LoadSettings: applies the cycle time and the modules of this run and
// chooses the first module (the -module one if it takes part, else the next
// one that does). Returns what was stored. Drawing into a window someone
// else gives (the daemon's, its settings program's preview), the command
// line is the whole truth: lumvia.xml passes only what differs from its
// defaults (every module, the stored default cycle time), so those are the
// starting point, not the stored choice.
StoredChoice ApplyRunOptions(const Options& options);

// Puts the stored cycle time and enabled flags back, so that saving keeps
// the run's own choice out of the settings.
void RestoreStoredChoice(const StoredChoice& stored);
