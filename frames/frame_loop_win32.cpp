// The frame loop on a window: each RenderTick drains the queue, draws one
// frame and asks for the next. There is no timer and no second thread:
// exactly one RenderTick is outstanding while frames run. While nothing can
// be seen (the display is off, the window hidden or minimised) no frame is
// drawn and the ticks come slowly. A 1 ms timer period is held while frames
// are drawn, so that the pacing's sleep ends on time, and given back while
// none can be seen, so that a dark screen lets the processor rest.
#include "frames/frame_loop_win32.h"

#include "controls/view_keys.h"
#include "core/saver_state.h"
#include "frames/display_state_win32.h"
#include "frames/frame.h"
#include "platform/messages.h"
#include "render/gl_context.h"

namespace {

enum class Drained { All, Close, Quit };

// Removes every message queued for the window, up to a close or a quit. The
// keys' way is asked for each key message, so that keys behind a click that
// changes it go the new way. A quit is posted again with its code and ends the
// drain: under Wine a PeekMessage filtered on the window hands WM_QUIT back
// too, and dispatched it would be lost.
Drained DrainQueue(HWND window, KeysSteerView keysSteerView) {
  MSG message;
  while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
    const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP;
    if (key && (!keysSteerView || keysSteerView())) {
      HandleViewKey(window, message.message, message.wParam, message.lParam);
    } else if (message.message == WM_CLOSE) {
      return Drained::Close;
    } else if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return Drained::Quit;
    } else {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return Drained::All;
}

bool TimerHeld = false;

void HoldTimerPeriod(bool hold) {
  if (hold == TimerHeld) return;
  if (hold) RequestMillisecondTimer();
  else ReleaseMillisecondTimer();
  TimerHeld = hold;
}

}  // namespace

void PostRenderTick(HWND window) {
  PostMessageA(window, kRenderTick, kRenderTickParam, static_cast<LPARAM>(kRenderTickParam));
}

void StartFrames(HWND window) {
  MatchSwapToMonitor(window);
  SaverState.LastSwitchTime = TickCount();
  PostRenderTick(window);
}

void HandleRenderTick(HWND window, KeysSteerView keysSteerView) {
  if (SaverState.InTick || SaverState.Closing) return;
  SaverState.InTick = true;
  const Drained drained = DrainQueue(window, keysSteerView);
  if (drained == Drained::Close) AskToClose();
  if (SaverState.Closing) {
    // The close is handled at top level, where it runs once.
    if (!SaverState.Closed) PostMessageA(window, WM_CLOSE, 0, 0);
  } else if (drained != Drained::Quit) {
    // After a quit the message loop ends: no frame, and no further tick,
    // which would stand before the quit in the queue for ever. Unseen, the
    // scenes stand still; the cycle time keeps counting.
    const bool seen = FramesCanBeSeen(window);
    HoldTimerPeriod(seen);
    if (seen) RenderFrame(window);
    else AwaitUnseenTick();
    PostRenderTick(window);
  }
  SaverState.InTick = false;
}

bool StopFrames() {
  if (SaverState.Closed) return false;
  SaverState.Closed = true;
  AskToClose();
  HoldTimerPeriod(false);
  DestroyGLContext();
  return true;
}
