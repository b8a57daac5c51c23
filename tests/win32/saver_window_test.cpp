// The saver window with real windows and messages: creation, the RenderTick
// chain and its drain, close handling, the class procedure's rows and the
// default behaviour (cursor, mouse rule) in both window shapes.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/saver_state.h"
#include "frames/frame_loop_win32.h"
#include "host/saver_window_win32.h"
#include "platform/messages.h"
#include "render/gl_context_win32.h"
#include "tests/win32/saver_support_win32.h"

// Here the cursor can always be read; the system fails the read while another
// desktop has the input. The program's reads come through this wrapper (the
// test program is linked with -Wl,--wrap of the import), which fails them
// while asked to.
#define LUMVIA_TEXT2(x) #x
#define LUMVIA_TEXT(x) LUMVIA_TEXT2(x)
#define LUMVIA_CURSOR_SYMBOL(kind) LUMVIA_TEXT(__USER_LABEL_PREFIX__) kind LUMVIA_CURSOR_IMPORT
extern "C" decltype(&GetCursorPos) RealCursorRead asm(LUMVIA_CURSOR_SYMBOL("__real_"));
namespace {
bool CursorUnreadable = false;
BOOL WINAPI ReadCursorUnlessUnreadable(POINT* p) { return CursorUnreadable ? FALSE : RealCursorRead(p); }
}  // namespace
extern "C" decltype(&GetCursorPos) WrappedCursorRead asm(LUMVIA_CURSOR_SYMBOL("__wrap_"));
decltype(&GetCursorPos) WrappedCursorRead = ReadCursorUnlessUnreadable;

namespace {

using namespace saver_support;

class SaverWindowTest : public SaverFixture {
 protected:
  // The full-screen window with its first RenderTick taken off the queue.
  void MakeFullScreen() {
    window_ = MakeSaverWindow(nullptr);
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(TakeQueued(window_, kRenderTick), 1);
  }
  void MakePreview(int width = 240, int height = 180) {
    parent_ = MakeParent(width, height);
    ASSERT_NE(parent_, nullptr);
    window_ = MakeSaverWindow(parent_);
    ASSERT_NE(window_, nullptr);
  }
  void PostKey(WPARAM key) { PostMessageA(window_, WM_KEYDOWN, key, 1); }
  bool CloseQueuedAfterMove(int x, int y) {
    SetCursorPos(x, y);
    SendMessageA(window_, WM_MOUSEMOVE, 0, 0);
    return TakeQueued(window_, WM_CLOSE) > 0;
  }
};

TEST_F(SaverWindowTest, CreationLoadsTheSettingsAndPostsOneRenderTick) {
  StoreValue("mod1 depth", 6000);
  StoreValue("cycle time", 7);
  window_ = MakeSaverWindow(nullptr);
  ASSERT_NE(window_, nullptr);
  EXPECT_TRUE(SaverState.SaverMode);
  EXPECT_EQ(SaverState.Window, window_);
  EXPECT_EQ(HostState.SaverWindow, window_);
  EXPECT_EQ(CurrentModule, 1);
  EXPECT_FLOAT_EQ(g_fDepth, 60.0f);
  EXPECT_EQ(CycleTime, 7);
  EXPECT_TRUE(SaverState.FullScreen);
  EXPECT_NE(GLDeviceContext(), nullptr);
  EXPECT_LE(TickCount() - SaverState.LastSwitchTime, 5000u);

  MSG tick{};
  ASSERT_EQ(TakeQueued(window_, kRenderTick, &tick), 1);
  EXPECT_EQ(tick.wParam, 0xFFFFFFFFu);
  EXPECT_EQ(static_cast<ULONG_PTR>(tick.lParam), ULONG_PTR{0xFFFFFFFFu});  // in 32 bits either way
}

TEST_F(SaverWindowTest, TheFullScreenWindowCoversTheScreenOnTop) {
  MakeFullScreen();
  char title[64] = {}, name[64] = {};
  GetWindowTextA(window_, title, sizeof title);
  GetClassNameA(window_, name, sizeof name);
  EXPECT_STREQ(title, "Screen Saver");
  EXPECT_STREQ(name, kSaverClass);
  RECT r;
  GetWindowRect(window_, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & 0xFFFF0000u, 0x96000000u);
  EXPECT_EQ(GetClassLongA(window_, GCL_STYLE), 0x2B);
  EXPECT_EQ(GetClassLongPtrA(window_, GCLP_HICON), 0);  // no icon carries number 100
  EXPECT_EQ(GetClassLongPtrA(window_, GCLP_HCURSOR), 0);
  EXPECT_FALSE(HostState.PreviewMode);
}

TEST_F(SaverWindowTest, ThePreviewFillsItsParentAndTakesNoKeys) {
  MakePreview(240, 180);
  EXPECT_TRUE(HostState.PreviewMode);
  EXPECT_FALSE(SaverState.FullScreen);
  EXPECT_EQ(GetParent(window_), parent_);
  RECT r;
  GetClientRect(window_, &r);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 180);
  char title[64] = {};
  GetWindowTextA(window_, title, sizeof title);
  EXPECT_STREQ(title, "Preview");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & 0xFFFF0000u, 0x52000000u);
  EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  ASSERT_EQ(TakeQueued(window_, kRenderTick), 1);
  PostKey(VK_ESCAPE);
  PostKey(VK_PRIOR);
  HandleRenderTick(window_);
  EXPECT_FALSE(SaverState.Closing);
  EXPECT_FLOAT_EQ(g_fDepth, 50.0f);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 1);
}

