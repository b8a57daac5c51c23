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
  RECT desktop, own;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(window, &own);
  const int x = (desktop.right - (own.right - own.left)) / 2;
  const int y = (desktop.bottom - (own.bottom - own.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}
