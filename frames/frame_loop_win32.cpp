// The frame loop on a window: each RenderTick drains the queue, draws one
// frame and asks for the next. There is no timer and no second thread:
// exactly one RenderTick is outstanding while frames run.
#include "frames/frame_loop_win32.h"

#include "controls/view_keys.h"
#include "frames/frame.h"
#include "platform/messages.h"
#include "render/gl_context.h"

namespace {

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

void PostRenderTick(HWND window) {
  PostMessageA(window, kRenderTick, kRenderTickParam, static_cast<LPARAM>(kRenderTickParam));
}

void StartFrames(HWND window) {
  SaverState.LastSwitchTime = TickCount();
  PostRenderTick(window);
}

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

bool StopFrames() {
  if (SaverState.Closed) return false;
  SaverState.Closed = true;
  SaverState.Closing = true;
  DestroyGLContext();
  return true;
}
