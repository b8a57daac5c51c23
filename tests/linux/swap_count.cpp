// Preloaded into lumvia by the tests: counts the frames it presents. Each
// glXSwapBuffers writes the count so far into the file $LUMVIA_SWAP_COUNT.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using SwapBuffers = void (*)(void*, unsigned long);

extern "C" void glXSwapBuffers(void* display, unsigned long drawable) {
  static SwapBuffers real = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  static unsigned long count = 0;
  static const int file = [] {
    const char* path = std::getenv("LUMVIA_SWAP_COUNT");
    return path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
  }();
  real(display, drawable);
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%lu\n", ++count);
  if (file >= 0 && pwrite(file, text, static_cast<size_t>(length), 0) < 0) return;
}
