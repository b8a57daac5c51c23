/* Loaded with LD_PRELOAD into a native GL program, this counts its presented
 * frames: every eglSwapBuffers and glXSwapBuffers call is timed and passed on.
 * At exit the times (seconds on the monotonic clock, one a line) are written
 * to the file that LUMVIA_SWAP_LOG names. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

enum { kMaxSwaps = 1 << 16 };
static double Swaps[kMaxSwaps];
static int SwapCount;

static void NoteSwap(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  if (SwapCount < kMaxSwaps) Swaps[SwapCount++] = (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

unsigned eglSwapBuffers(void* display, void* surface) {
  static unsigned (*real)(void*, void*);
  if (!real) real = (unsigned (*)(void*, void*))dlsym(RTLD_NEXT, "eglSwapBuffers");
  NoteSwap();
  return real(display, surface);
}

void glXSwapBuffers(void* display, unsigned long drawable) {
  static void (*real)(void*, unsigned long);
  if (!real) real = (void (*)(void*, unsigned long))dlsym(RTLD_NEXT, "glXSwapBuffers");
  NoteSwap();
  real(display, drawable);
}

__attribute__((destructor)) static void WriteSwaps(void) {
  const char* path = getenv("LUMVIA_SWAP_LOG");
  FILE* out = path ? fopen(path, "w") : NULL;
  if (!out) return;
  for (int i = 0; i < SwapCount; ++i) fprintf(out, "%.6f\n", Swaps[i]);
  fclose(out);
}
