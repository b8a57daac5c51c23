/* Loaded with LD_PRELOAD into a native GL program, this notes its presented
 * frames: every eglSwapBuffers and glXSwapBuffers call appends its time
 * (seconds on the monotonic clock) to the file that LUMVIA_SWAP_LOG names,
 * then passes the call on. Each line is flushed at once, since the program
 * is ended with a signal. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static void NoteSwap(void) {
  static FILE* log;
  if (!log) {
    const char* path = getenv("LUMVIA_SWAP_LOG");
    log = fopen(path ? path : "/dev/null", "a");
    if (!log) return;
  }
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  fprintf(log, "%lld.%06ld\n", (long long)t.tv_sec, t.tv_nsec / 1000);
  fflush(log);
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
