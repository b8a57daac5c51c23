// The GL context on Windows: a pixel format chosen by our own scoring, a WGL
// rendering context on the window's device context, and the render state.
#include "render/gl_context_win32.h"

#include "platform/platform.h"
#include "render/gl_context.h"
#include "render/render_state.h"

namespace {

HWND Window = nullptr;
HDC DeviceContext = nullptr;
HGLRC RenderingContext = nullptr;

constexpr DWORD kFormatFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;

// What SetPixelFormat is given; completed on the first CreateGLContext only.
PIXELFORMATDESCRIPTOR ChosenDescriptor{};
bool DescriptorComplete = false;

void CompleteDescriptor(int colourBits) {
  ChosenDescriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  ChosenDescriptor.nVersion = 1;
  ChosenDescriptor.dwFlags = kFormatFlags;
  ChosenDescriptor.iPixelType = PFD_TYPE_RGBA;
  ChosenDescriptor.cColorBits = static_cast<BYTE>(colourBits);
  ChosenDescriptor.cDepthBits = 32;
  DescriptorComplete = true;
}

bool Fail(const char* text) {
  DestroyGLContext();
  ShowMessageBox(nullptr, text, "ERROR", kMbOk | kMbIconExclamation);
  return false;
}

void ReportRelease(const char* text) {
  ShowMessageBox(nullptr, text, "SHUTDOWN ERROR", kMbOk | kMbIconInformation);
}

}  // namespace

unsigned ScorePixelFormat(const PIXELFORMATDESCRIPTOR& format, int colourBits) {
  if (format.cColorBits != colourBits || !(format.dwFlags & PFD_SUPPORT_OPENGL) ||
      !(format.dwFlags & PFD_DRAW_TO_WINDOW) || format.cDepthBits <= 8 ||
      format.iPixelType != PFD_TYPE_RGBA)
    return 0;
  unsigned score = (format.dwFlags & PFD_DOUBLEBUFFER) ? 2 : 1;
  if (format.cDepthBits >= 16) score += 128u - format.cDepthBits;
  if (!(format.dwFlags & PFD_GENERIC_FORMAT)) score += 1024;
  return score;
}

int SelectPixelFormat(HDC deviceContext, int colourBits) {
  PIXELFORMATDESCRIPTOR search{};
  search.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  search.nVersion = 1;
  search.dwFlags = kFormatFlags;
  search.iPixelType = PFD_TYPE_RGBA;
  search.cColorBits = 32;
  search.cDepthBits = 24;
  search.iLayerType = PFD_MAIN_PLANE;

  PIXELFORMATDESCRIPTOR copy = search;
  const int count = DescribePixelFormat(deviceContext, 1, sizeof copy, &copy);
  const int chosen = ChoosePixelFormat(deviceContext, &search);
  if (chosen == 0) return 0;
  return ScanPixelFormats(chosen, count, colourBits, [deviceContext](int i, PIXELFORMATDESCRIPTOR* f) {
    return DescribePixelFormat(deviceContext, i, sizeof *f, f) != 0;
  });
}

HDC GLDeviceContext() { return DeviceContext; }

bool CreateGLContext(WindowHandle window, int colourBits) {
  Window = static_cast<HWND>(window);
  DeviceContext = GetDC(Window);
  if (!DeviceContext) return Fail("Can't Create A GL Device Context.");
  if (!DescriptorComplete) CompleteDescriptor(colourBits);
  const int format = SelectPixelFormat(DeviceContext, colourBits);
  if (format == 0) return Fail("Can't Find A Suitable PixelFormat.");
  if (!SetPixelFormat(DeviceContext, format, &ChosenDescriptor))
    return Fail("Can't Set The PixelFormat.");
  RenderingContext = wglCreateContext(DeviceContext);
  if (!RenderingContext) return Fail("Can't Create A GL Rendering Context.");
  if (!wglMakeCurrent(DeviceContext, RenderingContext))
    return Fail("Can't Activate The GL Rendering Context.");
  RECT client{};
  GetClientRect(Window, &client);
  SetViewport(client.right - client.left, client.bottom - client.top);
  if (!InitRenderState()) return Fail("Initialization Failed.");
  return true;
}

void DestroyGLContext() {
  if (RenderingContext) {
    if (!wglMakeCurrent(nullptr, nullptr)) ReportRelease("Release Of DC And RC Failed.");
    if (!wglDeleteContext(RenderingContext)) ReportRelease("Release Rendering Context Failed.");
    RenderingContext = nullptr;
  }
  if (DeviceContext) {
    if (!ReleaseDC(Window, DeviceContext)) ReportRelease("Release Device Context Failed.");
    DeviceContext = nullptr;
  }
}

void SwapFrameBuffers() {
  if (DeviceContext) SwapBuffers(DeviceContext);
}
