// The frame step shared by the saver window and the settings preview:
// module cycling, pacing to 30 ms, drawing the current module, presenting it.
#include "frames/frame.h"

#include "core/frame_state.h"
#include "core/module_table.h"
#include "render/gl.h"
#include "render/gl_context.h"
#include "render/render_state.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "settings/store.h"

namespace {

// In the saver window only, and only with a choice of modules: the next
// enabled module once the current one has been shown for longer than the
// cycle time.
void CycleModule() {
  if (!SaverState.SaverMode || CountActiveModules() <= 1) return;
  const uint32_t shown = TickCount() - SaverState.LastSwitchTime;
  // CycleTime is never negative after a load; the product is taken in 64
  // bits so that a very long cycle time cannot overflow.
  if (static_cast<int64_t>(shown) <= static_cast<int64_t>(CycleTime) * 1000) return;
  SaverState.LastSwitchTime = TickCount();
  StoreModuleParams(CurrentModule);
  CurrentModule = NextActiveModule(CurrentModule);
  LoadModuleParams(CurrentModule);
}

// What every frame step does before it draws: the module cycles, the frame
// is paced, its start noted.
void StartFrame() {
  CycleModule();
  if (const uint32_t wait = TimeToNextFrame()) SleepMilliseconds(wait);
  SaverState.LastFrameTime = TickCount();
}

// Each viewport after the first is drawn from the frame state the first
// started from; drawing is deterministic, so each ends in the same state, and
// the scene has advanced by one frame. Several viewports clip their own clear.
bool DrawInViewports(int module) {
  const ViewportList& list = FrameViewports;
  const bool clip = list.count > 1;
  const FrameStateRecord before = FrameState;
  if (clip) glEnable(GL_SCISSOR_TEST);
  bool drawn = true;
  for (int i = 0; i < list.count; ++i) {
    const Viewport& v = list.items[i];
    if (i > 0) FrameState = before;
    SetViewportAt(v.x, v.y, v.width, v.height);
    if (clip) glScissor(v.x, v.y, v.width, v.height);
    drawn = DrawModuleScene(module) && drawn;
  }
  if (clip) glDisable(GL_SCISSOR_TEST);
  return drawn;
}

bool DrawModule(int module) {
  if (!IsModuleNumber(module)) return true;
  if (FrameViewports.count == 0) return DrawModuleScene(module);
  return DrawInViewports(module);
}

}  // namespace

// A module that is not enabled (unticked in the settings dialog while it is
// shown) has an empty frame.
bool DrawModuleScene(int module) {
  SceneState& state = SceneStates[module];
  if (!ModuleTable[module].active) return RunEmptyFrame(state);
  return Modules[module].draw(state);
}

int SwapIntervalFor(int refreshHz) {
  if (refreshHz <= 1) return 0;
  // n refreshes last n × 1000 / Hz ms: the least n with n × 1000 ≥ 30 × Hz.
  const int64_t product = int64_t{kFrameInterval} * refreshHz;
  return static_cast<int>((product + 999) / 1000);
}

void MatchSwapInterval(int refreshHz) {
  if (const int interval = SwapIntervalFor(refreshHz)) SetSwapInterval(interval);
}

uint32_t TimeToNextFrame() {
  const int32_t difference = static_cast<int32_t>(TickCount() - SaverState.LastFrameTime);
  const uint32_t elapsed = difference < 0 ? 0u - static_cast<uint32_t>(difference)
                                          : static_cast<uint32_t>(difference);
  return elapsed < kFrameInterval ? kFrameInterval - elapsed : 0;
}

void RenderFrame(WindowHandle window) {
  if (!SaverState.SaverMode) CheckModuleRadio(window, CurrentModule);
  StartFrame();
  const bool drawn = DrawModule(CurrentModule);
  if (drawn && !SaverState.Closing) SwapFrameBuffers();
}

// Each surface after the first is drawn from the frame state the first
// started from, as the viewports of one window are.
void RenderFrameOnSurfaces(int count, void (*select)(int), void (*present)(int)) {
  StartFrame();
  const FrameStateRecord before = FrameState;
  for (int i = 0; i < count; ++i) {
    if (i > 0) FrameState = before;
    select(i);
    if (DrawModule(CurrentModule) && !SaverState.Closing) present(i);
  }
}
