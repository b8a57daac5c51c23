// The command line of the Linux program and the run's own choice of modules
// and cycle time.
#include "linux_program/options.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "scenes/modules.h"
#include "settings/store.h"
#include "settings/stored_values.h"

namespace {

constexpr long long kMaxWindowSize = 32767;

// A whole decimal number from low to high.
bool ParseNumber(std::string_view text, long long low, long long high, long long* value) {
  const std::string digits(text);
  if (digits.empty() || digits.find_first_not_of("+-0123456789") != std::string::npos)
    return false;
  errno = 0;
  char* end = nullptr;
  *value = std::strtoll(digits.c_str(), &end, 10);
  return *end == '\0' && errno == 0 && *value >= low && *value <= high;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A module by its number or its name (in any case); 0 when it is neither.
int ModuleOf(std::string_view text) {
  text = Trim(text);
  long long number = 0;
  if (ParseNumber(text, 1, kModuleCount, &number)) return static_cast<int>(number);
  for (int n = 1; n <= kModuleCount; ++n)
    if (text.size() == std::strlen(Modules[n].name) &&
        strncasecmp(text.data(), Modules[n].name, text.size()) == 0)
      return n;
  return 0;
}

bool ParseModuleList(std::string_view list, std::array<bool, kModuleSlots>* modules) {
  modules->fill(false);
  while (true) {
    const size_t comma = list.find(',');
    const int module = ModuleOf(list.substr(0, comma));
    if (module == 0) return false;
    (*modules)[module] = true;
    if (comma == std::string_view::npos) return true;
    list.remove_prefix(comma + 1);
  }
}

// An offset of -geometry: a sign, then digits. '-' counts from the far edge.
bool ParseOffset(std::string_view* text, int* offset, bool* fromFar) {
  if (text->empty() || (text->front() != '+' && text->front() != '-')) return false;
  *fromFar = text->front() == '-';
  text->remove_prefix(1);
  const size_t digits = std::min(text->find_first_not_of("0123456789"), text->size());
  long long value = 0;
  if (!ParseNumber(text->substr(0, digits), 0, kMaxWindowSize, &value)) return false;
  *offset = static_cast<int>(value);
  text->remove_prefix(digits);
  return true;
}

bool ParseGeometry(std::string_view text, Options* options) {
  const size_t times = text.find('x');
  if (times == std::string_view::npos) return false;
  const size_t sizeEnd = std::min(text.find_first_of("+-", times), text.size());
  long long width = 0, height = 0;
  if (!ParseNumber(text.substr(0, times), 1, kMaxWindowSize, &width) ||
      !ParseNumber(text.substr(times + 1, sizeEnd - times - 1), 1, kMaxWindowSize, &height))
    return false;
  options->width = static_cast<int>(width);
  options->height = static_cast<int>(height);
  text.remove_prefix(sizeEnd);
  if (text.empty()) return true;
  options->placed = ParseOffset(&text, &options->x, &options->fromRight) &&
                    ParseOffset(&text, &options->y, &options->fromBottom) && text.empty();
  return options->placed;
}

// -no-NAME: the module whose name in lower case is NAME.
bool LeaveOut(Options& o, const char* name) {
  for (int n = 1; n <= kModuleCount; ++n) {
    std::string lower;
    for (const char* c = Modules[n].name; *c; ++c) lower += static_cast<char>(std::tolower(*c));
    if (lower == name) return o.leftOut[n] = true;
  }
  return false;
}

bool SetCycle(Options& o, const char* value) {
  const StoredValue& cycle = StoredValueOf(&CycleTime);
  long long number = 0;
  if (!ParseNumber(value, cycle.leastChoice, cycle.mostChoice, &number)) return false;
  o.cycleTime = static_cast<int32_t>(number);
  return true;
}

bool SetModules(Options& o, const char* value) {
  std::array<bool, kModuleSlots> modules{};
  if (!ParseModuleList(value, &modules)) return false;
  o.modules = modules;
  return true;
}

bool TakeAndIgnore(Options&, const char*) { return true; }

// The daemon's own options, which the savers it starts are not given.
bool SetDaemon(Options& o, const char*) { return o.daemon = true; }
bool SetIdle(Options& o, const char* value) {
  // The stored idle minutes' choices, as seconds. (Looked up as the program
  // runs: GCC takes no comparison of two variables' addresses outside the
  // file that defines them for a constant.)
  long long most = 0;
  ForEachStoredValue([&](const StoredValue& v, int) {
    if (v.setting == &IdleMinutes) most = v.mostChoice * 60LL;
  });
  long long seconds = 0;
  if (!ParseNumber(value, 1, most, &seconds)) return false;
  o.idleSeconds = static_cast<int32_t>(seconds);
  return true;
}

constexpr OptionRow kOptions[] = {
    {"window", nullptr,
     "draw in a window of its own (the default on X); the keys steer the view and the "
     "settings are saved on exit",
     [](Options& o, const char*) { o.target = DrawTarget::OwnWindow; return true; }},
    {"root", nullptr, "draw into $XSCREENSAVER_WINDOW, else the root window",
     [](Options& o, const char*) { o.target = DrawTarget::Root; return true; }},
    {"window-id", "ID", "draw into the window ID (decimal or 0x-hex)",
     [](Options& o, const char* v) {
       if (!ParseWindowId(v, &o.windowId)) return false;
       o.target = DrawTarget::WindowId;
       return true;
     }},
    {"wayland", nullptr,
     "draw on the Wayland desktop of $WAYLAND_DISPLAY: full screen on every output, or with "
     "-window in a window of its own; the keys steer the view, moving the pointer ends it "
     "full screen, and the settings are saved on exit",
     [](Options& o, const char*) { return o.wayland = true; }},
    {"output", "NAME",
     "with -wayland: the output that shows the scene when the others are black or left as "
     "they are (default: the first)",
     [](Options& o, const char* v) { o.output = v; return !o.output.empty(); }},
    {"daemon", nullptr,
     "stay in the Wayland desktop's session and show the saver (as -wayland, with the other "
     "options given) whenever the user has been idle for the settings file's idle minutes",
     SetDaemon},
    {"idle", "SECONDS", "with -daemon: the idle time of this run, instead of the stored minutes",
     SetIdle},
    {"geometry", "WxH[+X+Y]", "size and place of the window of its own (800x600)",
     [](Options& o, const char* v) { return ParseGeometry(v, &o); }},
    {"display", "NAME", "the X display (default $DISPLAY)",
     [](Options& o, const char* v) { o.display = v; return true; }},
    {"cycle", "SECONDS", "how long each module is shown, for this run", SetCycle},
    {"modules", "LIST", "the modules shown in this run, numbers or names, comma-separated",
     SetModules},
    {"no-NAME", nullptr, "leave the module NAME out of this run (-no-love, ...)", LeaveOut},
    {"module", "N", "the module shown first",
     [](Options& o, const char* v) { return (o.firstModule = ModuleOf(v)) != 0; }},
    {"fps", nullptr,
     "show the frame rate in the lower left corner; in a window of its own, also print it "
     "to standard error every 5 s",
     [](Options& o, const char*) { return o.fps = true; }},
    // The options every display mode of XScreenSaver takes.
    {"no-fps", nullptr, "do not show the frame rate (the default)",
     [](Options& o, const char*) { return !(o.fps = false); }},
    {"visual", "VISUAL",
     "taken; the scenes draw with the given window's visual, or choose a GL visual for a "
     "window of their own",
     [](Options& o, const char* v) { o.visual = v; return true; }},
    {"install", nullptr, "taken; the window's colormap is always its own", TakeAndIgnore},
    {"noinstall", nullptr, "taken; changes nothing", TakeAndIgnore},
    {"mono", nullptr, "taken; changes nothing", TakeAndIgnore},
    {"delay", "MICROSECONDS", "taken and ignored: frames start 30 ms apart",
     [](Options&, const char* v) { long long n = 0; return ParseNumber(v, 0, INT32_MAX, &n); }},
    {"sync", nullptr, "wait for the X server's answer to every request (for finding faults)",
     [](Options& o, const char*) { return o.sync = true; }},
    {"xrm", "RESOURCE", "taken and ignored", TakeAndIgnore},
    {"help", nullptr, "print this text", [](Options& o, const char*) { return o.help = true; }},
    {"h", nullptr, nullptr, [](Options& o, const char*) { return o.help = true; }},
};

constexpr std::string_view kPerModule = "NAME";

bool PerModule(const OptionRow& row) { return std::string_view(row.name).ends_with(kPerModule); }

ParsedOptions Refuse(std::string error) {
  ParsedOptions parsed;
  parsed.error = std::move(error);
  return parsed;
}

// The usage lines of one option: its name and value, then its text from
// column 23, wrapped to lines of at most 79 characters.
std::string UsageLines(const OptionRow& row) {
  constexpr size_t kTextColumn = 23;
  constexpr size_t kWidth = 79;
  std::string out;
  std::string line = std::string("  -") + row.name + (row.value ? std::string(" ") + row.value : "");
  line.resize(std::max(line.size() + 2, kTextColumn), ' ');
  bool empty = true;  // no word on the line yet
  std::string_view text = row.help;
  while (!text.empty()) {
    const std::string_view word = text.substr(0, text.find(' '));
    text.remove_prefix(std::min(text.size(), word.size() + 1));
    if (!empty && line.size() + 1 + word.size() > kWidth) {
      out += line + "\n";
      line.assign(kTextColumn, ' ');
      empty = true;
    }
    if (!empty) line += ' ';
    line += word;
    empty = false;
  }
  return out + line + "\n";
}

}  // namespace

std::span<const OptionRow> OptionTable() { return kOptions; }

const OptionRow* FindOption(const char* arg, const char** name) {
  *name = nullptr;
  if (arg[0] != '-') return nullptr;
  const std::string_view given = arg + (arg[1] == '-' ? 2 : 1);  // "--name" as many programs take it
  for (const OptionRow& row : kOptions)
    if (!PerModule(row) && given == row.name) return &row;
  for (const OptionRow& row : kOptions) {
    if (!PerModule(row)) continue;
    const std::string_view prefix(row.name, std::strlen(row.name) - kPerModule.size());
    if (given.size() > prefix.size() && given.starts_with(prefix)) {
      *name = given.data() + prefix.size();
      return &row;
    }
  }
  return nullptr;
}

bool ParseWindowId(const char* text, unsigned long* id) {
  if (!text || !*text || *text == '-' || *text == '+') return false;
  errno = 0;
  char* end = nullptr;
  const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const unsigned long long value = std::strtoull(hex ? text + 2 : text, &end, hex ? 16 : 10);
  if (end == (hex ? text + 2 : text) || *end != '\0' || errno != 0 || value == 0 ||
      value > 0xFFFFFFFFull)
    return false;
  *id = static_cast<unsigned long>(value);
  return true;
}

ParsedOptions ParseOptions(int argc, const char* const* argv) {
  ParsedOptions parsed;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char* name = nullptr;
    const OptionRow* row = FindOption(arg, &name);
    const std::string unknown = "unknown option \"" + std::string(arg) + "\"";
    if (!row) return Refuse(unknown);
    if (name) {
      if (!row->set(parsed.options, name)) return Refuse(unknown);
      continue;
    }
    const char* value = nullptr;
    if (row->value) {
      if (i + 1 >= argc) return Refuse(std::string(arg) + " needs a value");
      value = argv[++i];
    }
    if (!row->set(parsed.options, value))
      return Refuse("bad value \"" + std::string(value ? value : "") + "\" for " + arg);
  }
  parsed.ok = true;
  return parsed;
}

