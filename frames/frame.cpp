// The frame step shared by the saver window and the settings preview:
// module cycling, pacing to 30 ms, drawing the current module, presenting it.
#include "frames/frame.h"

#include "core/module_table.h"
#include "render/gl_context.h"
#include "scenes/scenes.h"
#include "settings/store.h"

namespace {

constexpr int32_t kFrameInterval = 30;  // ms between the starts of two frames

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

void PaceFrame() {
  const int32_t difference = static_cast<int32_t>(TickCount() - SaverState.LastFrameTime);
  const uint32_t elapsed = difference < 0 ? 0u - static_cast<uint32_t>(difference)
                                          : static_cast<uint32_t>(difference);
  if (elapsed < kFrameInterval) SleepMilliseconds(kFrameInterval - elapsed);
}

}  // namespace

void RenderFrame(WindowHandle window) {
  if (!SaverState.SaverMode) CheckModuleRadio(window, CurrentModule);
  CycleModule();
  PaceFrame();
  SaverState.LastFrameTime = TickCount();
  bool drawn = true;
  if (IsModuleNumber(CurrentModule)) drawn = SceneFunctions[CurrentModule]();
  if (drawn && !SaverState.Closing) SwapFrameBuffers();
}