TEST_F(SaverWindowTest, EachTickDrainsTheKeysDrawsAndAsksForTheNext) {
  MakeFullScreen();
  PostKey(VK_PRIOR);
  PostMessageA(window_, WM_KEYUP, VK_PRIOR, 0);
  PostKey(VK_F9);
  HandleRenderTick(window_);
  EXPECT_FLOAT_EQ(g_fDepth, 51.0f);  // "Love" at 50 zooms out by 1
  EXPECT_FLOAT_EQ(g_fSpeed, 1.125f);  // no stored speed reads as 1.0
  EXPECT_NE(SaverState.LastFrameTime, 0u);
  EXPECT_FALSE(SaverState.InTick);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 1);
  EXPECT_EQ(TakeQueued(window_, WM_KEYDOWN), 0);  // the drain took them all
}

TEST_F(SaverWindowTest, AKeyThatLeavesPostsACloseDrawsNothingAndTheCloseSavesOnce) {
  MakeFullScreen();
  PostKey('A');
  HandleRenderTick(window_);
  EXPECT_TRUE(SaverState.Closing);
  EXPECT_FALSE(SaverState.Closed);
  EXPECT_EQ(SaverState.LastFrameTime, 0u);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 0);
  MSG close{};
  ASSERT_EQ(TakeQueued(window_, WM_CLOSE, &close), 1);
  EXPECT_EQ(close.wParam, 0u);
  EXPECT_EQ(close.lParam, 0);

  DispatchMessageA(&close);
  EXPECT_TRUE(SaverState.Closed);
  EXPECT_FALSE(IsWindow(window_));  // off the 9x platform the close destroys it
  EXPECT_EQ(GLDeviceContext(), nullptr);
  EXPECT_EQ(StoredValueCount(), static_cast<size_t>(kStoredValueCount));
  EXPECT_EQ(StoredNumber("mod1 depth"), 5000u);
}

TEST_F(SaverWindowTest, ACloseFoundWhileDrainingStopsTheDrainAndIsPostedAfresh) {
  MakeFullScreen();
  PostMessageA(window_, WM_CLOSE, 0, 0);
  PostKey(VK_PRIOR);  // behind the close: not handled any more
  HandleRenderTick(window_);
  EXPECT_TRUE(SaverState.Closing);
  EXPECT_FALSE(SaverState.Closed);
  EXPECT_FLOAT_EQ(g_fDepth, 50.0f);
  EXPECT_EQ(SaverState.LastFrameTime, 0u);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 0);
  EXPECT_EQ(TakeQueued(window_, WM_CLOSE), 1);
  // Later ticks find the close under way and do nothing.
  HandleRenderTick(window_);
  EXPECT_EQ(TakeQueued(window_, WM_CLOSE), 0);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 0);
}

