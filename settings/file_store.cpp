// The settings backend of the Linux program: values in a per-user text file
// that is replaced whole on every write (see file_store.h).
#include "settings/file_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/store.h"

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kHeader =
    "# Lumvia's settings: each module's view in hundredths, the cycle time in seconds.";

// The lines a running SaveSettingsFile collects; null at other times.
Lines* Batch = nullptr;
// The values a running LoadSettingsFile reads from, by name in lower case
// (the first line of a name); null at other times.
using Values = std::unordered_map<std::string, std::string_view>;
const Values* Loaded = nullptr;

// Why the last read or write of the file failed, for the user.
std::string Failure;
bool Fail(const std::string& what, int error = errno) {
  Failure = what + ": " + std::strerror(error);
  return false;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Splits "NAME = VALUE" into its trimmed name and value; false for a line
// without '='.
bool SplitLine(std::string_view line, std::string_view* key, std::string_view* value) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  *key = Trim(line.substr(0, equals));
  *value = Trim(line.substr(equals + 1));
  return true;
}

// True when the line is "NAME = VALUE" for this name (case does not matter,
// as in the registry); VALUE is given back trimmed.
bool LineOf(const std::string& line, const char* name, std::string_view* value) {
  std::string_view key;
  return SplitLine(line, &key, value) && key.size() == std::char_traits<char>::length(name) &&
         strncasecmp(key.data(), name, key.size()) == 0;
}

// A whole decimal number within 32 bits, signed or unsigned: an optional
// sign, then digits and nothing else (a NUL byte is not a digit).
std::optional<int32_t> ParseNumber(std::string_view text) {
  const size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (text.size() == sign || text.find_first_not_of("0123456789", sign) != std::string_view::npos)
    return std::nullopt;
  const std::string digits(text);
  errno = 0;
  const long long number = std::strtoll(digits.c_str(), nullptr, 10);
  if (errno == ERANGE || number < INT32_MIN || number > UINT32_MAX) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(number));
}

enum class ReadResult { Read, Missing, Failed };

// The file's lines. It is opened without blocking and read only when it is
// a regular file: a FIFO in its place would hold the program in open().
ReadResult ReadLines(const std::string& path, Lines* lines) {
  lines->clear();
  if (path.empty()) {
    Failure = "neither XDG_CONFIG_HOME nor a home folder is known";
    return ReadResult::Failed;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return ReadResult::Missing;
    Fail(path);
    return ReadResult::Failed;
  }
  struct stat info;
  std::string text;
  bool ok = fstat(fd, &info) == 0 || Fail(path);
  if (ok && !S_ISREG(info.st_mode)) {
    Failure = path + ": not a regular file";
    ok = false;
  }
  char buffer[65536];
  while (ok) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0 || Fail(path);
      break;
    }
    text.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  if (!ok) return ReadResult::Failed;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines->emplace_back(text, start, end - start);
    start = end + 1;
  }
  return ReadResult::Read;
}

// The lines a write starts from: those of the file, or only the header for a
// file not made yet. False when a file is there but cannot be read, so that
// writing would lose what it holds.
bool LinesToRewrite(const std::string& path, Lines* lines) {
  switch (ReadLines(path, lines)) {
    case ReadResult::Read: return true;
    case ReadResult::Missing: lines->assign(1, kHeader); return true;
    case ReadResult::Failed: return false;
  }
  return false;
}

// The first line of the name takes the value; later lines of the same name
// go, so that what is read back is what was written. Other lines stay.
void SetValue(Lines* lines, const char* name, int32_t value) {
  std::string text = std::string(name) + " = " + std::to_string(value);
  bool placed = false;
  std::string_view ignored;
  for (auto line = lines->begin(); line != lines->end();) {
    if (!LineOf(*line, name, &ignored)) {
      ++line;
    } else if (placed) {
      line = lines->erase(line);
    } else {
      *line++ = text;
      placed = true;
    }
  }
  if (!placed) lines->push_back(std::move(text));
}

// Makes the folder and any missing folders above it, for this user only.
bool MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return Fail(part);
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) return Fail(folder);
  return S_ISDIR(info.st_mode) || Fail(folder, ENOTDIR);
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

// Writes the lines to a temporary file beside the settings file and renames
// it over the old one; on any failure the temporary file goes and the old
// file stays as it was. A symbolic link is followed, so that the file it
// points to is the one replaced.
bool WriteLines(const std::string& path, const Lines& lines) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return Fail(path, EINVAL);
  if (!MakeFolders(path.substr(0, slash))) return false;
  std::string target = path;
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  std::string temporary = target + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return Fail(temporary);
  struct stat old;
  if (stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  bool ok = (WriteAll(fd, text) && fsync(fd) == 0) || Fail(temporary);
  ok = (close(fd) == 0 || Fail(temporary)) && ok;
  ok = ok && (rename(temporary.c_str(), target.c_str()) == 0 || Fail(target));
  if (!ok) unlink(temporary.c_str());
  return ok;
}

}  // namespace

std::string SettingsFilePath() {
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (config && config[0] == '/') {
    base = config;
  } else if (home && home[0] != '\0') {
    base = std::string(home) + "/.config";
  } else if (const passwd* user = getpwuid(getuid()); user && user->pw_dir && user->pw_dir[0]) {
    base = std::string(user->pw_dir) + "/.config";
  } else {
    return {};
  }
  return base + "/lumvia/lumvia.conf";
}

// One file per user holds everything: the key path names nothing here.
void SetSettingsKey(WindowHandle, const char*) {}

int32_t ReadSettingDword(const char* name, int32_t fallback) {
  if (Loaded) {
    const auto value = Loaded->find(Lower(name));
    return value == Loaded->end() ? fallback : ParseNumber(value->second).value_or(fallback);
  }
  Lines own;
  const Lines* lines = Batch;
  if (!lines) {
    if (ReadLines(SettingsFilePath(), &own) != ReadResult::Read) return fallback;
    lines = &own;
  }
  std::string_view value;
  for (const std::string& line : *lines)
    if (LineOf(line, name, &value)) return ParseNumber(value).value_or(fallback);
  return fallback;
}

bool WriteSettingDword(const char* name, uint32_t value) {
  if (Batch) {
    SetValue(Batch, name, static_cast<int32_t>(value));
    return true;
  }
  const std::string path = SettingsFilePath();
  Lines lines;
  if (!LinesToRewrite(path, &lines)) return false;
  SetValue(&lines, name, static_cast<int32_t>(value));
  return WriteLines(path, lines);
}

bool LoadSettingsFile(std::string* why) {
  Lines lines;
  const ReadResult read = ReadLines(SettingsFilePath(), &lines);
  Values values;
  std::string_view key, value;
  for (const std::string& line : lines)
    if (SplitLine(line, &key, &value)) values.try_emplace(Lower(key), value);
  Loaded = &values;
  LoadSettings();
  Loaded = nullptr;
  if (read != ReadResult::Failed) return true;
  if (why) *why = Failure;
  return false;
}

bool SaveSettingsFile(std::string* why) {
  const std::string path = SettingsFilePath();
  Lines lines;
  bool ok = LinesToRewrite(path, &lines);
  if (ok) {
    Batch = &lines;
    SaveSettings();
    Batch = nullptr;
    ok = WriteLines(path, lines);
  }
  if (!ok && why) *why = Failure;
  return ok;
}
