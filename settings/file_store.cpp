// The settings backend of the Linux program: values in a per-user text file
// that is replaced whole on every write (see file_store.h).
#include "settings/file_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "settings/store.h"

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kHeader =
    "# Lumvia's settings: each module's view in hundredths, the cycle time in seconds.";

// The lines a running SaveSettingsFile collects; null at other times.
Lines* Batch = nullptr;

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// True when the line is "NAME = VALUE" for this name (case does not matter,
// as in the registry); VALUE is given back trimmed.
bool LineOf(const std::string& line, const char* name, std::string_view* value) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  const std::string_view key = Trim(std::string_view(line).substr(0, equals));
  if (key.size() != std::char_traits<char>::length(name) ||
      strncasecmp(key.data(), name, key.size()) != 0)
    return false;
  *value = Trim(std::string_view(line).substr(equals + 1));
  return true;
}

// A whole decimal number within 32 bits, signed or unsigned.
std::optional<int32_t> ParseNumber(std::string_view text) {
  const std::string digits(text);
  if (digits.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long number = std::strtoll(digits.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || number < INT32_MIN || number > UINT32_MAX)
    return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(number));
}

enum class ReadResult { Read, Missing, Failed };

ReadResult ReadLines(const std::string& path, Lines* lines) {
  lines->clear();
  if (path.empty()) return ReadResult::Failed;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  struct stat info;
  std::string text;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  char buffer[4096];
  while (ok) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
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
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info;
  return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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
  if (slash == std::string::npos || slash == 0 || !MakeFolders(path.substr(0, slash))) return false;
  std::string target = path;
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  std::string temporary = target + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  struct stat old;
  if (stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  bool ok = WriteAll(fd, text) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
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

bool SaveSettingsFile() {
  const std::string path = SettingsFilePath();
  Lines lines;
  if (!LinesToRewrite(path, &lines)) return false;
  Batch = &lines;
  SaveSettings();
  Batch = nullptr;
  return WriteLines(path, lines);
}
