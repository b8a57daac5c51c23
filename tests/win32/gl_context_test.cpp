// The Windows GL context on real windows under Wine: the format it picks from
// the device's, the context with its render state and sprite texture, the
// swap interval, the specified failure messages, and releasing twice.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "frames/frame.h"
#include "render/gl.h"
#include "render/gl_context.h"
#include "render/gl_context_win32.h"
#include "render/texture.h"
#include "tests/win32/message_box_watch_win32.h"

// The flags of the program's last message box. Wine shows every box alike and
// never topmost, so the import is wrapped (CMakeLists.txt) and the flags read.
#define LUMVIA_TEXT2(x) #x
#define LUMVIA_TEXT(x) LUMVIA_TEXT2(x)
#define LUMVIA_BOX_SYMBOL(kind) LUMVIA_TEXT(__USER_LABEL_PREFIX__) kind LUMVIA_MESSAGE_BOX_IMPORT
extern "C" decltype(&MessageBoxA) RealMessageBox asm(LUMVIA_BOX_SYMBOL("__real_"));
namespace {
UINT LastBoxFlags = 0;
int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
  LastBoxFlags = flags;
  return RealMessageBox(owner, text, caption, flags);
}
}  // namespace
extern "C" decltype(&MessageBoxA) WrappedMessageBox asm(LUMVIA_BOX_SYMBOL("__wrap_"));
decltype(&MessageBoxA) WrappedMessageBox = RecordMessageBox;

