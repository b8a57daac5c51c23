// The settings backend of the Linux program: values in a per-user text file
// that is replaced whole on every save (see file_store.h).
#include "settings/file_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "settings/store.h"

namespace {

constexpr const char* kHeader =
    "# Lumvia's settings: each module's view in hundredths, the cycle time in seconds.\n";

bool Fail(std::string* why, const std::string& what, int error = errno) {
  if (why) *why = what + ": " + std::strerror(error);
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

// A whole decimal number within 32 bits, signed or unsigned: an optional
// sign, then digits and nothing else (a NUL byte is not a digit).
std::optional<int32_t> ParseNumber(std::string_view text) {
  const size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (text.size() == sign || text.find_first_not_of("0123456789", sign) != std::string_view::npos)
    return std::nullopt;
  int64_t number = 0;
  for (const char digit : text.substr(sign)) {
    number = number * 10 + (digit - '0');
    if (number > UINT32_MAX) return std::nullopt;
  }
  if (text[0] == '-') number = -number;
  if (number < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(number));
}

// The place of each stored value's name in StoredNumbers, by the name in
// lower case.
const std::unordered_map<std::string_view, size_t>& NameIndex() {
  static const std::array<std::string, kStoredValueCount> lower = [] {
    std::array<std::string, kStoredValueCount> all;
    for (size_t i = 0; i < kStoredValueCount; ++i) all[i] = Lower(StoredValueNames()[i]);
    return all;
  }();
  static const std::unordered_map<std::string_view, size_t> index = [] {
    std::unordered_map<std::string_view, size_t> all;
    for (size_t i = 0; i < kStoredValueCount; ++i) all.emplace(lower[i], i);
    return all;
  }();
  return index;
}

// The place of the stored value this name names, in any case, or -1.
long PlaceOf(std::string_view key) {
  char lower[32];
  if (key.size() > sizeof lower) return -1;
  for (size_t i = 0; i < key.size(); ++i)
    lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[i])));
  const auto found = NameIndex().find(std::string_view(lower, key.size()));
  return found == NameIndex().end() ? -1 : static_cast<long>(found->second);
}

// Calls visit(line, place, value) for every line of the text, with the place
// of the stored value it names (or -1) and its value.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    std::string_view key, value;
    visit(line, SplitLine(line, &key, &value) ? PlaceOf(key) : -1, value);
    start = end + 1;
  }
}

enum class ReadResult { Read, Missing, Failed };

// The file's text. It is opened without blocking and read only when it is a
// regular file: a FIFO in its place would hold the program in open().
ReadResult ReadFile(const std::string& path, std::string* text, std::string* why) {
  text->clear();
  if (path.empty()) {
    if (why) *why = "neither XDG_CONFIG_HOME nor a home folder is known";
    return ReadResult::Failed;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return ReadResult::Missing;
    Fail(why, path);
    return ReadResult::Failed;
  }
  struct stat info;
  bool ok = fstat(fd, &info) == 0 || Fail(why, path);
  if (ok && !S_ISREG(info.st_mode)) {
    if (why) *why = path + ": not a regular file";
    ok = false;
  }
  char buffer[65536];
  while (ok) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0 || Fail(why, path);
      break;
    }
    text->append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return ok ? ReadResult::Read : ReadResult::Failed;
}

// Makes the folder and any missing folders above it, for this user only.
bool MakeFolders(const std::string& folder, std::string* why) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return Fail(why, part);
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) return Fail(why, folder);
  return S_ISDIR(info.st_mode) || Fail(why, folder, ENOTDIR);
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

// Writes the text to a temporary file beside the settings file and renames
// it over the old one; on any failure the temporary file goes and the old
// file stays as it was. A symbolic link is followed, so that the file it
// points to is the one replaced.
bool WriteFile(const std::string& path, const std::string& text, std::string* why) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return Fail(why, path, EINVAL);
  if (!MakeFolders(path.substr(0, slash), why)) return false;
  std::string target = path;
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  std::string temporary = target + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return Fail(why, temporary);
  struct stat old;
  if (stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
  bool ok = (WriteAll(fd, text) && fsync(fd) == 0) || Fail(why, temporary);
  ok = (close(fd) == 0 || Fail(why, temporary)) && ok;
  ok = ok && (rename(temporary.c_str(), target.c_str()) == 0 || Fail(why, target));
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

void ReadSettingsText(std::string_view text, StoredNumbers& numbers) {
  numbers = {};
  bool seen[kStoredValueCount] = {};
  ForEachLine(text, [&](std::string_view, long place, std::string_view value) {
    if (place < 0 || seen[place]) return;
    seen[place] = true;
    numbers[place] = ParseNumber(value);
  });
}

std::string WriteSettingsText(std::string_view text, const StoredNumbers& numbers) {
  std::string written;
  written.reserve(text.size() + 24 * kStoredValueCount);
  auto write_value = [&](size_t place) {
    char number[16];
    const auto end = std::to_chars(number, number + sizeof number, *numbers[place]).ptr;
    written.append(StoredValueNames()[place]).append(" = ").append(number, end).push_back('\n');
  };
  bool placed[kStoredValueCount] = {};
  ForEachLine(text, [&](std::string_view line, long place, std::string_view) {
    if (place < 0 || !numbers[place]) {
      written.append(line).push_back('\n');
    } else if (!placed[place]) {
      placed[place] = true;
      write_value(place);
    }
  });
  for (size_t i = 0; i < kStoredValueCount; ++i)
    if (numbers[i] && !placed[i]) write_value(i);
  return written;
}

// A file that is there but cannot be read is no settings at all; a file not
// made yet holds none.
bool ReadStoredNumbers(StoredNumbers& numbers, std::string* why) {
  std::string text;
  const ReadResult read = ReadFile(SettingsFilePath(), &text, why);
  ReadSettingsText(text, numbers);
  return read != ReadResult::Failed;
}

// Never over a file that is there but cannot be read, which would lose what
// it holds. A new file starts with a comment line.
bool WriteStoredNumbers(const StoredNumbers& numbers, std::string* why) {
  const std::string path = SettingsFilePath();
  std::string text;
  switch (ReadFile(path, &text, why)) {
    case ReadResult::Read: break;
    case ReadResult::Missing: text = kHeader; break;
    case ReadResult::Failed: return false;
  }
  return WriteFile(path, WriteSettingsText(text, numbers), why);
}
