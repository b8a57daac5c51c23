// The frames on the surfaces. One frame step draws every surface that shows
// the scene and can be seen, and holds the frame; it is presented on all of
// them together when it is due on the display of one of them, the clock
// (the fastest display; the first of equals): each frame stays up the same
// whole number of that display's refreshes (FramePacing). The clock keeps a
// frame callback asked for while a frame waits, with a commit of no new
// frame, so that each of its refreshes is told; the one after a frame was
// presented says that it is shown. A surface whose frame callback has not
// come for a while cannot be seen (an output switched off, a window on
// another workspace) and is left out until it comes.
#include <time.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdio>

#include "frames/frame.h"
#include "presentation-time-client-protocol.h"
#include "render/corner_text.h"
#include "render/gl.h"
#include "wayland/desktop.h"

namespace {

constexpr int64_t kMillisecond = 1000000;  // ns
// A frame callback this late: the surface cannot be seen.
constexpr int64_t kUnseenAfter = kUnseenTickInterval * kMillisecond;
constexpr size_t kMostFeedbacks = 8;  // presentation feedbacks a surface waits for

bool Seen(const Surface& s, int64_t now) { return !s.frame || now - s.askedAt < kUnseenAfter; }

bool ShowsScene(const Surface* s) { return s && s->scene && s->configured && s->gl.drawable; }

// The display's refresh period, from the compositor's presentation times
// where they came, else from the output's mode; 0 when neither says.
int64_t RefreshOf(const Surface& s) {
  if (s.presentedRefresh > 0) return s.presentedRefresh;
  const Output* o = s.output ? s.output : s.on;
  return o && o->refresh > 0 ? int64_t{1000000000000} / o->refresh : 0;
}

bool Faster(const Surface& s, const Surface& than) {
  const int64_t period = RefreshOf(s);
  return period > 0 && (RefreshOf(than) == 0 || period < RefreshOf(than));
}

// The surfaces of the frame step, in its order; room for all is made once.
std::vector<Surface*> Step;

// Chooses the surfaces of the next step and its clock.
void ChooseSurfaces(Desktop& d) {
  Step.reserve(kMaxMonitors + 1);
  Step.clear();
  const int64_t now = Now();
  auto add = [&](Surface* s) {
    if (ShowsScene(s) && Seen(*s, now) && Step.size() < Step.capacity()) Step.push_back(s);
  };
  add(d.window.get());
  for (auto& o : d.outputs) add(o->surface.get());
  Surface* clock = nullptr;
  for (Surface* s : Step)
    if (!clock || Faster(*s, *clock)) clock = s;
  if (clock != d.clock) {
    d.clock = clock;
    d.pacing.Restart();
  }
  d.pacing.SetRefresh(clock ? RefreshOf(*clock) : 0);
}

bool Held() {
  return std::any_of(Step.begin(), Step.end(), [](const Surface* s) { return s->drawn; });
}

void SelectSurface(int i) {
  MakeCurrentOn(Step[i]->gl);
  FrameViewports.count = 1;
  FrameViewports.items[0] = Step[i]->viewport;
}

// The frame is drawn to the end now, so that presenting it later takes no
// drawing of its own.
void HoldFrame(int i) {
  Surface& s = *Step[i];
  DrawCornerText(Wayland.cornerText.c_str(), s.width * s.scale, s.height * s.scale,
                 kCornerTextScale * s.scale);
  glFinish();
  s.drawn = true;
}

// When the compositor sent a frame callback: its time in ms where that is
// of our clock (most compositors give their monotonic clock's), else now.
// A callback that came while a frame was drawn is read only after it.
int64_t SentAt(uint32_t ms) {
  const int64_t now = Now();
  const auto late = static_cast<int32_t>(static_cast<uint32_t>(now / kMillisecond) - ms);
  return late >= 0 && late < 1000 ? now - late * kMillisecond : now;
}

void OnFrameDone(void* data, wl_callback* callback, uint32_t ms) {
  auto* s = static_cast<Surface*>(data);
  s->shown = true;
  if (s->frame == callback) {
    s->frame = nullptr;
    if (s == Wayland.clock) Wayland.pacing.Refreshed(SentAt(ms));
  }
  wl_callback_destroy(callback);
}
const wl_callback_listener kFrameListener = {OnFrameDone};

void Forget(Surface& s, struct wp_presentation_feedback* feedback) {
  std::erase(s.feedbacks, feedback);
  wp_presentation_feedback_destroy(feedback);
}

void OnSyncOutput(void*, struct wp_presentation_feedback*, wl_output*) {}
void OnPresented(void* data, struct wp_presentation_feedback* feedback, uint32_t secondsHigh,
                 uint32_t secondsLow, uint32_t nanoseconds, uint32_t refresh, uint32_t, uint32_t,
                 uint32_t) {
  auto* s = static_cast<Surface*>(data);
  const uint64_t at = ((uint64_t{secondsHigh} << 32 | secondsLow) * 1000000000u) + nanoseconds;
  if (s->lastShown) Wayland.shown.Add(static_cast<double>(at - s->lastShown) / 1e6);
  s->lastShown = at;
  if (refresh > 0) s->presentedRefresh = refresh;
  Forget(*s, feedback);
}
void OnDiscarded(void* data, struct wp_presentation_feedback* feedback) {
  ++Wayland.shown.discarded;
  Forget(*static_cast<Surface*>(data), feedback);
}
const wp_presentation_feedback_listener kFeedbackListener = {OnSyncOutput, OnPresented,
                                                             OnDiscarded};

}  // namespace