std::vector<std::string> SaverArguments(int argc, const char* const* argv) {
  std::vector<std::string> arguments{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const char* name = nullptr;
    const OptionRow* row = FindOption(argv[i], &name);
    const int taken = row && !name && row->value ? 2 : 1;
    if (!row || (row->set != SetDaemon && row->set != SetIdle))
      arguments.insert(arguments.end(), argv + i, argv + std::min(i + taken, argc));
    i += taken - 1;
  }
  return arguments;
}

std::string Usage() {
  std::string text =
      "usage: lumvia [-window | -root | -window-id ID | -wayland [-window] | -daemon] "
      "[options]\n";
  for (const OptionRow& row : kOptions)
    if (row.help) text += UsageLines(row);
  text += "modules:";
  for (int n = 1; n <= kModuleCount; ++n)
    text += std::string(n == 1 ? " " : ", ") + std::to_string(n) + " " + Modules[n].name;
  return text + "\n";
}

StoredChoice ApplyRunOptions(const Options& options) {
  StoredChoice stored;
  stored.cycleTime = CycleTime;
  const bool wholeTruth =
      options.target == DrawTarget::Root || options.target == DrawTarget::WindowId;
  if (wholeTruth) CycleTime = StoredValueOf(&CycleTime).missing;
  for (int n = 1; n <= kModuleCount; ++n) {
    stored.active[n] = ModuleTable[n].active;
    if (wholeTruth) ModuleTable[n].active = true;
    if (options.modules) ModuleTable[n].active = (*options.modules)[n];
    if (options.leftOut[n]) ModuleTable[n].active = false;
  }
  if (options.cycleTime) CycleTime = *options.cycleTime;
  const int first = options.firstModule;
  CurrentModule = IsModuleNumber(first) && ModuleTable[first].active ? first
                                                                     : NextActiveModule(first);
  LoadModuleParams(CurrentModule);
  return stored;
}

void RestoreStoredChoice(const StoredChoice& stored) {
  for (int n = 1; n <= kModuleCount; ++n) ModuleTable[n].active = stored.active[n];
  CycleTime = stored.cycleTime;
}
