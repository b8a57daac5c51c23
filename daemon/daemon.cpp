// lumvia -daemon: stays in the Wayland desktop's session and starts the saver
// (the same program with -wayland) whenever the user has been idle. Each
// saver is a process of its own, so one that fails or crashes never takes
// the daemon with it, and each reads the settings file afresh; the daemon
// reads the idle minutes afresh before each wait.
#include <fcntl.h>
#include <limits.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "daemon/idle_watch.h"
#include "linux_program/front_ends.h"
#include "linux_program/run.h"
#include "platform/say.h"
#include "settings/store.h"

namespace {

// How long a saver told to end may take to save its views.
constexpr timespec kSaverEndPatience = {10, 0};

void OnChildEnded(int) {}  // ends the wait; the saver is reaped after it

// The idle time of the next wait, in ms: -idle, else the settings file's.
uint32_t IdleTime(const Options& options) {
  if (options.idleSeconds) return static_cast<uint32_t>(options.idleSeconds) * 1000u;
  if (std::string why; !LoadSettings(&why))
    Say("the settings file cannot be read, so the idle time is %d"
        " minutes: %s", IdleMinutes, why.c_str());
  return static_cast<uint32_t>(IdleMinutes) * 60000u;
}

// One daemon per desktop: a second would start a second saver. The lock is
// in the user's own runtime folder; without one it goes on unguarded.
bool OnlyDaemonOfDesktop() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime) return true;
  std::string desktop = std::getenv("WAYLAND_DISPLAY");
  for (char& c : desktop)
    if (c == '/') c = '_';
  const std::string path = std::string(runtime) + "/lumvia-daemon-" + desktop + ".lock";
  const int lock = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lock < 0) return true;
  if (flock(lock, LOCK_EX | LOCK_NB) == 0) return true;  // held until the process ends
  close(lock);
  Say("-daemon runs on the desktop \"%s\" already", std::getenv("WAYLAND_DISPLAY"));
  return false;
}

// The saver: this program again, with -wayland and the options given.
struct SaverCommand {
  std::string program;
  std::vector<std::string> arguments;
};

// The program's file by its name, so that the savers are called as it is
// (one started as /proc/self/exe is called "exe").
SaverCommand SaverCommandOf(const std::vector<std::string>& saverArguments) {
  SaverCommand command{"/proc/self/exe", saverArguments};
  command.arguments.insert(command.arguments.begin() + 1, "-wayland");
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length > 0 && length < static_cast<ssize_t>(sizeof path))
    command.program.assign(path, static_cast<size_t>(length));
  return command;
}

// Starts the saver with the signals as they were before the daemon held them
// back. Its pid, or 0 when it could not be started.
pid_t StartSaver(const SaverCommand& command, const sigset_t& signals) {
  std::vector<char*> argv;
  for (const std::string& a : command.arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setsigmask(&attributes, &signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t saver = 0;
  const int error =
      posix_spawn(&saver, command.program.c_str(), nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error == 0) return saver;
  Say("the saver could not be started: %s", std::strerror(error));
  return 0;
}

// Says how a saver ended, unless it ended as asked.
void SayHowSaverEnded(int status) {
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    Say("the saver ended with exit code %d", WEXITSTATUS(status));
  else if (WIFSIGNALED(status) && WTERMSIG(status) != SIGTERM)
    Say("the saver ended by signal %d (%s)", WTERMSIG(status), strsignal(WTERMSIG(status)));
}

// Whether the saver has ended; reaps it if so.
bool SaverEnded(pid_t saver) {
  int status = 0;
  if (waitpid(saver, &status, WNOHANG) != saver) return false;
  SayHowSaverEnded(status);
  return true;
}

// SIGTERM, which saves its views; SIGKILL when it has not ended in time.
// SIGCHLD is held back here, so its coming is waited for.
void EndSaver(pid_t saver) {
  kill(saver, SIGTERM);
  sigset_t child;
  sigemptyset(&child);
  sigaddset(&child, SIGCHLD);
  while (!SaverEnded(saver)) {
    if (sigtimedwait(&child, nullptr, &kSaverEndPatience) < 0 && errno == EAGAIN) {
      Say("the saver did not end within %ld s of SIGTERM",
          static_cast<long>(kSaverEndPatience.tv_sec));
      kill(saver, SIGKILL);
      waitpid(saver, nullptr, 0);
      return;
    }
  }
}

// Until a stop signal or the desktop's end: a wait for the idle time, the
// saver until it ends, and again.
void WatchAndStart(IdleWatch& watch, const Options& options, const SaverCommand& command,
                   const sigset_t& open) {
  pid_t saver = 0;
  bool waiting = false;
  while (!StopSignalCame() && !watch.lost) {
    if (!saver && !waiting) {
      ArmIdleWatch(watch, IdleTime(options));
      waiting = true;
    }
    WaitForIdleEvents(watch, open);
    if (saver && SaverEnded(saver)) saver = 0;
    if (waiting && watch.idle) {
      DisarmIdleWatch(watch);
      waiting = false;
      // Something keeps the screen on: the next wait asks again.
      if (!IdleInhibited(watch)) saver = StartSaver(command, open);
    }
  }
  if (saver) EndSaver(saver);
}

}  // namespace

int RunIdleDaemon(const Options& options, const std::vector<std::string>& saverArguments) {
  if (options.target != DrawTarget::Default) {
    Say("-daemon shows the saver full screen: -window, -root and"
        " -window-id do not go with it");
    return 1;
  }
  if (!std::getenv("WAYLAND_DISPLAY")) {
    Say("-daemon is for Wayland desktops ($WAYLAND_DISPLAY is not set);"
        " on X the XScreenSaver daemon starts lumvia as one of its display"
        " modes (see README.Debian)");
    return 1;
  }
  if (!OnlyDaemonOfDesktop()) return 1;
  IdleWatch watch;
  if (!OpenIdleWatch(watch)) return 1;
  if (watch.source == IdleSource::None) {
    Say("the desktop tells no program how long the user has been idle"
        " (it offers neither ext-idle-notify-v1 nor org_kde_kwin_idle, and no"
        " GNOME idle monitor answers), so -daemon cannot start the saver there");
    CloseIdleWatch(watch);
    return 1;
  }
  Say("the idle time comes from %s", IdleSourceName(watch.source));

  // The stop signals and the saver's end are let through only while the
  // daemon waits, so that none comes between a look at them and the wait.
  sigset_t held, open;
  sigemptyset(&held);
  sigaddset(&held, SIGTERM);
  sigaddset(&held, SIGINT);
  sigaddset(&held, SIGCHLD);
  sigprocmask(SIG_BLOCK, &held, &open);
  struct sigaction childEnded{};
  childEnded.sa_handler = OnChildEnded;
  sigemptyset(&childEnded.sa_mask);
  sigaction(SIGCHLD, &childEnded, nullptr);

  WatchAndStart(watch, options, SaverCommandOf(saverArguments), open);
  const bool lost = watch.lost && !StopSignalCame();
  CloseIdleWatch(watch);
  sigprocmask(SIG_SETMASK, &open, nullptr);
  if (lost) Say("the connection to the desktop was lost");
  return 0;
}