// Under Wine a PeekMessage filtered on the window hands back WM_QUIT too; the
// drain once dispatched it, the quit was lost and the saver never ended.
TEST_F(SaverWindowTest, ADrainThatMeetsAQuitLeavesItQueuedAndDrawsNoMore) {
  MakeFullScreen();
  PostQuitMessage(7);
  HandleRenderTick(window_);
  EXPECT_EQ(SaverState.LastFrameTime, 0u);
  MSG quit{};
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 0);  // a filtered look would take the quit too
}

// The Display control panel ends a preview by destroying the window around
// it, with no WM_CLOSE first.
TEST_F(SaverWindowTest, APreviewDestroyedWithItsParentStopsItsFramesAndSavesNothing) {
  MakePreview();
  DestroyWindow(parent_);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_TRUE(SaverState.Closed);
  EXPECT_EQ(GLDeviceContext(), nullptr);
  EXPECT_EQ(StoredValueCount(), 0u);
  HandleRenderTick(window_);  // the tick still queued finds the frames stopped
  EXPECT_EQ(SaverState.LastFrameTime, 0u);
}

TEST_F(SaverWindowTest, TwoClosesReleaseAndSaveOnlyOnce) {
  MakeFullScreen();
  g_fHorz = 3.0f;  // a keyboard change to the module on screen survives
  SaverWindowProc(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(StoredNumber("mod1 horz"), 300u);
  EXPECT_EQ(GLDeviceContext(), nullptr);
  StoreValue("mod1 horz", 1234);
  SaverWindowProc(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(StoredNumber("mod1 horz"), 1234u);
  HandleRenderTick(window_);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 0);
}

TEST_F(SaverWindowTest, ANestedRenderTickIsIgnored) {
  MakeFullScreen();
  PostMessageA(window_, kRenderTick, kRenderTickParam, static_cast<LPARAM>(kRenderTickParam));
  HandleRenderTick(window_);
  // The queued tick was dispatched inside the drain and found a tick running;
  // only the tick that drew posts the next one.
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 1);
}

TEST_F(SaverWindowTest, TheTitleNeverChanges) {
  MakeFullScreen();
  EXPECT_EQ(SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
  char title[64] = {};
  GetWindowTextA(window_, title, sizeof title);
  EXPECT_STREQ(title, "Screen Saver");
}

TEST_F(SaverWindowTest, ThePreviewTitleNeverChanges) {
  MakePreview();
  EXPECT_FALSE(SetWindowTextA(window_, "Other"));
  char title[64] = {};
  GetWindowTextA(window_, title, sizeof title);
  EXPECT_STREQ(title, "Preview");
}

TEST_F(SaverWindowTest, ThreeSystemCommandsAreSwallowedInFullScreen) {
  MakeFullScreen();
  for (WPARAM command : {SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW}) {
    EXPECT_EQ(SendMessageA(window_, WM_SYSCOMMAND, command, 0), 0);
    EXPECT_TRUE(IsWindow(window_));
  }
  EXPECT_FALSE(SaverState.Closed);
  // Any other command takes its usual way: SC_CLOSE closes the saver.
  SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(SaverState.Closed);
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(SaverWindowTest, HelpAndContextMenuInThePreviewGoToItsParent) {
  MakePreview();
  HELPINFO help{};
  help.cbSize = sizeof help;
  EXPECT_EQ(SendMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_),
                         MAKELPARAM(10, 20)),
            1);
  EXPECT_EQ(SendMessageA(window_, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1);
  MSG m{};
  ASSERT_EQ(TakeQueued(parent_, WM_CONTEXTMENU, &m), 1);
  EXPECT_EQ(m.hwnd, parent_);
  EXPECT_EQ(m.wParam, reinterpret_cast<WPARAM>(parent_));
  EXPECT_EQ(m.lParam, MAKELPARAM(10, 20));
  // WM_HELP carries a pointer, which the system does not let a posted
  // message take along; the preview answers it all the same.
}

TEST_F(SaverWindowTest, HelpInFullScreenIsNotAnsweredByTheHost) {
  MakeFullScreen();
  EXPECT_EQ(SendMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_),
                         MAKELPARAM(10, 20)),
            0);
}

