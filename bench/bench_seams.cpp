// The seams of lumvia-bench: its steered clock, message boxes on stderr, no
// dialog behind the frame step, the model display, and the counters. The
// linker sends the engine's calls of malloc, calloc, realloc, glClear,
// gluCylinder, gluSphere, gluBuild2DMipmaps, glGenTextures, FindResourceBytes
// and SwapFrameBuffers here first (-Wl,--wrap, see CMakeLists.txt); operator
// new is replaced outright.
#include "bench/bench_seams.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>

#include "platform/platform.h"
#include "render/gl.h"

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_glClear(GLbitfield mask);
void __real_gluCylinder(GLUquadric* quadric, GLdouble base, GLdouble top, GLdouble height,
                        GLint slices, GLint stacks);
void __real_gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks);
GLint __real_gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height,
                               GLenum format, GLenum type, const void* data);
void __real_glGenTextures(GLsizei count, GLuint* names);
bool __real__Z17FindResourceBytestPKcPPKhPm(uint16_t id, const char* type, const uint8_t** data,
                                            size_t* size);
void __real__Z16SwapFrameBuffersv();
}

namespace bench {
namespace {

Counts Counters;
bool Drawing = true;

bool Stepped = false;
double Step = 1.0;
double SleptMs = 0;  // model time that passed in sleeps, at once

double DecodeStart = 0;
std::vector<double>* FrameStarts = nullptr;

struct ModelDisplay {
  bool on = false;
  double period = 0;  // ms between two refreshes
  int64_t interval = 1;
  double drawMs = 0;
  int64_t lastShown = -1;  // the refresh that showed the frame before
  std::vector<double>* shown = nullptr;
} Model;

}  // namespace

double WallMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void UseUnpacedClock() {
  Stepped = false;
  Model.on = false;
}

void UseSteppedClock(double stepMs) {
  Stepped = true;
  Step = stepMs;
  SleptMs = 0;
  Model.on = false;
}

// All of the model's time counts as slept: nothing real passes.
void UseModelDisplay(double hz, int swapInterval, double drawMs, std::vector<double>* shown) {
  UseSteppedClock(1.0);
  Model = {true, 1000.0 / hz, swapInterval, drawMs, -1, shown};
}

double ClockNow() {
  if (Model.on) return SleptMs;
  return WallMs() + (Stepped ? SleptMs : 0.0);
}

// A frame reaches the model display: drawn, queued behind the frame before
// while that one waits, then shown at the first refresh its interval allows.
void ShowOnModelDisplay() {
  SleptMs += Model.drawMs;
  const double lastShownAt = static_cast<double>(Model.lastShown) * Model.period;
  if (Model.lastShown >= 0 && lastShownAt > SleptMs) SleptMs = lastShownAt;
  // The refresh at or after now; the margin keeps a refresh time just
  // computed from rounding up to the next one.
  int64_t refresh = static_cast<int64_t>(std::ceil(SleptMs / Model.period - 1e-9));
  if (Model.lastShown >= 0) refresh = std::max(refresh, Model.lastShown + Model.interval);
  Model.lastShown = refresh;
  if (Model.shown) Model.shown->push_back(static_cast<double>(refresh) * Model.period);
}

void SetDrawing(bool drawing) { Drawing = drawing; }

void RecordFrameStarts(std::vector<double>* starts) { FrameStarts = starts; }

Counts& Counted() { return Counters; }

}  // namespace bench

using namespace bench;

// --- The platform seams ----------------------------------------------------

uint32_t TickCount() {
  const double now = ClockNow();
  const double ticked = Stepped ? std::floor(now / Step) * Step : now;
  return static_cast<uint32_t>(static_cast<uint64_t>(ticked));
}

void SleepMilliseconds(uint32_t ms) {
  if (!Stepped) return;
  const double now = ClockNow();
  SleptMs += std::ceil((now + ms) / Step) * Step - now;
}

void ShowMessageBox(WindowHandle, const char* text, const char* caption, unsigned) {
  std::fprintf(stderr, "lumvia-bench: %s: %s\n", caption, text);
}

void CheckModuleRadio(WindowHandle, int) {}
void ShowControlMenu(WindowHandle) {}

// --- Counted calls -----------------------------------------------------------

extern "C" {
void* __wrap_malloc(size_t size) {
  ++Counters.mallocs;
  return __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size) {
  ++Counters.mallocs;
  return __real_calloc(count, size);
}
void* __wrap_realloc(void* block, size_t size) {
  ++Counters.mallocs;
  return __real_realloc(block, size);
}

void __wrap__Z16SwapFrameBuffersv() {
  if (Model.on) ShowOnModelDisplay();
  else __real__Z16SwapFrameBuffersv();
}

void __wrap_glClear(GLbitfield mask) {
  ++Counters.clears;
  if (FrameStarts) FrameStarts->push_back(ClockNow());
  if (Drawing) __real_glClear(mask);
}
void __wrap_gluCylinder(GLUquadric* quadric, GLdouble base, GLdouble top, GLdouble height,
                        GLint slices, GLint stacks) {
  ++Counters.quadrics;
  if (Drawing) __real_gluCylinder(quadric, base, top, height, slices, stacks);
}
void __wrap_gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
  ++Counters.quadrics;
  if (Drawing) __real_gluSphere(quadric, radius, slices, stacks);
}

// The texture loader finds the resource, decodes it, then makes the texture
// name: the time between the two is the decode.
bool __wrap__Z17FindResourceBytestPKcPPKhPm(uint16_t id, const char* type, const uint8_t** data,
                                            size_t* size) {
  const bool found = __real__Z17FindResourceBytestPKcPPKhPm(id, type, data, size);
  DecodeStart = WallMs();
  return found;
}
void __wrap_glGenTextures(GLsizei count, GLuint* names) {
  if (DecodeStart != 0) Counters.decodeMs += WallMs() - DecodeStart;
  DecodeStart = 0;
  __real_glGenTextures(count, names);
}
GLint __wrap_gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height,
                               GLenum format, GLenum type, const void* data) {
  const double start = WallMs();
  const GLint result =
      __real_gluBuild2DMipmaps(target, components, width, height, format, type, data);
  Counters.mipmapMs += WallMs() - start;
  return result;
}
}

// Every form of operator new counts once, whoever calls it (so LLVM's shader
// compiler inside the driver counts too); they take their memory straight
// from the C library, past the counting malloc.
namespace {
void* Allocate(size_t size) {
  ++Counters.news;
  if (void* p = __real_malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* AllocateAligned(size_t size, std::align_val_t alignment) {
  ++Counters.news;
  const size_t a = static_cast<size_t>(alignment);
  if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  ++Counters.news;
  return __real_malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  ++Counters.news;
  return __real_malloc(size ? size : 1);
}
void* operator new(size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* operator new[](size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { std::free(p); }
