// The saver's own window procedure: creation loads the settings and starts
// the frames, close stops them and saves, and each RenderTick drains the
// queue, draws one frame and asks for the next.
#include "core/saver_window_win32.h"

#include "controls/view_keys.h"
#include "core/frame.h"
#include "core/module_table.h"
#include "host/host_state.h"
#include "host/saver_window_win32.h"
#include "platform/messages.h"
#include "render/gl_context.h"
#include "settings/store.h"

namespace {

constexpr int kColourBits = 32;

void PostRenderTick(HWND window) {
  PostMessageA(window, kRenderTick, kRenderTickParam, static_cast<LPARAM>(kRenderTickParam));
}

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
  SaverState.LastSwitchTime = TickCount();
  PostRenderTick(window);
}

void OnClose() {
  if (SaverState.Closed) return;
  SaverState.Closed = true;
  SaverState.Closing = true;
  DestroyGLContext();
  StoreModuleParams(CurrentModule);
  // The preview cannot change the settings by key, and a preview that closes
  // after the settings dialog saved must not put its stale copy back.
  if (!HostState.PreviewMode) SaveSettings();
}

// Removes every message queued for the window; true when a close was found.
bool DrainQueue(HWND window, bool keysSteerView) {
  MSG message;
  while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
    const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP;
    if (key && keysSteerView) {
      HandleViewKey(window, message.message, message.wParam, message.lParam);
    } else if (message.message == WM_CLOSE) {
      return true;
    } else {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return false;
}

}  // namespace

void HandleRenderTick(HWND window, bool keysSteerView) {
  if (SaverState.InTick || SaverState.Closing) return;
  SaverState.InTick = true;
  if (DrainQueue(window, keysSteerView)) SaverState.Closing = true;
  if (SaverState.Closing) {
    // The close is handled at top level, where it runs once.
    if (!SaverState.Closed) PostMessageA(window, WM_CLOSE, 0, 0);
  } else {
    RenderFrame(window);
    PostRenderTick(window);
  }
  SaverState.InTick = false;
}

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_CLOSE:
      OnClose();
      break;
    case kRenderTick:
      HandleRenderTick(window, true);
      break;
  }
  return SaverDefaultProc(window, message, wParam, lParam);
}
