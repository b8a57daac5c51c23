// The monitors' modes as XRandR reports them.
#include "x11/refresh_rate.h"

#include <X11/extensions/Xrandr.h>

#include <cmath>

namespace {

// GetScreenResourcesCurrent is RandR 1.3; asked of an older server it would
// end the program with an X error.
bool HasRandr13(Display* display, int* eventBase) {
  int errorBase = 0, major = 0, minor = 0;
  return XRRQueryExtension(display, eventBase, &errorBase) &&
         XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 3));
}

double ModeRate(const XRRScreenResources& resources, RRMode id) {
  for (int i = 0; i < resources.nmode; ++i) {
    const XRRModeInfo& mode = resources.modes[i];
    if (mode.id != id) continue;
    double lines = mode.vTotal;
    if (mode.modeFlags & RR_DoubleScan) lines *= 2;
    if (mode.modeFlags & RR_Interlace) lines /= 2;
    return mode.hTotal && lines > 0 ? mode.dotClock / (mode.hTotal * lines) : 0;
  }
  return 0;
}

}  // namespace

int MonitorRefreshRate(Display* display, Window window) {
  int eventBase = 0;
  XWindowAttributes attributes{};
  if (!HasRandr13(display, &eventBase) || !XGetWindowAttributes(display, window, &attributes))
    return 0;
  int x = 0, y = 0;
  Window child = None;
  XTranslateCoordinates(display, window, attributes.root, attributes.width / 2,
                        attributes.height / 2, &x, &y, &child);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, attributes.root);
  if (!resources) return 0;
  double rate = 0;
  bool holdsCentre = false;
  for (int i = 0; i < resources->ncrtc && !holdsCentre; ++i) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
    if (!crtc) continue;
    if (crtc->mode != None) {
      holdsCentre = x >= crtc->x && y >= crtc->y && x < crtc->x + static_cast<int>(crtc->width) &&
                    y < crtc->y + static_cast<int>(crtc->height);
      if (holdsCentre || rate == 0) rate = ModeRate(*resources, crtc->mode);
    }
    XRRFreeCrtcInfo(crtc);
  }
  XRRFreeScreenResources(resources);
  return static_cast<int>(std::lround(rate));
}

int WatchScreenChanges(Display* display, Window window) {
  int eventBase = 0;
  if (!HasRandr13(display, &eventBase)) return -1;
  // A new mode on a monitor is a CRTC change; a new screen size, a screen change.
  XRRSelectInput(display, window, RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask);
  return eventBase;
}

bool IsScreenChange(XEvent& event, int eventBase) {
  if (eventBase < 0) return false;
  if (event.type != eventBase + RRScreenChangeNotify && event.type != eventBase + RRNotify)
    return false;
  XRRUpdateConfiguration(&event);
  return true;
}
