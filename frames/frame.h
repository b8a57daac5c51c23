// The frame step shared by the saver window and the settings dialog's live
// preview.
#pragma once

#include "core/monitor_layout.h"
#include "core/saver_state.h"
#include "platform/platform.h"

// Where the frame is drawn in the full-screen saver's window: the current
// module once in each viewport, all from the same state, so that the scene
// advances once per frame. With none (the preview, the settings pane) the
// scene fills the window as its GL context set it up.
extern ViewportList FrameViewports;

// The least time between the starts of two frames.
constexpr uint32_t kFrameInterval = 30;  // ms

// One frame: cycles modules in saver mode, paces to kFrameInterval, draws the
// current module and presents it when the scene reported no GL error.
void RenderFrame(WindowHandle window);

// One frame of the module's scene (1 to 10) from its own state, where the frame
// step draws: the scene's frame, or the empty frame of a module that is not
// enabled. True when no GL error is pending at its end.
bool DrawModuleScene(int module);

// The same frame step drawn on several GL surfaces that each present on
// their own (the outputs of a Wayland desktop): the module cycles and the
// frame is paced once, then for each surface `select` makes it current and
// sets its FrameViewports, the scene is drawn from the same frame state as
// on the first, and `present` shows it when the scene reported no GL error.
// So the scene advances once per frame, whatever the number of surfaces.
void RenderFrameOnSurfaces(int count, void (*select)(int surface), void (*present)(int surface));

// How long the pacing would sleep if a frame began now: 0 once kFrameInterval
// has passed since the last one began.
uint32_t TimeToNextFrame();

// The swap interval for a display of this refresh rate: the fewest refreshes
// that last kFrameInterval (2 at 60 Hz, 3 at 75, 4 at 120, 5 at 144), so that
// every frame stays up equally long. 0 when the rate is unknown (the systems
// report 0 or 1 then).
int SwapIntervalFor(int refreshHz);
// Sets that interval on the current GL context, where the driver offers swap
// control; with the rate unknown, leaves the interval as it is.
void MatchSwapInterval(int refreshHz);

// Puts everything the engine holds back to how a process starts: the module
// tables, the frame state, the saver's flags, the settings and the viewports.
void ResetEngineState();

// While no frame could be seen (the display is off, the window hidden), the
// frame loop calls no RenderFrame, so the scenes stand still while the cycle
// time keeps counting, and asks again this often at most.
constexpr uint32_t kUnseenTickInterval = 250;  // ms
