// The saver's own window procedure: creation loads the settings and starts
// the frames, close stops them and saves, destruction stops them, and each
// RenderTick runs a frame.
#include "core/module_table.h"
#include "core/saver_state.h"
#include "frames/frame_loop_win32.h"
#include "host/host_state.h"
#include "host/saver_window_win32.h"
#include "platform/messages.h"
#include "render/gl_context.h"
#include "settings/store.h"

namespace {

constexpr int kColourBits = 32;

int ClientWidth(HWND window) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(window, &client);
  return client.right - client.left;
}

void OnCreate(HWND window) {
  SaverState.SaverMode = true;
  SaverState.Window = window;
  SetSettingsKey(window, kSettingsKeyPath);
  LoadSettings();
  SaverState.FullScreen = ClientWidth(window) == ClientWidth(GetDesktopWindow());
  if (!CreateGLContext(window, kColourBits)) return;  // it has shown its message
  StartFrames(window);
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
// is saved (the preview never saves).
void OnDestroy() { StopFrames(); }

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
  }
  return SaverDefaultProc(window, message, wParam, lParam);
}
