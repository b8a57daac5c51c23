// x11_test_window X Y WIDTH HEIGHT: a plain blue window for the tests, made
// and mapped at that place; prints its id (0x-hex) and stays until killed.
// SIGUSR1 destroys the window while it is shown, as the owner of a preview
// does, and the program stays.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>

namespace {
volatile sig_atomic_t DestroyRequested = 0;
void OnDestroySignal(int) { DestroyRequested = 1; }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: x11_test_window X Y WIDTH HEIGHT\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = 0x0000FF;  // blue on a true-colour screen
  attributes.override_redirect = True;     // placed where asked, window manager or not
  const Window window = XCreateWindow(
      display, RootWindow(display, screen), std::atoi(argv[1]), std::atoi(argv[2]),
      static_cast<unsigned>(std::atoi(argv[3])), static_cast<unsigned>(std::atoi(argv[4])), 0,
      CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  for (XEvent event;;) {
    XNextEvent(display, &event);
    if (event.type == MapNotify) break;
  }
  std::printf("0x%lx\n", window);
  std::fflush(stdout);
  signal(SIGUSR1, OnDestroySignal);
  for (bool shown = true;;) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
    }
    if (DestroyRequested && shown) {
      XDestroyWindow(display, window);
      XFlush(display);
      shown = false;
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 100);
  }
}
