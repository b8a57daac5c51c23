// FramePacing against a model of a compositor and the Wayland front end's
// loop: the compositor refreshes every period, sends a frame callback at a
// refresh to a surface that asked for one, and shows a frame committed
// before a refresh at that refresh. The client draws a frame right after
// presenting the one before (at least 30 ms after the last began), holds it,
// reads the callbacks only when it is not drawing, and presents the frame
// held when it is due, asking for the next refresh otherwise.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "frames/frame.h"
#include "frames/frame_pacing.h"

namespace {

constexpr int64_t kMs = 1000000;

// The refresh at which each frame was shown, for drawing times `drawing(i)`,
// on a compositor that shows a frame `lag` refreshes after the one it came
// before (2: it must come a while before a refresh) and refreshes every
// period, or every `actual` ns where that is not the period it tells.
std::vector<int64_t> ShownRefreshes(int64_t told, const std::function<int64_t(int)>& drawing,
                                    int frames, int lag = 1, int64_t actual = 0) {
  const int64_t period = actual ? actual : told;
  FramePacing pacing;
  pacing.SetRefresh(told);
  std::vector<int64_t> shown;
  int64_t now = 0, lastStart = -kFrameInterval * kMs;
  int64_t committed = -1;     // when the callback asked for was committed, -1 for none
  bool framePending = false;  // with the frame presented, not shown yet
  int drawn = 0;
  auto draw = [&] {
    const int64_t start = std::max(now, lastStart + kFrameInterval * kMs);
    const int64_t took = drawing(drawn++);
    lastStart = start;
    now = start + took;
    pacing.Drawn(took);
  };
  draw();
  while (static_cast<int>(shown.size()) < frames) {
    if (pacing.Due()) {  // present the frame held, then draw the next
      committed = now;
      framePending = true;
      pacing.Presented();
      draw();
      continue;
    }
    if (committed < 0) committed = now;  // a commit that only asks for the next refresh
    // The refresh after the commit (or `lag` after) shows its frame and
    // sends the callback, which is read then or, while drawing, after the
    // drawing.
    const int64_t refresh = (committed / period + (framePending ? lag : 1)) * period;
    if (framePending) shown.push_back(refresh / period);
    framePending = false;
    committed = -1;
    now = std::max(now, refresh);
    pacing.Refreshed(refresh);
  }
  return shown;
}

// How many frames stayed up each number of refreshes, after the first few.
std::map<int64_t, int> Intervals(const std::vector<int64_t>& shown) {
  std::map<int64_t, int> count;
  for (size_t i = 10; i < shown.size(); ++i) ++count[shown[i] - shown[i - 1]];
  return count;
}

TEST(FramePacingTest, EachFrameStaysUpTheFewestRefreshesThatLastTheFrameInterval) {
  for (const int hz : {60, 75, 120, 144}) {
    const int64_t period = 1000000000 / hz;
    const auto shown = ShownRefreshes(period, [](int) { return 5 * kMs; }, 100);
    EXPECT_EQ(Intervals(shown), (std::map<int64_t, int>{{SwapIntervalFor(hz), 90}})) << hz << " Hz";
    const auto late = ShownRefreshes(period, [](int) { return 5 * kMs; }, 100, 2);
    EXPECT_EQ(Intervals(late), (std::map<int64_t, int>{{SwapIntervalFor(hz), 90}})) << hz << " Hz, lag 2";
  }
}

// At 60 Hz two refreshes hold a frame; one that takes longer to draw than
// that is shown evenly at the next whole number, whatever each frame takes
// within the range, and once the drawing is quick again so are the frames.
TEST(FramePacingTest, SlowDrawingIsShownEvenlyAtTheNextWholeNumberOfRefreshes) {
  const int64_t period = 16666667;
  const auto slow = [](int i) { return (36 + (i * 7) % 10) * kMs; };  // 36 to 45 ms
  EXPECT_EQ(Intervals(ShownRefreshes(period, slow, 100)), (std::map<int64_t, int>{{3, 90}}));
  const auto slower = [](int i) { return (50 + (i * 7) % 10) * kMs; };  // 50 to 59 ms
  EXPECT_EQ(Intervals(ShownRefreshes(period, slower, 100)), (std::map<int64_t, int>{{4, 90}}));

  // One frame held up by far (a shader compiled, a load spike) is late once.
  const auto spike = [](int i) { return (i == 40 ? 200 : 10) * kMs; };
  const auto late = Intervals(ShownRefreshes(period, spike, 100));
  EXPECT_EQ(late.at(2), 89);
  EXPECT_EQ(late.size(), 2u);

  const auto quicker = [](int i) { return (i < 30 ? 40 : 8) * kMs; };
  const auto shown = ShownRefreshes(period, quicker, 100);
  for (size_t i = 50; i < shown.size(); ++i) EXPECT_EQ(shown[i] - shown[i - 1], 2) << i;
}

// A compositor whose refreshes come more seldom than it says (Weston
// headless says 60 Hz and repaints every 25.7 ms, a refresh and its repaint
// window): the frames stay up alike, at least the frame interval.
TEST(FramePacingTest, RefreshesSlowerThanToldStillShowTheFramesEvenly) {
  const int64_t actual = 25666667;
  const auto shown = ShownRefreshes(16666667, [](int) { return 3 * kMs; }, 60, 1, actual);
  const auto intervals = Intervals(shown);
  ASSERT_EQ(intervals.size(), 1u);
  EXPECT_GE(intervals.begin()->first * actual, kFrameInterval * kMs);
}

// Without the refresh, each frame is presented as soon as it is drawn, once
// the one before is shown.
TEST(FramePacingTest, WithoutTheRefreshAFrameIsDueOnceTheOneBeforeIsShown) {
  FramePacing pacing;
  EXPECT_EQ(pacing.Refreshes(), 0);
  EXPECT_TRUE(pacing.Due());
  pacing.Presented();
  EXPECT_FALSE(pacing.Due());
  pacing.Refreshed(5 * kMs);
  EXPECT_TRUE(pacing.Due());
}

}  // namespace