TEST_F(SaverWindowTest, MouseTravelOfMoreThanOneHundredCloses) {
  SetCursorPos(300, 300);
  MakeFullScreen();
  EXPECT_EQ(HostState.CursorAnchor.x, 300);
  EXPECT_EQ(HostState.CursorAnchor.y, 300);
  // Small moves never add up: travel is measured from the anchor.
  EXPECT_FALSE(CloseQueuedAfterMove(330, 320));
  EXPECT_FALSE(CloseQueuedAfterMove(350, 330));
  EXPECT_FALSE(CloseQueuedAfterMove(360, 340));  // 60 + 40 = 100
  EXPECT_FALSE(CloseQueuedAfterMove(300, 300));
  EXPECT_FALSE(CloseQueuedAfterMove(240, 260));  // -60, -40
  EXPECT_TRUE(CloseQueuedAfterMove(360, 341));   // 60 + 41 = 101
  EXPECT_EQ(HostState.CursorAnchor.x, 360);
  EXPECT_EQ(HostState.CursorAnchor.y, 341);
  // The next close is measured from where the last one was posted.
  EXPECT_FALSE(CloseQueuedAfterMove(400, 400));  // 40 + 59 = 99
  EXPECT_TRUE(CloseQueuedAfterMove(300, 300));   // 60 + 41 = 101
}

// The system may move the cursor when the monitors change; that is no travel.
TEST_F(SaverWindowTest, ADisplayChangeCoversTheScreenAgainAndTakesTheCursorAsItIs) {
  SetCursorPos(200, 200);
  MakeFullScreen();
  SetWindowPos(window_, nullptr, 10, 10, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  FrameViewports = {};
  SetCursorPos(600, 600);
  SendMessageA(window_, WM_DISPLAYCHANGE, 32, 0);
  RECT r;
  GetWindowRect(window_, &r);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, width);
  EXPECT_EQ(r.bottom, height);
  ASSERT_EQ(FrameViewports.count, 1);
  EXPECT_EQ(FrameViewports.items[0].width, width);
  EXPECT_EQ(FrameViewports.items[0].height, height);
  EXPECT_FALSE(CloseQueuedAfterMove(640, 640));
  EXPECT_TRUE(CloseQueuedAfterMove(700, 602));  // 100 + 2 from where the change left it
}

// With one monitor "leave as they are" leaves none open: losing the
// activation does not end the saver either.
TEST_F(SaverWindowTest, ClicksAndLosingTheActivationDoNotClose) {
  StoreValue("other monitors", 3);
  SetCursorPos(200, 200);
  MakeFullScreen();
  SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
  SendMessageA(window_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 200));
  SendMessageA(window_, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(200, 200));
  SendMessageA(window_, WM_ACTIVATE, WA_INACTIVE, 0);
  SendMessageA(window_, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(TakeQueued(window_, WM_CLOSE), 0);
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_FALSE(SaverState.Closed);
}

// The lock screen, an elevation prompt or a disconnected remote session take
// the input; a read of the cursor then fails, and once counted as a move to
// 0, 0 that closed the saver.
TEST_F(SaverWindowTest, ACursorThatCannotBeReadHasNotMoved) {
  SetCursorPos(300, 300);
  MakeFullScreen();
  CursorUnreadable = true;
  POINT p;
  const bool read = GetCursorPos(&p);
  const bool closed = CloseQueuedAfterMove(300, 300);
  SendMessageA(window_, WM_DISPLAYCHANGE, 32, 0);  // nor does the anchor move
  CursorUnreadable = false;
  ASSERT_FALSE(read);  // the wrapper is in place
  EXPECT_FALSE(closed);
  EXPECT_EQ(HostState.CursorAnchor.x, 300);
  EXPECT_EQ(HostState.CursorAnchor.y, 300);
  EXPECT_TRUE(CloseQueuedAfterMove(360, 341));
}

