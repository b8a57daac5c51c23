// What lumvia-bench puts behind the engine's seams: a clock it steers (real
// time with sleeps skipped, a model of a system timer that moves in fixed
// steps, or a model display with a clock of its own), and counts of what a
// frame costs: heap allocations, quadric calls, clears, and the times of the
// texture's decode and mipmap build.
#pragma once

#include <cstdint>
#include <vector>

namespace bench {

// The clock that TickCount and SleepMilliseconds see.
// Unpaced: the real time in milliseconds; a sleep returns at once, so frames
// run as fast as the renderer draws them.
void UseUnpacedClock();
// A model system timer of the given step (15.625 ms: the Windows default,
// 1 ms: a 1 ms timer period). The model's time is the real time plus the
// time spent sleeping, which passes at once: the tick count is that time
// rounded down to a step, and a sleep ends on the first step at or after the
// moment it was asked to last until.
void UseSteppedClock(double stepMs);
// A model display and a clock that is all model: time passes only in sleeps
// (each ends on the first millisecond at or after its time, as under a 1 ms
// timer period), in drawing, which takes drawMs a frame, and in swaps that
// wait. The display refreshes hz times a second; with swap interval n a swap
// is shown at the first refresh at or after it that comes at least n
// refreshes after the frame shown before. A swap returns at once unless the
// frame before is still waiting to be shown; then it waits for that. The
// time each frame is shown is added to the list.
void UseModelDisplay(double hz, int swapInterval, double drawMs, std::vector<double>* shown);

// The clock's own time in milliseconds, unrounded.
double ClockNow();

// While false, the quadrics and clears the scenes ask for are counted but
// not drawn, so that a frame costs only the engine's own work.
void SetDrawing(bool drawing);

// While set, the clock's time at every glClear (the first thing a scene
// draws, just after the frame step's pacing) is added to the list.
void RecordFrameStarts(std::vector<double>* starts);

struct Counts {
  uint64_t mallocs = 0;      // malloc, calloc and realloc called by our own code
  uint64_t news = 0;         // operator new, anywhere in the process (the driver's too)
  uint64_t quadrics = 0;     // gluCylinder and gluSphere calls
  uint64_t clears = 0;       // glClear calls
  double decodeMs = 0;       // finding and decoding the sprite TGA
  double mipmapMs = 0;       // gluBuild2DMipmaps
};
Counts& Counted();

// Real time in milliseconds, and the CPU time of the whole process (the
// renderer's threads included).
double WallMs();
double CpuMs();

}  // namespace bench
