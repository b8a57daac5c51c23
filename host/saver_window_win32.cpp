// The saver window in its two shapes, the class procedure that sees every
// message first, and the default behaviour behind the saver's own procedure:
// the hidden cursor, the mouse rule and the password check.
#include "host/saver_window_win32.h"

#include <cstdlib>

#include "core/saver_state.h"
#include "host/host_state_win32.h"
#include "host/monitors_win32.h"
#include "host/password_win32.h"
#include "platform/messages.h"

namespace {

constexpr char kClassName[] = "WindowsScreenSaverClass";
constexpr char kFullScreenTitle[] = "Screen Saver";
constexpr char kPreviewTitle[] = "Preview";
constexpr WORD kClassIcon = 100;  // no icon carries this number, so the class has none

struct WindowShape {
  HWND parent;
  DWORD extendedStyle;
  DWORD style;
  const char* title;
  int width;
  int height;
};

WindowShape FullScreenShape() {
  return {nullptr, WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
          kFullScreenTitle, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

WindowShape PreviewShape(HWND parent) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(parent, &client);
  return {parent, 0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, kPreviewTitle, client.right,
          client.bottom};
}

bool RegisterSaverClass() {
  WNDCLASSA windowClass{};
  windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = HostState.Instance;
  windowClass.hIcon = LoadIconA(HostState.Instance, MAKEINTRESOURCEA(kClassIcon));
  windowClass.hCursor = nullptr;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

// A full-screen saver that already runs is brought to the front instead.
bool FocusRunningSaver() {
  HWND running = FindWindowA(kClassName, kFullScreenTitle);
  if (!running || !IsWindow(running)) return false;
  SetForegroundWindow(running);
  return true;
}

int RunMessageLoop() {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

// --- HostWindowProc's rows ---------------------------------------------------

// Detaches any input method; the library is only looked up, never loaded.
void DetachInputMethod(HWND window) {
  HostState.ImeLibrary = GetModuleHandleA("IMM32.DLL");
  if (!HostState.ImeLibrary) return;
  HostState.AssociateContextFn = reinterpret_cast<AssociateContextFnType>(
      reinterpret_cast<void*>(GetProcAddress(HostState.ImeLibrary, "ImmAssociateContext")));
  if (HostState.AssociateContextFn)
    HostState.SavedInputContext = HostState.AssociateContextFn(window, nullptr);
}

void RestoreInputMethod(HWND window) {
  if (HostState.ImeLibrary && HostState.AssociateContextFn && HostState.SavedInputContext)
    HostState.AssociateContextFn(window, HostState.SavedInputContext);
}

void OnCreate(HWND window) {
  DetachInputMethod(window);
  TakeCursorAnchor();
  if (!HostState.PreviewMode) SetCursor(nullptr);
}

// Help and context-menu requests in the preview belong to the window around it.
LRESULT ForwardToParent(HWND window, UINT message, LPARAM lParam) {
  HWND parent = GetParent(window);
  if (parent && IsWindow(parent))
    PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
  return 1;
}

bool IsSwallowedCommand(WPARAM command) {
  return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

// --- SaverDefaultProc's rows --------------------------------------------------

LRESULT OnClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HostState.Win9xPlatform && !ConfirmClose(window)) {
    TakeCursorAnchor();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Travel is measured from the anchor, not from the previous message, so slow
// creeping closes the saver too once the cursor is far enough away. A cursor
// that cannot be read (another desktop has the input: the lock screen, an
// elevation prompt, a disconnected remote session) has not moved.
void ApplyMouseRule(HWND window) {
  POINT p{};
  if (!GetCursorPos(&p)) return;
  const auto dx = static_cast<unsigned long long>(
      std::llabs(static_cast<long long>(p.x) - HostState.CursorAnchor.x));
  const auto dy = static_cast<unsigned long long>(
      std::llabs(static_cast<long long>(p.y) - HostState.CursorAnchor.y));
  if (dx + dy > MouseMoveThreshold) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    HostState.CursorAnchor = p;
  }
}

}  // namespace

void TakeCursorAnchor() {
  POINT p{};
  if (GetCursorPos(&p)) HostState.CursorAnchor = p;
}

HWND MakeSaverWindow(HWND parent) {
  const WindowShape shape = parent ? PreviewShape(parent) : FullScreenShape();
  if (parent) HostState.PreviewMode = true;
  if (!RegisterSaverClass()) return nullptr;
  HostState.SaverWindow =
      CreateWindowExA(shape.extendedStyle, kClassName, shape.title, shape.style, 0, 0, shape.width,
                      shape.height, shape.parent, nullptr, HostState.Instance, nullptr);
  return HostState.SaverWindow;
}

int RunSaverWindow(HWND parent) {
  if (!parent) {
    if (FocusRunningSaver()) return 0;
    LoadPasswordVerifier();
  }
  HWND window = MakeSaverWindow(parent);
  int result = -1;
  if (window) {
    if (!HostState.PreviewMode) SetForegroundWindow(window);
    result = RunMessageLoop();
  }
  UnloadPasswordVerifier();
  return result;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool fullScreen = !HostState.PreviewMode;
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_DESTROY:
      RestoreInputMethod(window);
      PostQuitMessage(0);
      break;
    case WM_SETTEXT:
      return 0;
    case WM_PAINT:
      if (HostState.CloseApproved) return DefWindowProcA(window, message, wParam, lParam);
      if (fullScreen) SetCursor(nullptr);
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      if (!fullScreen) return ForwardToParent(window, message, lParam);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (HostState.CloseApproved) return DefWindowProcA(window, message, wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      if (fullScreen && IsSwallowedCommand(wParam)) return 0;
      break;
    case WM_TIMER:
      if (HostState.CloseApproved) return 0;
      Sleep(0);
      break;
  }
  return SaverWindowProc(window, message, wParam, lParam);
}

LRESULT SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HostState.PreviewMode || HostState.CloseApproved)
    return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_CLOSE:
      return OnClose(window, message, wParam, lParam);
    case PasswordCheckRequest:
      if (HostState.Win9xPlatform) return AnswerPasswordCheck(window);
      break;
    // While the password dialog is up the cursor and the mouse are its own.
    case WM_SETCURSOR:
      if (HostState.Verifying) break;
      SetCursor(nullptr);
      return 1;
    case WM_SHOWWINDOW:
      if (!HostState.Verifying && wParam) SetCursor(nullptr);
      break;
    case WM_MOUSEMOVE:
      if (!HostState.Verifying) ApplyMouseRule(window);
      break;
    // The control menu, the parameter display and the password dialog are
    // modal: the window is disabled while one is open and enabled again as it
    // closes. The cursor stands where that window was, and counts from there.
    case WM_ENABLE:
      if (wParam) TakeCursorAnchor();
      break;
    // Where monitors are left uncovered, the mouse moving there and a click
    // there into another program never reach the window: the cursor is read
    // at each frame wherever it is, and losing the activation ends the saver.
    case kRenderTick:
      if (!HostState.Verifying && LeavesMonitorsOpen()) ApplyMouseRule(window);
      break;
    case WM_ACTIVATEAPP:
      if (!HostState.Verifying && !wParam && LeavesMonitorsOpen()) PostMessageA(window, WM_CLOSE, 0, 0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
