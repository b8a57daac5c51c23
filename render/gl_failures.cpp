// The failures of a GL context's set-up and release, shown alike by every
// context.
#include "platform/platform.h"
#include "render/gl_context.h"

bool FailGLSetUp(const char* text, void (*release)()) {
  release();
  ShowMessageBox(nullptr, text, "ERROR", kMbOk | kMbIconExclamation);
  return false;
}

void ReportGLRelease(const char* text) {
  ShowMessageBox(nullptr, text, "SHUTDOWN ERROR", kMbOk | kMbIconInformation);
}
