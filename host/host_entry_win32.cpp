// Process entry and the run modes chosen by the command tail.
#include "host/host_entry_win32.h"

#include "dialogs/settings_dialog_win32.h"
#include "host/host_state.h"
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

const char* SkipBlanks(const char* text) {
  while (*text == ' ') ++text;
  return text;
}

// The first switch letter decides; only blanks, dashes and slashes may come
// before it.
int RunMode(const char* tail) {
  for (const char* c = tail;; ++c) {
    switch (*c) {
      case '\0':
        return RunSettingsDialog(nullptr);
      case ' ':
      case '-':
      case '/':
        break;
      case 'S':
      case 's':
        return RunSaverWindow(nullptr);
      case 'C':
      case 'c':
        return RunSettingsDialog(GetForegroundWindow());
      case 'P':
      case 'p':
      case 'L':
      case 'l':
        return RunPreview(SkipBlanks(c + 1));
      case 'A':
      case 'a':
        if (!HostState.Win9xPlatform) return -1;
        return RunPasswordChange(SkipBlanks(c + 1));
      default:
        return -1;
    }
  }
}

}  // namespace

const char* CommandTail(const char* line) {
  const char* c = line;
  if (*c == '"') {
    do c = CharNextA(c);
    while (*c && *c != '"');
    if (*c == '"') c = CharNextA(c);
  } else {
    // Every byte above a blank belongs to the name, 0x80 to 0xFF included.
    while (static_cast<unsigned>(static_cast<signed char>(*c)) > ' ') c = CharNextA(c);
  }
  // Only control characters and blanks separate; bytes from 0x80 stop the skip.
  while (*c && static_cast<unsigned char>(*c) <= ' ') c = CharNextA(c);
  return c;
}

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

uint32_t ParseWindowNumber(const char* text) {
  uint32_t value = 0;
  for (const char* c = text; *c >= '0' && *c <= '9'; ++c)
    value = value * 10u + static_cast<uint32_t>(*c - '0');
  return value;
}

HWND WindowFromNumber(uint32_t number) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
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
  SetUnhandledExceptionFilter(PreviousFilter);
  const LONG verdict = UnhandledExceptionFilter(exception);
  if (verdict != EXCEPTION_EXECUTE_HANDLER) return verdict;
  SetSaverRunning(false);
  ExitProcess(static_cast<UINT>(-1));
}
