// The GL context on Windows: a pixel format chosen by our own scoring, a WGL
// rendering context on the window's device context, the render state, and
// the swap interval where the driver offers swap control.
#include "render/gl_context_win32.h"

#include <vector>

#include "platform/platform.h"
#include "render/gl_context.h"
#include "render/render_state.h"

namespace {

HWND Window = nullptr;
HDC DeviceContext = nullptr;
HGLRC RenderingContext = nullptr;

constexpr DWORD kFormatFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
static_assert(kFormatDoubleBuffer == PFD_DOUBLEBUFFER &&
              kFormatDrawToWindow == PFD_DRAW_TO_WINDOW &&
              kFormatSupportOpenGL == PFD_SUPPORT_OPENGL && kFormatGeneric == PFD_GENERIC_FORMAT &&
              kFormatTypeRgba == PFD_TYPE_RGBA);

// From WGL_ARB_pixel_format, WGL_ARB_multisample and WGL_EXT_swap_control.
constexpr int kWglNumberPixelFormats = 0x2000;  // WGL_NUMBER_PIXEL_FORMATS_ARB
constexpr int kWglSamples = 0x2042;             // WGL_SAMPLES_ARB
using GetExtensionsStringArb = const char*(WINAPI*)(HDC);
using GetExtensionsStringExt = const char*(WINAPI*)();
using GetPixelFormatAttribiv = BOOL(WINAPI*)(HDC, int, int, UINT, const int*, int*);
using SwapIntervalExt = BOOL(WINAPI*)(int);

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

bool Fail(const char* text) { return FailGLSetUp(text, DestroyGLContext); }

// A WGL extension function of the current context, or null.
template <typename Function>
Function WglFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

bool HasWglExtension(HDC deviceContext, const char* name) {
  if (auto arb = WglFunction<GetExtensionsStringArb>("wglGetExtensionsStringARB"))
    return HasExtension(arb(deviceContext), name);
  auto ext = WglFunction<GetExtensionsStringExt>("wglGetExtensionsStringEXT");
  return ext && HasExtension(ext(), name);
}

// A hidden window of its own for the question below: a class with its own
// device context (the system's classes draw on their parent's).
HWND MakeHelperWindow() {
  WNDCLASSA helperClass{};
  helperClass.style = CS_OWNDC;
  helperClass.lpfnWndProc = DefWindowProcA;
  helperClass.hInstance = GetModuleHandleA(nullptr);
  helperClass.lpszClassName = "LumviaFormatQuery";
  RegisterClassA(&helperClass);  // fails harmlessly once registered
  return CreateWindowExA(0, helperClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                         helperClass.hInstance, nullptr);
}

// The samples per pixel of formats 1 to count (SampleCountsOf), or none when
// the driver cannot say. WGL_ARB_pixel_format answers only while a context
// is current, and a window's format can be set only once, so the question is
// put through a context of the system's own choice of format on a hidden
// window of its own; the context current before is current again afterwards.
std::vector<int> SampleCounts(HDC deviceContext, int count, int helperFormat) {
  std::vector<int> samples;
  HDC previousDC = wglGetCurrentDC();
  HGLRC previousContext = wglGetCurrentContext();
  HWND helper = MakeHelperWindow();
  HDC helperDC = helper ? GetDC(helper) : nullptr;
  PIXELFORMATDESCRIPTOR described{};
  HGLRC context = nullptr;
  if (helperDC && DescribePixelFormat(helperDC, helperFormat, sizeof described, &described) &&
      SetPixelFormat(helperDC, helperFormat, &described) &&
      (context = wglCreateContext(helperDC)) && wglMakeCurrent(helperDC, context)) {
    auto attributes = WglFunction<GetPixelFormatAttribiv>("wglGetPixelFormatAttribivARB");
    int driverCount = 0;
    if (attributes && HasWglExtension(helperDC, "WGL_ARB_pixel_format") &&
        attributes(deviceContext, 1, 0, 1, &kWglNumberPixelFormats, &driverCount))
      samples = SampleCountsOf(count, driverCount, [&](int i, int* value) {
        return attributes(deviceContext, i, 0, 1, &kWglSamples, value) != FALSE;
      });
  }
  wglMakeCurrent(previousDC, previousContext);
  if (context) wglDeleteContext(context);
  if (helperDC) ReleaseDC(helper, helperDC);
  if (helper) DestroyWindow(helper);
  return samples;
}

}  // namespace

PixelFormat ScoredFormat(const PIXELFORMATDESCRIPTOR& descriptor) {
  PixelFormat format;
  format.flags = descriptor.dwFlags;
  format.pixelType = descriptor.iPixelType;
  format.colourBits = descriptor.cColorBits;
  format.depthBits = descriptor.cDepthBits;
  return format;
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
  const std::vector<int> samples = SampleCounts(deviceContext, count, chosen);
  return ScanPixelFormats(chosen, count, colourBits, [&](int i, PixelFormat* format) {
    PIXELFORMATDESCRIPTOR descriptor{};
    if (!DescribePixelFormat(deviceContext, i, sizeof descriptor, &descriptor)) return false;
    *format = ScoredFormat(descriptor);
    if (static_cast<size_t>(i) <= samples.size()) format->samples = samples[static_cast<size_t>(i - 1)];
    return true;
  });
}

HDC GLDeviceContext() { return DeviceContext; }

bool CreateGLContext(WindowHandle window, int colourBits) {
  Window = static_cast<HWND>(window);
  DeviceContext = GetDC(Window);
  if (!DeviceContext) return Fail(gl_failure::kDeviceContext);
  if (!DescriptorComplete) CompleteDescriptor(colourBits);
  const int format = SelectPixelFormat(DeviceContext, colourBits);
  if (format == 0) return Fail(gl_failure::kPixelFormat);
  if (!SetPixelFormat(DeviceContext, format, &ChosenDescriptor))
    return Fail(gl_failure::kSetPixelFormat);
  RenderingContext = wglCreateContext(DeviceContext);
  if (!RenderingContext) return Fail(gl_failure::kRenderingContext);
  if (!wglMakeCurrent(DeviceContext, RenderingContext))
    return Fail(gl_failure::kActivate);
  RECT client{};
  GetClientRect(Window, &client);
  SetViewport(client.right - client.left, client.bottom - client.top);
  if (!InitRenderState()) return Fail(gl_failure::kInitialization);
  return true;
}

void DestroyGLContext() {
  if (RenderingContext) {
    if (!wglMakeCurrent(nullptr, nullptr)) ReportGLRelease(gl_failure::kReleaseCurrent);
    if (!wglDeleteContext(RenderingContext)) ReportGLRelease(gl_failure::kReleaseRenderingContext);
    RenderingContext = nullptr;
  }
  if (DeviceContext) {
    if (!ReleaseDC(Window, DeviceContext)) ReportGLRelease(gl_failure::kReleaseDeviceContext);
    DeviceContext = nullptr;
  }
}

void SwapFrameBuffers() {
  if (DeviceContext) SwapBuffers(DeviceContext);
}

bool SetSwapInterval(int interval) {
  if (!RenderingContext || !HasWglExtension(DeviceContext, "WGL_EXT_swap_control")) return false;
  auto set = WglFunction<SwapIntervalExt>("wglSwapIntervalEXT");
  return set && set(interval);
}
