// The settings dialog: which modules the saver shows, how long each is shown,
// and a live preview that the frame loop draws on the dialog itself, steered
// with the saver's keys. Changes live in the module table until OK saves them.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "controls/control_menu.h"
#include "controls/view_keys.h"
#include "core/module_table.h"
#include "core/monitor_layout.h"
#include "core/saver_state.h"
#include "dialogs/about_box_win32.h"
#include "dialogs/settings_dialog_win32.h"
#include "frames/display_state_win32.h"
#include "frames/frame.h"
#include "frames/frame_loop_win32.h"
#include "platform/instance_win32.h"
#include "platform/messages.h"
#include "render/gl_context.h"
#include "render/render_state.h"
#include "resources/settings_ids.h"
#include "settings/registry_win32.h"
#include "settings/store.h"

bool CycleEditActive = false;
int32_t LastSpinPos = 0;

namespace {

constexpr int32_t kMinCycleTime = StoredValueOf(&CycleTime).leastChoice;
constexpr int32_t kMaxCycleTime = StoredValueOf(&CycleTime).mostChoice;
constexpr int kCycleTextSize = 10;  // so at most 9 characters of the box count
constexpr char kPreviewPaneClass[] = LUMVIA_PREVIEW_PANE_CLASS;

// The enable check box of each module, indexed by module number. The module
// buttons run in order (IDC_MODULE_BUTTON_1 - 1 + module); these do not.
constexpr int kEnableBoxes[kModuleSlots] = {
    0,           IDC_ENABLE_1, IDC_ENABLE_2, IDC_ENABLE_3, IDC_ENABLE_4, IDC_ENABLE_5,
    IDC_ENABLE_6, IDC_ENABLE_7, IDC_ENABLE_8, IDC_ENABLE_9, IDC_ENABLE_10};

// The up-down control's own range runs from 100 at the bottom to 0 at the
// top, so its up arrow lowers the position, and after every step the
// position goes back to the middle. So an arrow never meets the end of the
// range, where the control would report an unchanged position and the
// comparison could no longer tell up from down.
constexpr int kSpinBottom = 100;
constexpr int kSpinTop = 0;
constexpr int kSpinRest = 50;

// The preview's context was made and RenderTicks run.
bool FrameLoopRunning = false;

// While the About box is open no frame is drawn. A RenderTick that arrives
// meanwhile (the box was opened between two frames) is held and posted again
// when the box closes; run, it would keep the box's own loop busy with
// frames, and the box would never be painted.
bool AboutOpen = false;
bool TickHeld = false;

// The preview pane's size as its viewport last took it. The program is
// per-monitor DPI-aware: Windows lays the dialog out anew when it moves to a
// monitor of another scale, and the pane changes size with it.
SIZE PaneViewport = {};

int ModuleOfEnableBox(int id) {
  for (int module = 1; module <= kModuleCount; ++module)
    if (kEnableBoxes[module] == id) return module;
  return 0;
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The box's number as the C library's decimal conversion reads it: non-digits
// read as 0. Nine characters never overflow.
int32_t ReadCycleText(HWND dialog) {
  char text[kCycleTextSize] = {};
  GetDlgItemTextA(dialog, IDC_CYCLE_EDIT, text, sizeof text);
  return static_cast<int32_t>(std::strtol(text, nullptr, 10));
}

int32_t BoundCycleTime(int32_t v) {
  if (v < kMinCycleTime) v = kMinCycleTime;
  if (v > kMaxCycleTime) v = kMaxCycleTime;
  return v;
}

// Writing the box makes it report a change; that is the dialog's own write,
// not the user editing, so the editing state stays what it was.
void ShowCycleTime(HWND dialog, int32_t v) {
  bool editing = CycleEditActive;
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(v));
  SetDlgItemTextA(dialog, IDC_CYCLE_EDIT, text);
  CycleEditActive = editing;
}

void ShowEnabledFlags(HWND dialog) {
  for (int module = 1; module <= kModuleCount; ++module)
    CheckDlgButton(dialog, kEnableBoxes[module], ModuleTable[module].active ? BST_CHECKED : BST_UNCHECKED);
}

void SetAllEnabled(HWND dialog, bool active) {
  for (int module = 1; module <= kModuleCount; ++module) ModuleTable[module].active = active;
  ShowEnabledFlags(dialog);
}

void RestSpin(HWND dialog) {
  SendDlgItemMessageA(dialog, IDC_CYCLE_SPIN, UDM_SETPOS32, 0, kSpinRest);
  LastSpinPos = kSpinRest;
}

void SelectModule(HWND dialog, int module) {
  StoreModuleParams(CurrentModule);
  CurrentModule = module;
  LoadModuleParams(CurrentModule);
  ModuleTable[module].active = IsChecked(dialog, kEnableBoxes[module]);
}

void ShowOtherMonitors(HWND dialog) {
  for (const char* text : kOtherMonitorsTexts)
    SendDlgItemMessageA(dialog, IDC_OTHER_MONITORS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  SendDlgItemMessageA(dialog, IDC_OTHER_MONITORS, CB_SETCURSEL, static_cast<WPARAM>(OtherMonitors), 0);
}

void SaveDialogSettings(HWND dialog) {
  CycleTime = ReadCycleText(dialog);
  const LRESULT choice = SendDlgItemMessageA(dialog, IDC_OTHER_MONITORS, CB_GETCURSEL, 0, 0);
  if (choice >= 0 && choice < kOtherMonitorsChoiceCount) OtherMonitors = static_cast<int32_t>(choice);
  StoreModuleParams(CurrentModule);
  SaveSettings();
}

// OK after its save, and Cancel: the frame tick that is running posts the
// WM_CLOSE once its drain is over. When no tick runs (the preview has no
// context, or the command came between two ticks) the WM_CLOSE is posted
// here; one that comes after the close finds the dialog closed. The owner is
// enabled before the dialog hides: an active window that hides while its
// owner is still disabled hands the activation to some other window.
void RequestClose(HWND dialog) {
  AskToClose();
  if (HWND owner = GetWindow(dialog, GW_OWNER)) EnableWindow(owner, TRUE);
  ShowWindow(dialog, SW_HIDE);
  if (!FrameLoopRunning || !SaverState.InTick) PostMessageA(dialog, WM_CLOSE, 0, 0);
}

void ShowAbout(HWND dialog) {
  AboutOpen = true;
  ShowAboutBox(dialog);
  AboutOpen = false;
  if (TickHeld) PostRenderTick(dialog);
  TickHeld = false;
}

// The viewport follows the pane's size before a frame is drawn in it.
void FitViewportToPane(HWND dialog) {
  RECT client{};
  GetClientRect(GetDlgItem(dialog, IDC_PREVIEW_PANE), &client);
  if (client.right == PaneViewport.cx && client.bottom == PaneViewport.cy) return;
  PaneViewport = {client.right, client.bottom};
  SetViewport(client.right, client.bottom);
}

void RenderTick(HWND dialog) {
  if (AboutOpen) {
    TickHeld = true;
    return;
  }
  if (!SaverState.Closing) FitViewportToPane(dialog);
  // The keys of the keyboard controls steer the view, wherever the focus is,
  // but in the cycle-time box while it is edited and in the list of choices,
  // which work them themselves; every other key goes to the dialog manager
  // (Tab, Space, Alt with a letter).
  HandleDialogRenderTick(dialog, [](WPARAM key) {
    return HasViewAction(key) && !CycleEditActive && GetDlgCtrlID(GetFocus()) != IDC_OTHER_MONITORS;
  });
}

void NormaliseCycleText(HWND dialog) {
  CycleTime = BoundCycleTime(ReadCycleText(dialog));
  ShowCycleTime(dialog, CycleTime);
}

void OpenSettingsDialog(HWND dialog) {
  // A dialog starts with no close under way, whatever an earlier one left.
  StartSaverState(false, dialog, false);
  FrameViewports = {};  // the pane is one viewport, whatever a saver window left
  SetSettingsKey(dialog, kSettingsKeyPath);
  LoadSettings();
  FrameLoopRunning = InitSettingsDialog(dialog);
  if (!FrameLoopRunning) return;  // no preview: the pane stays black, no button is checked
  CycleEditActive = false;
  StartFrames(dialog);
}

void CloseSettingsDialog(HWND dialog) {
  if (StopFrames()) EndDialog(dialog, 1);
}

}  // namespace

void RegisterSettingsControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&controls);
  // The preview pane is a window of its own class for the GL context: its
  // own device context, and drawn neither by its parent nor over its
  // siblings, as a window must be whose pixel format is set.
  WNDCLASSA pane{};
  pane.style = CS_OWNDC;
  pane.lpfnWndProc = DefWindowProcA;
  pane.hInstance = ProgramInstance();
  pane.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  pane.lpszClassName = kPreviewPaneClass;
  RegisterClassA(&pane);  // fails harmlessly once registered
}

