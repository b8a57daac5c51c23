// The screen-saver host's process-wide variables: the instance, the platform
// test, the saver window and its shape, the close approval, the mouse anchor
// and the optional system libraries for passwords and input methods.
#pragma once

#include <windows.h>

using VerifyPasswordFn = BOOL(WINAPI*)(HWND);
using AssociateContextFnType = HANDLE(WINAPI*)(HWND, HANDLE);

struct HostStateRecord {
  HINSTANCE Instance = nullptr;
  bool Win9xPlatform = false;
  HWND SaverWindow = nullptr;
  bool PreviewMode = false;
  bool CloseApproved = false;  // once set, never cleared
  POINT CursorAnchor = {0, 0};
  bool Verifying = false;
  DWORD LastVerifyTime = 0xFFFFFFFFu;  // never
  HMODULE PasswordLibrary = nullptr;
  VerifyPasswordFn PasswordVerifier = nullptr;
  HMODULE ImeLibrary = nullptr;
  AssociateContextFnType AssociateContextFn = nullptr;
  HANDLE SavedInputContext = nullptr;
};

extern HostStateRecord HostState;
