// The control menu, dialog 105: a small modal list of the keys. In the saver
// window the cursor shows inside it and cannot leave it while it is open.
#include <windows.h>

#include "controls/control_menu.h"
#include "controls/view_keys.h"
#include "core/saver_state.h"
#include "platform/instance_win32.h"
#include "resources/resource.h"

namespace {

bool ControlMenuOpen = false;

// The monitor a window opened for its owner belongs on: the owner's (the
// Screen Saver page may be on any monitor), the primary for the full-screen
// saver, which covers every monitor and shows the scene there in every
// layout, and the cursor's when there is no owner.
HMONITOR MonitorForOwnerOf(HWND window) {
  if (SaverState.SaverMode && SaverState.FullScreen)
    return MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (HWND owner = GetWindow(window, GW_OWNER)) return MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
  POINT cursor{};
  GetCursorPos(&cursor);  // unreadable, it is 0, 0: the primary
  return MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
}

void OnInitDialog(HWND dialog) {
  SetDlgItemTextA(dialog, IDC_MENU_KEYS, ControlMenuText(MenuText::Keys).c_str());
  SetDlgItemTextA(dialog, IDC_MENU_MODULES, ControlMenuText(MenuText::Modules).c_str());
  CenterWindow(dialog);
  SetFocus(GetDlgItem(dialog, IDOK));
  if (!SaverState.SaverMode) return;
  ShowCursor(TRUE);
  RECT area;
  GetWindowRect(dialog, &area);
  ClipCursor(&area);
}

void OnDismiss(HWND dialog) {
  if (SaverState.SaverMode) {
    ShowCursor(FALSE);
    ClipCursor(nullptr);
  }
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK ControlMenuProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return FALSE;  // the focus is set already
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return TRUE;
      OnDismiss(dialog);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

void ShowControlMenu(WindowHandle owner) {
  if (ControlMenuOpen) return;
  ControlMenuOpen = true;
  DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_CONTROL_MENU), static_cast<HWND>(owner),
                  ControlMenuProc, 0);
  ControlMenuOpen = false;
}

void CenterWindow(WindowHandle handle) {
  HWND window = static_cast<HWND>(handle);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT area, own;
  if (GetMonitorInfoA(MonitorForOwnerOf(window), &monitor)) area = monitor.rcWork;  // the taskbar left out
  else GetWindowRect(GetDesktopWindow(), &area);
  GetWindowRect(window, &own);
  const int x = area.left + (area.right - area.left - (own.right - own.left)) / 2;
  const int y = area.top + (area.bottom - area.top - (own.bottom - own.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}
