// Where frames are drawn, and the engine's whole state put back to its start
// values; apart from the frame step, so that programs without frames reset too.
#include "core/frame_state.h"
#include "core/module_table.h"
#include "core/saver_state.h"
#include "frames/frame.h"
#include "settings/store.h"

ViewportList FrameViewports = {};

void ResetEngineState() {
  ResetModuleTable();
  FrameState = {};
  SaverState = {};
  ResetSettings();
  FrameViewports = {};
}
