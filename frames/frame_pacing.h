// When to present frames on a window system that says when it shows them
// (the frame callbacks of a Wayland compositor) and presents without waiting
// for a refresh: each frame stays up the same whole number of the display's
// refreshes, as the swap interval gives elsewhere (`SwapIntervalFor`).
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
  // The frame drawn is presented now: the next is presented only after this
  // one is shown.
  void Presented();
  // The frame presented last was shown at `at` (ns, the time its frame
  // callback came).
  void Shown(int64_t at);
  // Forgets the frame shown last (the display followed is another now): the
  // next frame is presented as soon as it is drawn.
  void Restart();

  // Whether a frame presented last is not shown yet.
  bool Awaiting() const { return awaiting_; }
  // The refreshes each frame stays up: the fewest that last the frame step's
  // interval, or more while drawing a frame takes longer than that; 0 while
  // the refresh is unknown.
  int Refreshes() const;
  // When the frame drawn now is to be presented (ns): half a refresh before
  // the refresh that ends its predecessor's time on screen, so that the
  // compositor takes it at that refresh. 0: at once.
  int64_t PresentAt() const;

 private:
  static constexpr int kDrawTimes = 16;  // the recent frames whose drawing time counts

  int64_t period_ = 0;
  int64_t shown_ = 0;
  bool known_ = false;     // shown_ holds when a frame was shown
  bool awaiting_ = false;  // presented, not shown yet
  int64_t drawTimes_[kDrawTimes] = {};
  int nextDrawTime_ = 0;
};
