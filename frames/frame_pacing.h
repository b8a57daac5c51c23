// When to present frames on a window system that says when it shows them
// (the frame callbacks of a Wayland compositor, one at each of its
// refreshes) and presents without waiting for a refresh: each frame stays up
// the same whole number of the display's refreshes, as the swap interval
// gives elsewhere (`SwapIntervalFor`).
#pragma once

#include <cstdint>

class FramePacing {
 public:
  // The display's refresh period in ns; 0 when it is unknown, and then each
  // frame is presented as soon as it is drawn.
  void SetRefresh(int64_t period);
  int64_t Refresh() const { return period_; }

  // A frame step took this long (ns) to draw, from its start until it was
  // ready to present.
  void Drawn(int64_t took);
  // The frame drawn is presented now.
  void Presented();
  // A refresh of the display at `at` (ns; the time its frame callback was
  // sent): the first after Presented shows that frame.
  void Refreshed(int64_t at);
  // Forgets the frames shown (the display followed is another now): the
  // next frame is presented as soon as it is drawn.
  void Restart();

  // Whether the frame presented last is not shown yet.
  bool Awaiting() const { return awaiting_; }
  // The refreshes each frame stays up: the fewest that last the frame step's
  // interval, or more while drawing a frame takes longer than that; 0 while
  // the refresh is unknown.
  int Refreshes() const;
  // Whether a frame presented now, at the last refresh, is shown no sooner
  // than its predecessor's time on screen ends (less a quarter of a
  // refresh, for the compositor's clock): the compositor shows a frame a
  // while after the refresh it was presented at, as the frames before
  // showed (a refresh, where it takes what came before it repaints; two,
  // where a frame must come a while before, as Weston's repaint window
  // asks; a time of its own where it repaints less often than it says, as
  // Weston headless does). The least of the recent frames' lags counts: a
  // loaded machine only ever makes a frame later.
  bool Due() const;

 private:
  static constexpr int kDrawTimes = 8;  // the recent frames whose drawing time counts
  static constexpr int kLags = 8;       // the recent frames whose lag counts

  int64_t period_ = 0;
  int64_t shown_ = 0;      // the refresh that showed the frame presented last
  int64_t last_ = 0;       // the last refresh
  int64_t presentedAt_ = 0;  // the refresh the frame shown last was presented at
  int64_t lags_[kLags] = {};  // ns from a frame's present to its showing; 0: not known
  int nextLag_ = 0;
  bool known_ = false;     // a frame was shown since the start
  bool awaiting_ = false;  // presented, not shown yet
  int64_t drawTimes_[kDrawTimes] = {};
  int nextDrawTime_ = 0;
};
