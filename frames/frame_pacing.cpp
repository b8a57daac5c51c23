// The frames' time on screen, counted in the display's refreshes.
#include "frames/frame_pacing.h"

#include <algorithm>
#include <functional>

#include "frames/frame.h"

namespace {
constexpr int64_t kSecond = 1000000000;
}  // namespace

void FramePacing::SetRefresh(int64_t period) { period_ = std::max<int64_t>(period, 0); }

void FramePacing::Drawn(int64_t took) {
  drawTimes_[nextDrawTime_] = took;
  nextDrawTime_ = (nextDrawTime_ + 1) % kDrawTimes;
}

void FramePacing::Presented() {
  awaiting_ = true;
  presentedAt_ = known_ ? last_ : 0;
}

void FramePacing::Refreshed(int64_t at) {
  last_ = at;
  if (!awaiting_) return;
  if (presentedAt_ > 0 && at > presentedAt_) {
    lags_[nextLag_] = at - presentedAt_;
    nextLag_ = (nextLag_ + 1) % kLags;
  }
  shown_ = at;
  known_ = true;
  awaiting_ = false;
}

void FramePacing::Restart() {
  known_ = false;
  awaiting_ = false;
}

// The next frame is drawn as soon as the one before is presented, and must
// be ready by the refresh at which it is due itself, a frame's time later:
// so a frame lasts as many refreshes again as recent drawing needs, with a
// quarter of a refresh to spare. The slowest of the recent frames is left
// out: a single frame held up (the first, while the driver compiles its
// shaders; one the machine's load delayed) is shown late once, and the
// frames after it keep their spacing.
int FramePacing::Refreshes() const {
  if (period_ <= 0) return 0;
  const int hz = static_cast<int>((kSecond + period_ / 2) / period_);
  int64_t times[kDrawTimes];
  std::copy(drawTimes_, drawTimes_ + kDrawTimes, times);
  std::nth_element(times, times + 1, times + kDrawTimes, std::greater<>());
  const int drawing = static_cast<int>((times[1] + period_ / 4) / period_) + 1;
  return std::max({SwapIntervalFor(hz), drawing, 1});
}

// The time since the frame before was shown is counted from the times of
// the callbacks: several refreshes may pass while a frame is drawn, with
// one callback to tell of them.
bool FramePacing::Due() const {
  if (awaiting_) return false;
  if (period_ <= 0 || !known_) return true;
  int64_t lag = 0;
  for (const int64_t l : lags_)
    if (l > 0 && (lag == 0 || l < lag)) lag = l;
  if (lag == 0) lag = period_;
  return last_ - shown_ + lag >= Refreshes() * period_ - period_ / 4;
}
