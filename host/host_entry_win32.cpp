// Process entry and the run modes chosen by the command tail.
#include "host/host_entry_win32.h"

#include "dialogs/settings_dialog_win32.h"
#include "host/host_state_win32.h"
#include "host/password_win32.h"
#include "host/saver_window_win32.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kVersionInfoSize = 148;  // the size of OSVERSIONINFOA

// The filter that was in place before the guard; restored while the system's
// filter looks at an exception, so that the system's filter, which consults
// the process's top-level filter, does not come back into the guard.
LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;

bool IsWin9xPlatform() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = kVersionInfoSize;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
  return known && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// The system's error report must not come up behind a topmost window that
// no longer draws, nor find the cursor held inside the control menu: the
// full-screen window is hidden, by the system's default procedure alone (none
// of the program's own code runs any more), and the cursor is let go.
void StepAsideForTheReport() {
  HWND saver = HostState.SaverWindow;
  if (!saver || HostState.PreviewMode || !IsWindow(saver)) return;
  ClipCursor(nullptr);
  SetWindowLongPtrA(saver, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
  ShowWindow(saver, SW_HIDE);
}

// The first switch letter decides (host/command_tail.h).
int RunMode(const char* tail) {
  const RunModeSwitch request = ReadRunModeSwitch(tail);
  switch (request.mode) {
    case RunModeRequest::Settings:
      return RunSettingsDialog(nullptr);
    case RunModeRequest::OwnedSettings:
      return RunSettingsDialog(GetForegroundWindow());
    case RunModeRequest::Saver:
      return RunSaverWindow(nullptr);
    case RunModeRequest::Preview:
      return RunPreview(request.argument);
    case RunModeRequest::PasswordChange:
      if (!HostState.Win9xPlatform) return -1;
      return RunPasswordChange(request.argument);
    case RunModeRequest::Unknown:
      break;
  }
  return -1;
}

}  // namespace

void HostStartup() {
  const char* tail = CommandTail(GetCommandLineA());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
  const int result = HostEntry(GetModuleHandleA(nullptr), nullptr, tail, show);
  ExitProcess(static_cast<UINT>(result));
}

int HostEntry(HINSTANCE instance, HINSTANCE, const char* tail, int) {
  HostState.Instance = instance;
  HostState.Win9xPlatform = IsWin9xPlatform();
  InstallExceptionGuard();
  const int result = RunMode(tail);
  RemoveExceptionGuard();
  return result;
}

// A window handle is 32 bits wide between programs of either word size, and
// a 64-bit program widens it with its sign, as the system does.
HWND WindowFromNumber(uint32_t number) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(number)));
}

int RunPreview(const char* text) {
  HWND parent = WindowFromNumber(ParseWindowNumber(text));
  if (!parent || !IsWindow(parent)) return -1;
  return RunSaverWindow(parent);
}

bool PrepareDialogClasses(HINSTANCE) { return true; }

int RunSettingsDialog(HWND parent) {
  if (!PrepareDialogClasses(HostState.Instance)) return 0;
  RegisterSettingsControls();
  return static_cast<int>(DialogBoxParamA(HostState.Instance, MAKEINTRESOURCEA(IDD_SETTINGS),
                                          parent, SettingsDialogProc, 0));
}

int RunPasswordChange(const char* text) {
  HWND owner = WindowFromNumber(ParseWindowNumber(text));
  ChangeSaverPassword(owner && IsWindow(owner) ? owner : GetForegroundWindow());
  return 0;
}

void InstallExceptionGuard() { PreviousFilter = SetUnhandledExceptionFilter(ExceptionGuardFilter); }

void RemoveExceptionGuard() { SetUnhandledExceptionFilter(PreviousFilter); }

LONG WINAPI ExceptionGuardFilter(EXCEPTION_POINTERS* exception) {
  StepAsideForTheReport();
  SetUnhandledExceptionFilter(PreviousFilter);
  const LONG verdict = UnhandledExceptionFilter(exception);
  if (verdict != EXCEPTION_EXECUTE_HANDLER) return verdict;
  SetSaverRunning(false);
  ExitProcess(static_cast<UINT>(-1));
}
