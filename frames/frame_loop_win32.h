// The frame loop on a window, shared by the saver window and the settings
// dialog's live preview: starting it, the self-posted RenderTick with its
// drain of the window's queue, and stopping it.
#pragma once

#include <windows.h>

// Asks for the next frame: posts RenderTick to the window.
void PostRenderTick(HWND window);

// Starts the frames on a window whose GL context is made: the swap interval
// is set for the window's monitor, the cycle time counts from now and the
// first RenderTick is posted.
void StartFrames(HWND window);

// One RenderTick of the saver window: drains the window's queue (key messages
// go to the keyboard controls), then draws a frame and posts the next
// RenderTick, or posts WM_CLOSE when a close was requested. A drawn frame
// holds the 1 ms timer period. While no frame can be seen
// (display_state_win32.h) it gives the period back, draws nothing and waits,
// at most kUnseenTickInterval, before it posts the next. A quit found in the
// queue is left there, and the tick draws nothing and posts no further tick.
// Does nothing while a tick runs or a close is under way.
void HandleRenderTick(HWND window);

// Asked in the settings dialog for each key message its drain meets, with the
// message's key: true when the key goes to the keyboard controls, false when
// it goes to the dialog manager.
using KeysSteerView = bool (*)(WPARAM key);

// One RenderTick of the settings dialog, as the saver window's, except that
// the key messages keysSteerView does not take, and every other message of
// the dialog, go through the dialog manager (IsDialogMessage: Tab, Space, the
// keys of a list), and that the next tick waits while the mouse or painting
// waits for another window of the thread: the drop-down list of a combo box
// is a window of its own, and posted ticks come before input and painting.
void HandleDialogRenderTick(HWND dialog, KeysSteerView keysSteerView);

// Stops the frames, gives the timer period back, forgets a tick that waits
// and releases the GL context; false when they were stopped already, so that
// a close is handled once.
bool StopFrames();