// Runs inside the modal loop of the control menu or the parameter display:
// the user takes the mouse to the box and presses OK.
void CALLBACK ReachForOk(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA("#32770", "Control Menu");
  if (!box) box = FindWindowA("#32770", "Params");
  if (!box) return;
  KillTimer(nullptr, timer);
  RECT r;
  GetWindowRect(box, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// They are there to be read while the saver runs: when one closes, the
// cursor stands where it was, far from where the saver started, and that is
// no travel.
TEST_F(SaverWindowTest, ClosingTheKeyListOrTheParametersIsNoTravel) {
  SetCursorPos(5, 5);
  MakeFullScreen();
  for (WPARAM key : {VK_F1, VK_F11}) {
    SCOPED_TRACE(key);
    SetTimer(nullptr, 0, 30, ReachForOk);
    PostKey(key);
    HandleRenderTick(window_);  // the box runs modally inside the drain
    ASSERT_FALSE(SaverState.Closing);
    ASSERT_EQ(TakeQueued(window_, kRenderTick), 1);
    POINT p;
    GetCursorPos(&p);
    ASSERT_GT(p.x + p.y, 300);  // the box stands in the middle
    EXPECT_EQ(HostState.CursorAnchor.x, p.x);
    EXPECT_EQ(HostState.CursorAnchor.y, p.y);
    EXPECT_FALSE(CloseQueuedAfterMove(p.x + 1, p.y));
  }
}

TEST_F(SaverWindowTest, ThePreviewIgnoresTheMouseAndKeepsTheCursor) {
  SetCursorPos(100, 100);
  MakePreview();
  EXPECT_FALSE(CloseQueuedAfterMove(600, 600));
  EXPECT_EQ(SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            0);
}

TEST_F(SaverWindowTest, TheFullScreenSaverKeepsTheCursorHidden) {
  MakeFullScreen();
  EXPECT_EQ(SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            1);
  EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(SaverWindowTest, NoMouseRuleWhileAPasswordIsAsked) {
  SetCursorPos(300, 300);
  MakeFullScreen();
  HostState.Verifying = true;
  EXPECT_FALSE(CloseQueuedAfterMove(600, 600));
  HostState.Verifying = false;
  EXPECT_TRUE(CloseQueuedAfterMove(600, 601));
}

TEST_F(SaverWindowTest, ASecondFullScreenSaverFindsTheFirstAndLeaves) {
  MakeFullScreen();
  HostState.Win9xPlatform = true;  // would load a verifier if it got that far
  EXPECT_EQ(RunSaverWindow(nullptr), 0);
  EXPECT_EQ(HostState.PasswordLibrary, nullptr);
  EXPECT_EQ(HostState.SaverWindow, window_);
  EXPECT_TRUE(IsWindow(window_));
}

TEST_F(SaverWindowTest, TheMessageLoopEndsWithTheQuitCodeOnClose) {
  StoreValue("mod2 depth", 4200);
  std::thread closer = CloseSaverWhenShown("Screen Saver");
  EXPECT_EQ(RunSaverWindow(nullptr), 0);
  closer.join();
  EXPECT_FALSE(IsWindow(HostState.SaverWindow));
  EXPECT_TRUE(SaverState.Closed);
  EXPECT_EQ(StoredValueCount(), static_cast<size_t>(kStoredValueCount));
  EXPECT_EQ(StoredNumber("mod2 depth"), 4200u);
}

TEST_F(SaverWindowTest, ThePreviewLeavesTheStoredSettingsAlone) {
  StoreValue("mod1 depth", 7000);
  parent_ = MakeParent(200, 150);
  // The settings dialog saves while the preview runs; then the preview closes.
  std::thread closer = CloseSaverWhenShown("Preview", parent_, [] { StoreValue("mod1 depth", 7100); });
  EXPECT_EQ(RunSaverWindow(parent_), 0);
  closer.join();
  EXPECT_TRUE(SaverState.Closed);
  EXPECT_FALSE(IsWindow(HostState.SaverWindow));
  EXPECT_EQ(StoredNumber("mod1 depth"), 7100u);
  EXPECT_EQ(StoredValueCount(), 1u);  // nothing else was written
  EXPECT_TRUE(IsWindow(parent_));
}

}  // namespace
