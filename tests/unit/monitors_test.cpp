// The full-screen saver on several monitors: the window and viewports laid
// out for each "other monitors" choice, and a frame drawn in several
// viewports, which must advance the scene exactly as a frame drawn in one.
#include <gtest/gtest.h>

#include <vector>

#include "core/frame_state.h"
#include "core/module_table.h"
#include "core/monitor_layout.h"
#include "core/random.h"
#include "frames/frame.h"
#include "tests/unit/gl_capture.h"
#include "tests/unit/test_seams.h"

bool operator==(const ScreenRect& a, const ScreenRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
bool operator==(const Viewport& a, const Viewport& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
void PrintTo(const ScreenRect& r, std::ostream* os) {
  *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
void PrintTo(const Viewport& v, std::ostream* os) {
  *os << v.width << "x" << v.height << " at " << v.x << "," << v.y;
}

namespace {

std::vector<Viewport> ViewportsOf(const MonitorLayout& layout) {
  return {layout.viewports.items, layout.viewports.items + layout.viewports.count};
}

TEST(MonitorLayoutTest, OneMonitorLooksTheSameWhateverTheChoice) {
  const ScreenRect monitor = {0, 0, 1280, 1024};
  for (int32_t choice : {0, 1, 2, 3, 4, -1}) {
    SCOPED_TRACE(choice);
    const MonitorLayout layout = LayOutMonitors(&monitor, 1, 0, choice);
    EXPECT_EQ(layout.window, monitor);
    EXPECT_EQ(ViewportsOf(layout), (std::vector<Viewport>{{0, 0, 1280, 1024}}));
  }
}

TEST(MonitorLayoutTest, TwoSideBySide) {
  const ScreenRect monitors[] = {{0, 0, 800, 600}, {800, 0, 1600, 600}};
  const ScreenRect both = {0, 0, 1600, 600};
  MonitorLayout black = LayOutMonitors(monitors, 2, 0, kOtherMonitorsBlack);
  EXPECT_EQ(black.window, both);
  EXPECT_EQ(ViewportsOf(black), (std::vector<Viewport>{{0, 0, 800, 600}}));
  MonitorLayout same = LayOutMonitors(monitors, 2, 0, kOtherMonitorsSameScene);
  EXPECT_EQ(same.window, both);
  EXPECT_EQ(ViewportsOf(same), (std::vector<Viewport>{{0, 0, 800, 600}, {800, 0, 800, 600}}));
  MonitorLayout spanning = LayOutMonitors(monitors, 2, 0, kOtherMonitorsSpanning);
  EXPECT_EQ(spanning.window, both);
  EXPECT_EQ(ViewportsOf(spanning), (std::vector<Viewport>{{0, 0, 1600, 600}}));
  MonitorLayout alone = LayOutMonitors(monitors, 2, 0, kOtherMonitorsLeftAlone);
  EXPECT_EQ(alone.window, monitors[0]);
  EXPECT_EQ(ViewportsOf(alone), (std::vector<Viewport>{{0, 0, 800, 600}}));
  // A choice that no version stores counts as black.
  EXPECT_EQ(ViewportsOf(LayOutMonitors(monitors, 2, 0, 9)), ViewportsOf(black));
}

// A smaller monitor left of the primary, listed first and so with negative
// coordinates, its bottom 56 rows above the primary's: GL counts rows from the
// bottom of the window.
TEST(MonitorLayoutTest, ASmallerMonitorLeftOfThePrimary) {
  const ScreenRect monitors[] = {{-1280, 0, 0, 1024}, {0, 0, 1920, 1080}};
  const ScreenRect bounds = {-1280, 0, 1920, 1080};
  const Viewport left = {0, 56, 1280, 1024}, primary = {1280, 0, 1920, 1080};
  MonitorLayout same = LayOutMonitors(monitors, 2, 1, kOtherMonitorsSameScene);
  EXPECT_EQ(same.window, bounds);
  EXPECT_EQ(ViewportsOf(same), (std::vector<Viewport>{left, primary}));
  EXPECT_EQ(ViewportsOf(LayOutMonitors(monitors, 2, 1, kOtherMonitorsBlack)), std::vector<Viewport>{primary});
  EXPECT_EQ(ViewportsOf(LayOutMonitors(monitors, 2, 1, kOtherMonitorsSpanning)),
            (std::vector<Viewport>{{0, 0, 3200, 1080}}));
  EXPECT_EQ(LayOutMonitors(monitors, 2, 1, kOtherMonitorsLeftAlone).window, monitors[1]);
  // A primary index out of range takes the first monitor.
  EXPECT_EQ(ViewportsOf(LayOutMonitors(monitors, 2, 5, kOtherMonitorsBlack)), std::vector<Viewport>{left});
}

TEST(MonitorLayoutTest, AMonitorAboveThePrimaryAndAThirdRightOfIt) {
  const ScreenRect monitors[] = {{0, 0, 1920, 1080}, {200, -768, 1224, 0}, {1920, 0, 3200, 1024}};
  MonitorLayout same = LayOutMonitors(monitors, 3, 0, kOtherMonitorsSameScene);
  EXPECT_EQ(same.window, (ScreenRect{0, -768, 3200, 1080}));
  EXPECT_EQ(ViewportsOf(same),
            (std::vector<Viewport>{{0, 0, 1920, 1080}, {200, 1080, 1024, 768}, {1920, 56, 1280, 1024}}));
}

TEST(MonitorLayoutTest, MonitorsBeyondTheLimitAreLeftOut) {
  std::vector<ScreenRect> monitors;
  for (int i = 0; i < kMaxMonitors + 3; ++i) monitors.push_back({100 * i, 0, 100 * i + 100, 50});
  MonitorLayout same = LayOutMonitors(monitors.data(), static_cast<int>(monitors.size()), 0, 1);
  EXPECT_EQ(same.viewports.count, kMaxMonitors);
  EXPECT_EQ(same.window, (ScreenRect{0, 0, 100 * kMaxMonitors, 50}));
  EXPECT_EQ(LayOutMonitors(monitors.data(), 0, 0, 1).viewports.count, 0);
}

// --- A frame in several viewports ------------------------------------------------

class ViewportFrameTest : public SceneTest {
 protected:
  using Frame = std::vector<gl_capture::QuadricCall>;

  // Draws frames of the module from its start, at the highest speed, in the
  // given viewports; returns the quadrics of each frame.
  static std::vector<Frame> RunFrames(int module, std::vector<Viewport> viewports, int frames) {
    ResetEngineState();  // the settings preview: no cycling
    SetBuiltInDefaults();
    ShowModule(module);
    g_fSpeed = 10.0f;
    SeedRandom(12345);
    for (const Viewport& v : viewports) FrameViewports.items[FrameViewports.count++] = v;
    std::vector<Frame> drawn;
    for (int i = 0; i < frames; ++i) {
      test_seams::SetNow(1000 + 40 * i);
      gl_capture::Clear();
      RenderFrame(nullptr);
      drawn.push_back(gl_capture::Calls());
    }
    return drawn;
  }
};

// A scene that kept a value outside the frame state would advance it once per
// viewport: the viewports would draw different pictures, or the scene would
// end elsewhere than drawn in one.
TEST_F(ViewportFrameTest, EveryViewportShowsTheSameFrameAndTheSceneAdvancesOnce) {
  constexpr int kFrames = 150;
  gl_capture::RecordOnly();
  const std::vector<Viewport> one = {{0, 0, 320, 240}};
  const std::vector<Viewport> three = {{0, 0, 100, 240}, {100, 120, 120, 120}, {220, 0, 100, 240}};
  for (int module = 1; module <= kModuleCount; ++module) {
    SCOPED_TRACE(Modules[module].name);
    const std::vector<Frame> single = RunFrames(module, one, kFrames);
    const FrameStateRecord afterOne = FrameState;
    const std::vector<Frame> several = RunFrames(module, three, kFrames);
    EXPECT_TRUE(FrameState == afterOne);
    for (int f = 0; f < kFrames; ++f) {
      ASSERT_EQ(several[f].size(), 3 * single[f].size()) << "frame " << f;
      for (size_t i = 0; i < several[f].size(); ++i)
        ASSERT_EQ(several[f][i].modelView, single[f][i % single[f].size()].modelView)
            << "frame " << f << ", call " << i;
    }
  }
  EXPECT_EQ(test_seams::Swaps(), 2 * kModuleCount * kFrames);
}

TEST_F(ViewportFrameTest, AGlErrorInAnyViewportKeepsTheFrameFromBeingPresented) {
  const std::vector<Viewport> two = {{0, 0, 160, 240}, {160, 0, 160, 240}};
  RunFrames(1, two, 1);
  const int perViewport = static_cast<int>(gl_capture::Calls().size()) / 2;
  test_seams::Reset();
  // "Love" lets only its central cylinder, the last quadric, decide the result:
  // that of the first viewport fails, the second viewport draws cleanly.
  gl_capture::RaiseErrorAtCall(perViewport - 1);
  RunFrames(1, two, 1);
  EXPECT_EQ(test_seams::Swaps(), 0);
}

// --- A frame on the surfaces of several outputs -------------------------------------

// The surfaces the frame step is drawing: the one selected sets its viewport,
// and the presented ones are noted.
std::vector<Viewport> Surfaces;
std::vector<int> Presented;
void SelectSurface(int i) {
  FrameViewports.count = 1;
  FrameViewports.items[0] = Surfaces[i];
}
void PresentSurface(int i) { Presented.push_back(i); }

// Each output of a Wayland desktop is a surface of its own: the scene must
// still advance once per frame and show the same picture on each.
TEST_F(ViewportFrameTest, EverySurfaceShowsTheSameFrameAndTheSceneAdvancesOnce) {
  constexpr int kFrames = 60;
  gl_capture::RecordOnly();
  Surfaces = {{0, 0, 320, 240}, {-320, 0, 640, 240}};
  for (int module : {1, 7, 9}) {  // "Love", "Truth" rolling its view, "Inspiration" drawing
    SCOPED_TRACE(Modules[module].name);
    const std::vector<Frame> single = RunFrames(module, {{0, 0, 320, 240}}, kFrames);
    const FrameStateRecord afterOne = FrameState;
    RunFrames(module, {}, 0);
    Presented.clear();
    for (int f = 0; f < kFrames; ++f) {
      test_seams::SetNow(1000 + 40 * f);
      gl_capture::Clear();
      RenderFrameOnSurfaces(2, SelectSurface, PresentSurface);
      const Frame both = gl_capture::Calls();
      ASSERT_EQ(both.size(), 2 * single[f].size()) << "frame " << f;
      for (size_t i = 0; i < both.size(); ++i)
        ASSERT_EQ(both[i].modelView, single[f][i % single[f].size()].modelView) << "frame " << f;
    }
    EXPECT_TRUE(FrameState == afterOne);
    EXPECT_EQ(Presented.size(), 2u * kFrames);
  }
}

TEST_F(ViewportFrameTest, AGlErrorOnOneSurfaceKeepsOnlyThatOneFromBeingPresented) {
  Surfaces = {{0, 0, 160, 240}, {0, 0, 320, 240}};
  RunFrames(1, {}, 0);
  gl_capture::Clear();
  RenderFrameOnSurfaces(1, SelectSurface, PresentSurface);
  const int perSurface = static_cast<int>(gl_capture::Calls().size());
  RunFrames(1, {}, 0);
  Presented.clear();
  gl_capture::Clear();
  // "Love"'s last quadric, its central cylinder, decides: the first fails.
  gl_capture::RaiseErrorAtCall(perSurface - 1);
  RenderFrameOnSurfaces(2, SelectSurface, PresentSurface);
  EXPECT_EQ(Presented, std::vector<int>{1});
}

}  // namespace
