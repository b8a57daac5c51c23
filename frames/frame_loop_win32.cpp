// The frame loop on a window: each RenderTick drains the queue, draws one
// frame and asks for the next. No timer paces the frames and there is no
// second thread: exactly one RenderTick is outstanding while frames run (in
// the settings dialog it may wait for the thread's other windows first).
// While nothing can be seen (the display is off, the window hidden or
// minimised) no frame is drawn and the ticks come slowly. A 1 ms timer period is held while frames
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

// Removes every message queued for the window, up to a close or a quit. In
// the settings dialog the keys' way is asked for each key message, so that
// keys behind a click that changes it go the new way. A quit is posted again
// with its code and ends the drain: under Wine a PeekMessage filtered on the
// window hands WM_QUIT back too, and dispatched it would be lost.
Drained DrainQueue(HWND window, KeysSteerView dialogKeys) {
  MSG message;
  while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
    const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP;
    if (key && (!dialogKeys || dialogKeys(message.wParam))) {
      HandleViewKey(window, message.message, message.wParam, message.lParam);
    } else if (message.message == WM_CLOSE) {
      return Drained::Close;
    } else if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return Drained::Quit;
    } else if (!dialogKeys || !IsDialogMessageA(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return Drained::All;
}

// A tick that waits for the thread's other windows is posted by a thread
// timer's callback: a timer's message comes after every input and painting
// message, and the dialog's own loop dispatches it.
UINT_PTR WaitingTick = 0;
HWND WaitingTickWindow = nullptr;

void CALLBACK PostWaitingTick(HWND, UINT, UINT_PTR, DWORD) {
  KillTimer(nullptr, WaitingTick);
  WaitingTick = 0;
  PostRenderTick(WaitingTickWindow);
}

void PostTickAfterOthers(HWND dialog) {
  WaitingTickWindow = dialog;
  WaitingTick = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, PostWaitingTick);
  if (!WaitingTick) PostRenderTick(dialog);
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

// The tick of either window; dialogKeys is null for the saver window.
void RunTick(HWND window, KeysSteerView dialogKeys) {
  if (SaverState.InTick || SaverState.Closing) return;
  SaverState.InTick = true;
  Drained drained = DrainQueue(window, dialogKeys);
  if (drained == Drained::Close) AskToClose();
  bool othersWait = false;
  // After a quit the message loop ends: no frame, and no further tick, which
  // would stand before the quit in the queue for ever.
  if (!SaverState.Closing && drained != Drained::Quit) {
    // Unseen, the scenes stand still; the cycle time keeps counting.
    const bool seen = FramesCanBeSeen(window);
    HoldTimerPeriod(seen);
    if (seen) RenderFrame(window);
    else AwaitUnseenTick();
    if (dialogKeys) {
      // What came for the dialog while the frame was drawn is drained now:
      // the mouse or painting still waiting afterwards is another window's.
      // (Keys go to the focus, always the dialog's: a list that drops down
      // leaves it on its box.)
      drained = DrainQueue(window, dialogKeys);
      if (drained == Drained::Close) AskToClose();
      othersWait = drained == Drained::All && HIWORD(GetQueueStatus(QS_MOUSE | QS_PAINT)) != 0;
    }
  }
  if (SaverState.Closing) {
    // The close is handled at top level, where it runs once.
    if (!SaverState.Closed) PostMessageA(window, WM_CLOSE, 0, 0);
  } else if (drained != Drained::Quit) {
    if (othersWait) PostTickAfterOthers(window);
    else PostRenderTick(window);
  }
  SaverState.InTick = false;
}

void HandleRenderTick(HWND window) { RunTick(window, nullptr); }

void HandleDialogRenderTick(HWND dialog, KeysSteerView keysSteerView) { RunTick(dialog, keysSteerView); }

bool StopFrames() {
  if (SaverState.Closed) return false;
  SaverState.Closed = true;
  AskToClose();
  if (WaitingTick) KillTimer(nullptr, WaitingTick);
  WaitingTick = 0;
  HoldTimerPeriod(false);
  DestroyGLContext();
  return true;
}
