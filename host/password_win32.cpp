// Password verification and change on the Windows 9x platform. The libraries
// are looked up by name; a missing key, value, library or function simply
// means that no password is asked.
#include "host/password_win32.h"

#include "host/host_state_win32.h"

namespace {

constexpr UINT kScreenSaverRunning = 97;   // SPI_SCREENSAVERRUNNING
constexpr DWORD kQuietTime = 200;          // ms after a verification when closes are refused
constexpr DWORD kNeverVerified = 0xFFFFFFFFu;

using ChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);

// Reads "ScreenSaveUsePassword" as a number; shorter data leaves the rest of
// the zeroed buffer as it was.
bool PasswordWanted() {
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return false;
  DWORD value = 0;
  DWORD size = sizeof value;
  const LONG rc = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS && value != 0;
}

void LoadVerifierLibrary() {
  HostState.PasswordLibrary = LoadLibraryA("PASSWORD.CPL");
  if (!HostState.PasswordLibrary) return;
  HostState.PasswordVerifier = reinterpret_cast<VerifyPasswordFn>(
      reinterpret_cast<void*>(GetProcAddress(HostState.PasswordLibrary, "VerifyScreenSavePwd")));
  if (HostState.PasswordVerifier)
    SetSaverRunning(true);
  else
    UnloadPasswordVerifier();
}

}  // namespace

void SetSaverRunning(bool on) {
  if (!HostState.Win9xPlatform) return;
  UINT previous = 0;
  SystemParametersInfoA(kScreenSaverRunning, on ? 1 : 0, &previous, 0);
}

void LoadPasswordVerifier() {
  if (!HostState.Win9xPlatform) return;
  if (HostState.PasswordLibrary) UnloadPasswordVerifier();
  if (PasswordWanted()) LoadVerifierLibrary();
}

void UnloadPasswordVerifier() {
  if (!HostState.Win9xPlatform || !HostState.PasswordLibrary) return;
  FreeLibrary(HostState.PasswordLibrary);
  HostState.PasswordLibrary = nullptr;
  if (HostState.PasswordVerifier) {
    HostState.PasswordVerifier = nullptr;
    SetSaverRunning(false);
  }
}

bool ConfirmClose(HWND window) {
  if (HostState.Verifying) return false;
  if (!HostState.PasswordVerifier) {
    HostState.CloseApproved = true;
    return true;
  }
  const DWORD now = GetTickCount();
  if (HostState.LastVerifyTime != kNeverVerified &&
      TickElapsed(HostState.LastVerifyTime, now) < kQuietTime)
    return false;
  HostState.Verifying = true;
  // Timer messages that piled up must not run while the verifier's dialog is up.
  MSG message;
  PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
  PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
  HostState.CloseApproved = SendMessageA(window, PasswordCheckRequest, 0, 0) != 0;
  HostState.Verifying = false;
  if (!HostState.CloseApproved) SetCursor(nullptr);
  HostState.LastVerifyTime = GetTickCount();
  return HostState.CloseApproved;
}

LRESULT AnswerPasswordCheck(HWND window) {
  if (HostState.PasswordVerifier) return HostState.PasswordVerifier(window);
  return 1;
}

uint32_t TickElapsed(uint32_t earlier, uint32_t later) { return later - earlier; }

void ChangeSaverPassword(HWND owner) {
  HMODULE library = LoadLibraryA("MPR.DLL");
  if (!library) return;
  auto change = reinterpret_cast<ChangePasswordFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
  if (change) change("SCRSAVE", owner, 0, nullptr);
  FreeLibrary(library);
}
