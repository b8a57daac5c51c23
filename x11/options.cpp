// The command line of the Linux program and the run's own choice of modules
// and cycle time.
#include "x11/options.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "settings/store.h"

namespace {

constexpr long long kMaxWindowSize = 32767;

// "-name", or "--name" as many programs also take it.
bool IsOption(const char* arg, const char* name) {
  if (arg[0] != '-') return false;
  if (arg[1] == '-') ++arg;
  return std::strcmp(arg + 1, name) == 0;
}

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
    if (text.size() == std::strlen(ModuleNames[n]) &&
        strncasecmp(text.data(), ModuleNames[n], text.size()) == 0)
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

// "-no-love" and its peers: the module they leave out, or 0.
int LeftOutModule(const char* arg) {
  for (int n = 1; n <= kModuleCount; ++n) {
    std::string name = "no-";
    for (const char* c = ModuleNames[n]; *c; ++c) name += static_cast<char>(std::tolower(*c));
    if (IsOption(arg, name.c_str())) return n;
  }
  return 0;
}

ParsedOptions Refuse(std::string error) {
  ParsedOptions parsed;
  parsed.error = std::move(error);
  return parsed;
}

}  // namespace

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
  Options& o = parsed.options;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool takesValue = IsOption(arg, "geometry") || IsOption(arg, "window-id") ||
                            IsOption(arg, "display") || IsOption(arg, "cycle") ||
                            IsOption(arg, "modules") || IsOption(arg, "module");
    const char* value = nullptr;
    if (takesValue) {
      if (i + 1 >= argc) return Refuse(std::string(arg) + " needs a value");
      value = argv[++i];
    }
    const std::string bad = value ? "bad value \"" + std::string(value) + "\" for " + arg : "";
    long long number = 0;
    if (IsOption(arg, "window")) {
      o.target = DrawTarget::OwnWindow;
    } else if (IsOption(arg, "root")) {
      o.target = DrawTarget::Root;
    } else if (IsOption(arg, "window-id")) {
      if (!ParseWindowId(value, &o.windowId)) return Refuse(bad);
      o.target = DrawTarget::WindowId;
    } else if (IsOption(arg, "geometry")) {
      if (!ParseGeometry(value, &o)) return Refuse(bad);
    } else if (IsOption(arg, "display")) {
      o.display = value;
    } else if (IsOption(arg, "cycle")) {
      if (!ParseNumber(value, 0, INT32_MAX, &number)) return Refuse(bad);
      o.cycleTime = static_cast<int32_t>(number);
    } else if (IsOption(arg, "modules")) {
      std::array<bool, kModuleSlots> modules{};
      if (!ParseModuleList(value, &modules)) return Refuse(bad);
      o.modules = modules;
    } else if (IsOption(arg, "module")) {
      o.firstModule = ModuleOf(value);
      if (o.firstModule == 0) return Refuse(bad);
    } else if (const int module = LeftOutModule(arg)) {
      o.leftOut[module] = true;
    } else if (IsOption(arg, "fps")) {
      o.fps = true;
    } else if (IsOption(arg, "help") || IsOption(arg, "h")) {
      o.help = true;
    } else {
      return Refuse("unknown option \"" + std::string(arg) + "\"");
    }
  }
  parsed.ok = true;
  return parsed;
}

std::string Usage() {
  std::string text =
      "usage: lumvia [-window | -root | -window-id ID] [options]\n"
      "  -window              draw in a window of its own (the default); the keys\n"
      "                       steer the view and the settings are saved on exit\n"
      "  -root                draw into $XSCREENSAVER_WINDOW, else the root window\n"
      "  -window-id ID        draw into the window ID (decimal or 0x-hex)\n"
      "  -geometry WxH[+X+Y]  size and place of the window of its own (800x600)\n"
      "  -display NAME        the X display (default $DISPLAY)\n"
      "  -cycle SECONDS       how long each module is shown, for this run\n"
      "  -modules LIST        the modules shown in this run, numbers or names,\n"
      "                       comma-separated\n"
      "  -no-NAME             leave the module NAME out of this run (-no-love, ...)\n"
      "  -module N            the module shown first\n"
      "  -fps                 print the frame rate to standard error every 5 s\n"
      "  -help                print this text\n"
      "modules:";
  for (int n = 1; n <= kModuleCount; ++n)
    text += std::string(n == 1 ? " " : ", ") + std::to_string(n) + " " + ModuleNames[n];
  return text + "\n";
}

StoredChoice ApplyRunOptions(const Options& options) {
  StoredChoice stored;
  stored.cycleTime = CycleTime;
  for (int n = 1; n <= kModuleCount; ++n) {
    stored.active[n] = ModuleTable[n].active;
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