void ShownIntervals::Add(double ms) {
  least = count == 0 ? ms : std::min(least, ms);
  most = count == 0 ? ms : std::max(most, ms);
  sum += ms;
  ++count;
}

int64_t Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

bool FrameCanBeDrawn(Desktop& d) {
  ChooseSurfaces(d);
  if (Step.empty() || Held()) return false;
  // Without the refresh, the frames follow the clock's callbacks.
  return d.pacing.Refresh() > 0 || !d.pacing.Awaiting();
}

void DrawFrameStep(Desktop& d) {
  ChooseSurfaces(d);
  const int64_t start = Now();
  RenderFrameOnSurfaces(static_cast<int>(Step.size()), SelectSurface, HoldFrame);
  d.pacing.Drawn(Now() - start);
}

void PresentWhenDue(Desktop& d) {
  ChooseSurfaces(d);
  if (!Held()) return;
  if (!d.pacing.Due()) {
    // The next refresh is to be told, where it is known what one lasts. A
    // commit that changes nothing brings no callback from KWin, which
    // repaints only what is damaged: one pixel is, with the frame shown.
    if (d.pacing.Refresh() > 0 && !d.clock->frame) {
      AskForFrame(d, *d.clock, false);
      wl_surface_damage_buffer(d.clock->surface, 0, 0, 1, 1);
      wl_surface_commit(d.clock->surface);
    }
    return;
  }
  for (Surface* s : Step) {
    if (!s->drawn) continue;
    s->drawn = false;
    MakeCurrentOn(s->gl);
    // The clock's callback must be this frame's; another surface keeps the
    // one it waits for, which says whether it can be seen.
    if (s->frame && s == d.clock) {
      wl_callback_destroy(s->frame);
      s->frame = nullptr;
    }
    if (!s->frame) AskForFrame(d, *s, true);
    PresentOn(s->gl);
  }
  d.pacing.Presented();
}

void AskForFrame(Desktop& d, Surface& s, bool withFrame) {
  s.frame = wl_surface_frame(s.surface);
  s.askedAt = Now();
  wl_callback_add_listener(s.frame, &kFrameListener, &s);
  // A compositor that leaves the feedback unanswered is not asked for more.
  if (withFrame && d.presentation && s.feedbacks.size() < kMostFeedbacks) {
    s.feedbacks.push_back(wp_presentation_feedback(d.presentation, s.surface));
    wp_presentation_feedback_add_listener(s.feedbacks.back(), &kFeedbackListener, &s);
  }
}

void ForgetFrames(Desktop& d, Surface& s) {
  if (s.frame) wl_callback_destroy(s.frame);
  s.frame = nullptr;
  for (struct wp_presentation_feedback* feedback : s.feedbacks) wp_presentation_feedback_destroy(feedback);
  s.feedbacks.clear();
  if (d.clock == &s) d.clock = nullptr;
  std::erase(Step, &s);
}

std::string ShownFrames(Desktop& d) {
  if (!d.presentation) return "";
  char text[128];
  if (d.shown.count == 0)
    std::snprintf(text, sizeof text, "; the compositor reports none shown, %d discarded",
                  d.shown.discarded);
  else
    std::snprintf(text, sizeof text, "; shown %.1f ms apart (%.1f to %.1f), %d discarded",
                  d.shown.sum / d.shown.count, d.shown.least, d.shown.most, d.shown.discarded);
  d.shown = ShownIntervals{};
  return text;
}