bool InitSettingsDialog(HWND dialog) {
  HWND pane = GetDlgItem(dialog, IDC_PREVIEW_PANE);
  CenterWindow(dialog);
  bool ok = CreateGLContext(pane, kColourBits);
  ShowEnabledFlags(dialog);
  HWND spin = GetDlgItem(dialog, IDC_CYCLE_SPIN);
  SetScrollRange(spin, SB_CTL, kMinCycleTime, kMaxCycleTime, FALSE);
  SendMessageA(spin, UDM_SETRANGE32, kSpinBottom, kSpinTop);
  RestSpin(dialog);
  ShowCycleTime(dialog, CycleTime);
  ShowOtherMonitors(dialog);
  return ok;
}

// The module buttons are one stop of the Tab key: the checked one, or the
// first while none is. (The arrow keys, which move among radio buttons
// elsewhere, steer the view here; Enter and Backspace step the modules.)
void CheckModuleRadio(WindowHandle dialog, int module) {
  int target = IsModuleNumber(module) ? IDC_MODULE_BUTTON_1 - 1 + module : 0;
  const int stop = target ? target : IDC_MODULE_BUTTON_1;
  for (int id = IDC_MODULE_BUTTON_1; id <= IDC_MODULE_BUTTON_10; ++id) {
    HWND button = GetDlgItem(static_cast<HWND>(dialog), id);
    CheckDlgButton(static_cast<HWND>(dialog), id, id == target ? BST_CHECKED : BST_UNCHECKED);
    const LONG style = GetWindowLongA(button, GWL_STYLE);
    SetWindowLongA(button, GWL_STYLE, id == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

INT_PTR SettingsCommand(HWND dialog, WPARAM wParam, LPARAM) {
  int id = LOWORD(wParam);
  int code = HIWORD(wParam);
  CycleEditActive = false;  // any command but the box's own ends its editing
  if (id >= IDC_MODULE_BUTTON_1 && id <= IDC_MODULE_BUTTON_10) {
    SelectModule(dialog, id - (IDC_MODULE_BUTTON_1 - 1));
    return FALSE;
  }
  if (int module = ModuleOfEnableBox(id)) {
    ModuleTable[module].active = IsChecked(dialog, id);
    return FALSE;
  }
  switch (id) {
    case IDOK:
      SaveDialogSettings(dialog);
      RequestClose(dialog);
      return FALSE;
    case IDCANCEL:
      RequestClose(dialog);
      return FALSE;
    case IDC_ABOUT_BUTTON:
      ShowAbout(dialog);
      return FALSE;
    case IDC_ENABLE_ALL:
      SetAllEnabled(dialog, true);
      return FALSE;
    case IDC_DISABLE_ALL:
      SetAllEnabled(dialog, false);
      return FALSE;
    case IDC_CYCLE_EDIT:
      CycleEditActive = code != EN_KILLFOCUS;
      if (!CycleEditActive) NormaliseCycleText(dialog);
      return TRUE;
    default:
      return TRUE;
  }
}

INT_PTR CycleTimeScroll(HWND dialog, WPARAM wParam, LPARAM) {
  int32_t v = ReadCycleText(dialog);
  switch (LOWORD(wParam)) {
    case SB_THUMBPOSITION: {
      int32_t pos = HIWORD(wParam);
      v = pos <= LastSpinPos ? v + 1 : v - 1;  // the up arrow lowers the position
      LastSpinPos = pos;
      RestSpin(dialog);
      break;
    }
    case SB_THUMBTRACK:
    case SB_ENDSCROLL:
      return TRUE;
    case SB_TOP:
      v = kMaxCycleTime;
      break;
    case SB_BOTTOM:
      v = 0;
      break;
    default:
      break;
  }
  CycleTime = BoundCycleTime(v);
  ShowCycleTime(dialog, CycleTime);
  return FALSE;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OpenSettingsDialog(dialog);
      return TRUE;  // the dialog manager sets the first focus
    case WM_COMMAND:
      return SettingsCommand(dialog, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
      return CycleTimeScroll(dialog, wParam, lParam);
    case kRenderTick:
      RenderTick(dialog);
      return FALSE;
    case WM_DISPLAYCHANGE:
      MatchSwapToMonitor(dialog);
      return FALSE;
    case WM_CLOSE:
      CloseSettingsDialog(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}
