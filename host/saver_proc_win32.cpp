// The saver's own window procedure: creation loads the settings, covers the
// monitors and starts the frames, close stops them and saves, destruction
// stops them, each RenderTick runs a frame, and a new display layout is
// covered anew. The full-screen saver follows the display's power state, so
// that nothing is drawn while the display is off.
#include "core/module_table.h"
#include "core/saver_state.h"
#include "frames/display_state_win32.h"
#include "frames/frame.h"
#include "frames/frame_loop_win32.h"
#include "host/host_state_win32.h"
#include "host/monitors_win32.h"
#include "host/saver_window_win32.h"
#include "platform/messages.h"
#include "render/gl_context.h"
#include "settings/registry_win32.h"
#include "settings/store.h"

namespace {

void OnCreate(HWND window) {
  StartSaverState(true, window, !HostState.PreviewMode);
  SetSettingsKey(window, kSettingsKeyPath);
  LoadSettings();
  // The full-screen window covers the monitors its setting asks for (it was
  // made over the primary one) before its context is made.
  FrameViewports = {};
  if (SaverState.FullScreen) CoverMonitors(window);
  if (!CreateGLContext(window, kColourBits)) return;  // it has shown its message
  StartFrames(window);
  if (!HostState.PreviewMode) WatchDisplayState(window);
}

// The system may move the cursor when monitors move or go away; that is not
// the user moving the mouse, so its travel counts from where it is now. The
// refresh rate may have changed with the layout.
void OnDisplayChange(HWND window) {
  MatchSwapToMonitor(window);
  if (HostState.PreviewMode) return;
  CoverMonitors(window);
  TakeCursorAnchor();
}

void OnClose() {
  if (!StopFrames()) return;
  StoreModuleParams(CurrentModule);
  // The preview cannot change the settings by key, and a preview that closes
  // after the settings dialog saved must not put its stale copy back.
  if (!HostState.PreviewMode) SaveSettings();
}

// A preview whose parent is destroyed gets no close, only this: no frame is
// drawn into the window being destroyed, the context is released, and nothing
// is saved (the preview never saves). The display's state is watched no more.
void OnDestroy() {
  StopFrames();
  StopWatchingDisplayState();
}

}  // namespace

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_CLOSE:
      OnClose();
      break;
    case WM_DESTROY:
      OnDestroy();
      break;
    case kRenderTick:
      HandleRenderTick(window);
      break;
    case WM_DISPLAYCHANGE:
      OnDisplayChange(window);
      break;
    case WM_POWERBROADCAST:
      NoteDisplayState(wParam, lParam);
      break;
  }
  return SaverDefaultProc(window, message, wParam, lParam);
}