namespace {

// A plain top-level window with the given client size.
class Window {
 public:
  Window(int width, int height) {
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LumviaGLContextTest";
    RegisterClassA(&wc);
    RECT r{0, 0, width, height};
    AdjustWindowRect(&r, WS_POPUP, FALSE);
    handle_ = CreateWindowExA(0, wc.lpszClassName, "GL", WS_POPUP | WS_VISIBLE, 0, 0,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance,
                              nullptr);
  }
  ~Window() {
    if (handle_) DestroyWindow(handle_);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND get() const { return handle_; }
  void Destroy() {
    DestroyWindow(handle_);
    handle_ = nullptr;
  }

 private:
  HWND handle_ = nullptr;
};

class GLContextTest : public ::testing::Test {
 protected:
  void TearDown() override { DestroyGLContext(); }
  MessageBoxWatch watch_;
};

// The format has the top score of all the device's formats, and the context
// made with it draws without multisampling: Wine on Mesa numbers a
// four-sample format highest among those of the top score.
TEST_F(GLContextTest, TheRealDeviceGetsATopScoringFormatWithoutMultisampling) {
  Window window(64, 64);
  ASSERT_NE(window.get(), nullptr);
  HDC dc = GetDC(window.get());
  const int selected = SelectPixelFormat(dc, 32);
  ASSERT_GT(selected, 0);
  const int count = DescribePixelFormat(dc, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
  unsigned best = 0, chosen = 0;
  for (int i = 1; i <= count; ++i) {
    PIXELFORMATDESCRIPTOR f{};
    DescribePixelFormat(dc, i, sizeof f, &f);
    const unsigned score = ScorePixelFormat(ScoredFormat(f), 32);
    best = std::max(best, score);
    if (i == selected) chosen = score;
  }
  ReleaseDC(window.get(), dc);
  ASSERT_GT(best, 0u) << "Wine offers a 32-bit OpenGL window format";
  EXPECT_EQ(chosen, best);

  ASSERT_TRUE(CreateGLContext(window.get(), 32));
  constexpr GLenum kSampleBuffers = 0x80A8;  // GL_SAMPLE_BUFFERS, OpenGL 1.3
  GLint sampleBuffers = -1;
  glGetIntegerv(kSampleBuffers, &sampleBuffers);
  EXPECT_EQ(sampleBuffers, 0);
  EXPECT_EQ(wglGetCurrentDC(), GLDeviceContext());  // the question asked aside left ours current
}

// The interval for the monitor's rate reaches the driver; an unknown rate
// leaves it as it is, and without a context nothing is set.
TEST_F(GLContextTest, TheSwapIntervalReachesTheDriver) {
  Window window(64, 64);
  ASSERT_TRUE(CreateGLContext(window.get(), 32));
  using GetSwapInterval = int(WINAPI*)();
  auto current = reinterpret_cast<GetSwapInterval>(
      reinterpret_cast<void*>(wglGetProcAddress("wglGetSwapIntervalEXT")));
  ASSERT_NE(current, nullptr) << "Wine offers WGL_EXT_swap_control";
  MatchSwapInterval(144);
  EXPECT_EQ(current(), 5);
  MatchSwapInterval(60);
  EXPECT_EQ(current(), 2);
  MatchSwapInterval(0);
  EXPECT_EQ(current(), 2);
  DestroyGLContext();
  EXPECT_FALSE(SetSwapInterval(2));
}

TEST_F(GLContextTest, ARealWindowGetsTheRenderStateWithTheSpriteBound) {
  ASSERT_TRUE(watch_.Active());
  Window window(300, 200);
  ASSERT_NE(window.get(), nullptr);
  ASSERT_TRUE(CreateGLContext(window.get(), 32));
  EXPECT_TRUE(MessageBoxWatch::Boxes().empty());
  EXPECT_NE(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(wglGetCurrentDC(), GLDeviceContext());

  GLint viewport[4] = {}, bound = 0, mode = 0;
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(viewport[2], 300);
  EXPECT_EQ(viewport[3], 200);
  EXPECT_NE(SpriteTexture(), 0u);
  EXPECT_EQ(static_cast<GLuint>(bound), SpriteTexture());
  EXPECT_EQ(mode, GL_MODELVIEW);
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint texWidth = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &texWidth);
  EXPECT_EQ(texWidth, 1024);

  // The sprites show on a cleared frame once presented.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  SwapFrameBuffers();

  DestroyGLContext();
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(GLDeviceContext(), nullptr);
  DestroyGLContext();  // nothing left to release: nothing happens, nothing is shown
  EXPECT_TRUE(MessageBoxWatch::Boxes().empty());
}

TEST_F(GLContextTest, AClientHeightOfZeroGivesAOnePixelHighViewport) {
  Window window(240, 0);
  ASSERT_NE(window.get(), nullptr);
  ASSERT_TRUE(CreateGLContext(window.get(), 32));
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 240);
  EXPECT_EQ(viewport[3], 1);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  EXPECT_NEAR(projection[5] / projection[0], 240.0, 1e-3);  // the aspect ratio is the width
}

// The box has no owner, and stands above the topmost full-screen saver.
TEST_F(GLContextTest, AWindowWithoutDeviceContextIsReportedAndLeavesNothing) {
  Window window(32, 32);
  HWND gone = window.get();
  window.Destroy();
  EXPECT_FALSE(CreateGLContext(gone, 32));
  ASSERT_EQ(MessageBoxWatch::Boxes().size(), 1u);
  EXPECT_EQ(MessageBoxWatch::Boxes()[0].caption, "ERROR");
  EXPECT_EQ(MessageBoxWatch::Boxes()[0].text, "Can't Create A GL Device Context.");
  EXPECT_TRUE(MessageBoxWatch::Boxes()[0].iconShown);
  EXPECT_FALSE(MessageBoxWatch::Boxes()[0].owned);
  EXPECT_TRUE(LastBoxFlags & MB_TOPMOST);
  EXPECT_EQ(GLDeviceContext(), nullptr);
  DestroyGLContext();
  EXPECT_EQ(MessageBoxWatch::Boxes().size(), 1u);
}

TEST_F(GLContextTest, AWindowHoldingAnotherPixelFormatIsRefusedAndReleased) {
  Window window(32, 32);
  HDC dc = GetDC(window.get());
  const int selected = SelectPixelFormat(dc, 32);
  const int count = DescribePixelFormat(dc, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
  int other = 0;
  for (int i = 1; i <= count && other == 0; ++i) {
    PIXELFORMATDESCRIPTOR f{};
    DescribePixelFormat(dc, i, sizeof f, &f);
    if (i != selected && (f.dwFlags & PFD_SUPPORT_OPENGL) && (f.dwFlags & PFD_DRAW_TO_WINDOW))
      other = i;
  }
  ASSERT_NE(other, 0);
  PIXELFORMATDESCRIPTOR f{};
  DescribePixelFormat(dc, other, sizeof f, &f);
  ASSERT_TRUE(SetPixelFormat(dc, other, &f));
  ReleaseDC(window.get(), dc);

  EXPECT_FALSE(CreateGLContext(window.get(), 32));
  ASSERT_EQ(MessageBoxWatch::Boxes().size(), 1u);
  EXPECT_EQ(MessageBoxWatch::Boxes()[0].caption, "ERROR");
  EXPECT_EQ(MessageBoxWatch::Boxes()[0].text, "Can't Set The PixelFormat.");
  EXPECT_EQ(GLDeviceContext(), nullptr);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

}  // namespace
