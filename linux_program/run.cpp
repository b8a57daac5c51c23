// The run of the Linux program around the frame step, on either window system.
#include "linux_program/run.h"

#include <signal.h>

#include <cstdio>

#include "core/module_table.h"
#include "core/saver_state.h"
#include "frames/frame.h"
#include "platform/say.h"
#include "settings/file_store.h"
#include "settings/store.h"

namespace {

constexpr uint32_t kFpsShownPeriod = 1000;    // ms between two -fps figures on screen
constexpr uint32_t kFpsPrintedPeriod = 5000;  // ms between two -fps lines on standard error

volatile sig_atomic_t StopSignal = 0;  // SIGTERM or SIGINT, once one came
void OnStopSignal(int signal) { StopSignal = signal; }

// What the end of a run needs, wherever it ends.
struct RunEnd {
  bool own = false;     // a window of its own: the views are saved on exit
  bool loaded = false;  // the settings are loaded and not saved yet
  StoredChoice stored;  // what the run's options replaced
};
RunEnd End;

// -fps: the frames counted over a period and given as a rate, on screen
// every second and, in a window of its own, on standard error every 5 s
// (under the daemon standard error only fills its log).
struct FrameCount {
  uint32_t period;
  uint32_t since = TickCount();
  int frames = 0;

  // The frames per second once a period is over, else a negative number.
  double Rate() {
    const uint32_t elapsed = TickCount() - since;
    if (elapsed < period) return -1.0;
    const double rate = frames * 1000.0 / elapsed;
    since += elapsed;
    frames = 0;
    return rate;
  }
};

struct FrameRate {
  FrameCount shown{kFpsShownPeriod};
  FrameCount printed{kFpsPrintedPeriod};

  void Count() {
    ++shown.frames;
    ++printed.frames;
  }
  void Report(FrameScreen& screen) {
    if (const double rate = shown.Rate(); rate >= 0.0) {
      char text[32];
      std::snprintf(text, sizeof text, "FPS: %.1f", rate);
      screen.ShowFrameRate(text);
    }
    if (const double rate = printed.Rate(); End.own && rate >= 0.0)
      Say("%.1f frames per second%s", rate, screen.ShownFrames().c_str());
  }
};

}  // namespace

void StartRun(const Options& options, WindowHandle window, bool own) {
  StartSaverState(true, window, own);
  End.own = own;
  if (std::string why; !LoadSettings(&why))
    Say("%s: %s", kSettingsUnreadable, why.c_str());
  End.stored = ApplyRunOptions(options);
  End.loaded = true;
  if (CurrentModule == 0)
    Say("no scene is enabled, so the screen stays black");
}

void RunFrames(const Options& options, FrameScreen& screen) {
  SaverState.LastSwitchTime = TickCount();
  FrameRate rate;
  while (true) {
    screen.HandleEvents();
    if (StopSignal) AskToClose();
    if (SaverState.Closing) break;
    if (!screen.FrameWanted()) {
      screen.WaitForEvents(kUnseenTickInterval);
    } else if (const uint32_t wait = TimeToNextFrame()) {
      screen.WaitForEvents(wait);
    } else {
      screen.DrawFrame();
      rate.Count();
    }
    if (options.fps) rate.Report(screen);
  }
  SaverState.Closed = true;
}

void SaveViews() {
  if (!End.loaded) return;
  End.loaded = false;
  StoreModuleParams(CurrentModule);
  if (!End.own) return;
  RestoreStoredChoice(End.stored);
  std::string why;
  if (!SaveSettings(&why))
    Say("%s: %s", kSettingsNotSaved, why.c_str());
}

void InstallStopSignals() {
  struct sigaction action{};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

bool StopSignalCame() { return StopSignal != 0; }

void EndByStopSignal() {
  if (!StopSignal) return;
  signal(StopSignal, SIG_DFL);
  raise(StopSignal);
}
