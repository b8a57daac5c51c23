// The frames' time on screen, counted in the display's refreshes.
#include "frames/frame_pacing.h"

#include <algorithm>

#include "frames/frame.h"

namespace {
constexpr int64_t kSecond = 1000000000;
}  // namespace

void FramePacing::SetRefresh(int64_t period) { period_ = std::max<int64_t>(period, 0); }

void FramePacing::Drawn(int64_t took) {
  drawTimes_[nextDrawTime_] = took;
  nextDrawTime_ = (nextDrawTime_ + 1) % kDrawTimes;
}

void FramePacing::Presented() { awaiting_ = true; }

void FramePacing::Shown(int64_t at) {
  shown_ = at;
  known_ = true;
  awaiting_ = false;
}

void FramePacing::Restart() {
  known_ = false;
  awaiting_ = false;
}

// The next frame is drawn as soon as the one before is presented, and must
// be ready by the time it is due itself, one frame later: so a frame lasts
// as many refreshes again as the slowest recent drawing needs, with a
// quarter of a refresh to spare.
int FramePacing::Refreshes() const {
  if (period_ <= 0) return 0;
  const int hz = static_cast<int>((kSecond + period_ / 2) / period_);
  const int64_t slowest = *std::max_element(drawTimes_, drawTimes_ + kDrawTimes);
  const int drawing = static_cast<int>((slowest + period_ / 4) / period_) + 1;
  return std::max({SwapIntervalFor(hz), drawing, 1});
}

int64_t FramePacing::PresentAt() const {
  if (period_ <= 0 || !known_) return 0;
  return shown_ + (Refreshes() - 1) * period_ + period_ / 2;
}
