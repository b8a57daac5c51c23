// The Win32 side of the end-to-end tests: starts lumvia.scr with exact
// command lines, gives a preview a live parent window, looks at the saver's
// windows and reads or writes the stored settings. One command per run:
//
//   e2e_host launch SCR TAIL [SECONDS]  run "SCR" TAIL, print "exit N", or
//                                       "running" if it has not ended in time
//   e2e_host saver SCR TAIL [SECONDS]   run it, wait for the full-screen
//                                       window, let it run for SECONDS (none
//                                       unless given), close it, print "exit N"
//   e2e_host preview SCR TAIL           make a parent window, run the tail
//                                       with %u replaced by its number, check
//                                       the preview, close it, print "exit N"
//   e2e_host owner SCR TAIL             as preview, without waiting for a
//                                       preview: for the password change
//   e2e_host owned SCR TAIL ID          as owner, with the parent in front: wait
//                                       for the settings dialog, press its button
//                                       ID, print "exit N", whether the dialog's
//                                       owner was the parent ("owner 1") and
//                                       whether the parent is "enabled" and
//                                       "active" again once it has gone
//   e2e_host centre SCR TAIL [X Y]      with a window of this program at X, Y in
//                                       front (without X Y, none), run the tail,
//                                       wait for the settings dialog, print where
//                                       its middle is, "X Y", and cancel it
//   e2e_host window X Y W H             show a window of this program there, not
//                                       activated; print "clicked" once it is
//                                       clicked, or "not clicked" in time
//   e2e_host beside SCR TAIL            as preview, then run SCR /s while the
//                                       preview runs: print both exit codes
//   e2e_host orphan SCR TAIL            as preview, but let it draw for a
//                                       second and destroy the parent instead
//                                       of closing the preview: print "exit N"
//                                       if it ends within 2 s, else "running"
//   e2e_host quit SCR CODE              run SCR /s, wait for its window, post
//                                       WM_QUIT with CODE to its thread, print
//                                       "exit N"
//   e2e_host probe                      describe the full-screen saver window
//   e2e_host close                      post WM_CLOSE to the full-screen saver window
//   e2e_host monitors                   print each monitor: left top right bottom,
//                                       "primary" after the primary one
//   e2e_host place DEVICE X Y [W H]     move a display (\\.\DISPLAY2, say) to X, Y,
//                                       and give it W x H pixels, through the
//                                       system's display settings
//   e2e_host text TITLE                 print the texts of a window's statics
//   e2e_host press TITLE ID             click button ID of the window TITLE
//   e2e_host item TITLE ID              print where control ID of the window TITLE
//                                       is on the screen: "X Y W H"
//   e2e_host droplist                   wait for the drop-down list of a combo box
//                                       to show; print where it is and the height
//                                       of an item: "X Y W H ITEM"
//   e2e_host drawing TITLE              clear the module buttons of the settings
//                                       dialog TITLE; print "drawing" once a frame
//                                       of its preview has checked one again
//   e2e_host values                     print every stored setting, name=value
//   e2e_host names                      print the name of every value the saver
//                                       stores, one a line
//   e2e_host set NAME VALUE             store one setting
//   e2e_host clear                      remove the settings key
//   e2e_host usepassword N|-            set or remove "ScreenSaveUsePassword"
//   e2e_host nine EXE on|off            make Wine report Windows 98 to EXE
//                                       and load MPR.DLL from beside it
//
// SCR is a Windows path; TAIL may hold \t for a tab. Exit code 0 when the
// command did what it says, 1 otherwise, with the reason on stderr.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/stored_values.h"

namespace {

constexpr char kSettingsKey[] = "Software\\Tessaron\\Lumvia";
constexpr char kSaverClass[] = "WindowsScreenSaverClass";
constexpr DWORD kPatience = 30000;  // ms: every wait ends by then

int Fail(const char* what) {
  std::fprintf(stderr, "e2e_host: %s\n", what);
  return 1;
}

std::string Unescape(const char* text) {
  std::string out;
  for (const char* c = text; *c; ++c) {
    if (c[0] == '\\' && c[1] == 't') {
      out += '\t';
      ++c;
    } else {
      out += *c;
    }
  }
  return out;
}

std::string WithNumber(const std::string& tail, HWND window) {
  std::string out;
  const std::string number = std::to_string(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
  for (size_t i = 0; i < tail.size(); ++i) {
    if (tail.compare(i, 2, "%u") == 0) {
      out += number;
      ++i;
    } else {
      out += tail[i];
    }
  }
  return out;
}

// Starts "SCR" TAIL; says why on stderr when it cannot.
bool Start(const char* scr, const std::string& tail, PROCESS_INFORMATION* process) {
  std::string line = std::string("\"") + scr + "\"";
  if (!tail.empty()) line += " " + tail;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     process))
    return true;
  std::fprintf(stderr, "e2e_host: CreateProcess of %s failed with error %lu\n", line.c_str(),
               static_cast<unsigned long>(GetLastError()));
  return false;
}

// Waits for the process while keeping this thread's windows answering.
bool WaitForExit(HANDLE process, DWORD patience, DWORD* code) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < patience) {
    const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, 100, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return GetExitCodeProcess(process, code) != 0;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  }
  return false;
}

template <typename Find>
HWND WaitForWindow(Find find) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kPatience) {
    if (HWND w = find(); w && IsWindowVisible(w)) return w;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(20);
  }
  return nullptr;
}

// Prints "exit N", or "running" (and ends the process) when it has not ended
// within the patience.
int PrintExit(PROCESS_INFORMATION& process, DWORD patience) {
  DWORD code = 0;
  const bool ended = WaitForExit(process.hProcess, patience, &code);
  if (ended) {
    std::printf("exit %ld\n", static_cast<long>(static_cast<int32_t>(code)));
  } else {
    std::printf("running\n");
    TerminateProcess(process.hProcess, 99);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

int Launch(const char* scr, const char* tail, const char* seconds) {
  PROCESS_INFORMATION process{};
  if (!Start(scr, Unescape(tail), &process)) return Fail("cannot start the saver");
  const DWORD patience = seconds ? static_cast<DWORD>(std::atoi(seconds)) * 1000 : kPatience;
  return PrintExit(process, patience);
}

int Saver(const char* scr, const char* tail, const char* seconds) {
  PROCESS_INFORMATION process{};
  if (!Start(scr, Unescape(tail), &process)) return Fail("cannot start the saver");
  HWND saver = WaitForWindow([] { return FindWindowA(kSaverClass, "Screen Saver"); });
  if (!saver) {
    TerminateProcess(process.hProcess, 99);
    return Fail("no full-screen saver window appeared");
  }
  DWORD code = 0;
  if (seconds) WaitForExit(process.hProcess, static_cast<DWORD>(std::atoi(seconds)) * 1000, &code);
  PostMessageA(saver, WM_CLOSE, 0, 0);
  return PrintExit(process, kPatience);
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeParent(int x = 40, int y = 40) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LumviaE2eParent";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);
  RECT r = {0, 0, 200, 150};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowExA(0, wc.lpszClassName, "Lumvia e2e parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         x, y, r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance,
                         nullptr);
}

// Keeps this thread's windows answering for that long.
void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(20);
  }
}

// The Screen Saver settings page opens the settings with its own window in
// front; they should give it back the activation when they close.
int Owned(const char* scr, const char* tail, const char* id) {
  HWND parent = MakeParent();
  if (!parent) return Fail("cannot make the parent window");
  SetForegroundWindow(parent);
  PROCESS_INFORMATION process{};
  if (!Start(scr, WithNumber(Unescape(tail), parent), &process)) return Fail("cannot start the saver");
  HWND dialog = WaitForWindow([] { return FindWindowA(nullptr, "Lumvia Settings"); });
  if (!dialog) {
    TerminateProcess(process.hProcess, 99);
    return Fail("no settings dialog appeared");
  }
  const bool owned = GetWindow(dialog, GW_OWNER) == parent;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(std::atoi(id), BN_CLICKED), 0);
  PrintExit(process, kPatience);
  Pump(500);  // the activation settles
  std::printf("owner %d enabled %d active %d\n", owned ? 1 : 0, IsWindowEnabled(parent) ? 1 : 0,
              GetForegroundWindow() == parent ? 1 : 0);
  DestroyWindow(parent);
  return 0;
}

// Where the settings dialog opens: on the monitor of the window in front, or
// of the cursor.
int Centre(const char* scr, const char* tail, const char* x, const char* y) {
  HWND parent = x ? MakeParent(std::atoi(x), std::atoi(y)) : nullptr;
  if (x && !parent) return Fail("cannot make the parent window");
  if (parent) SetForegroundWindow(parent);
  PROCESS_INFORMATION process{};
  if (!Start(scr, Unescape(tail), &process)) return Fail("cannot start the saver");
  HWND dialog = WaitForWindow([] { return FindWindowA(nullptr, "Lumvia Settings"); });
  if (!dialog) {
    TerminateProcess(process.hProcess, 99);
    return Fail("no settings dialog appeared");
  }
  RECT r;
  GetWindowRect(dialog, &r);
  std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  DWORD code = 0;
  WaitForExit(process.hProcess, kPatience, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (parent) DestroyWindow(parent);
  return 0;
}

LRESULT CALLBACK ClickedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

// Another program's window, which a click activates.
int Window(const char* x, const char* y, const char* width, const char* height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ClickedProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LumviaE2eWindow";
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "Lumvia e2e window", WS_POPUP | WS_BORDER,
                                std::atoi(x), std::atoi(y), std::atoi(width), std::atoi(height),
                                nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return Fail("cannot make the window");
  ShowWindow(window, SW_SHOWNOACTIVATE);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kPatience) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) {
        std::printf("clicked\n");
        return 0;
      }
      DispatchMessageA(&m);
    }
    Sleep(20);
  }
  std::printf("not clicked\n");
  return 1;
}

int Preview(const char* scr, const char* tail, bool waitForPreview) {
  HWND parent = MakeParent();
  if (!parent) return Fail("cannot make the parent window");
  PROCESS_INFORMATION process{};
  if (!Start(scr, WithNumber(Unescape(tail), parent), &process)) return Fail("cannot start the saver");
  if (waitForPreview) {
    HWND preview = WaitForWindow([parent] { return FindWindowExA(parent, nullptr, kSaverClass, "Preview"); });
    if (!preview) {
      TerminateProcess(process.hProcess, 99);
      return Fail("no preview appeared inside the parent");
    }
    RECT own, host;
    GetClientRect(preview, &own);
    GetClientRect(parent, &host);
    std::printf("preview %ldx%ld in %ldx%ld\n", own.right, own.bottom, host.right, host.bottom);
    PostMessageA(preview, WM_CLOSE, 0, 0);
  }
  const int r = PrintExit(process, kPatience);
  DestroyWindow(parent);
  return r;
}

// The Display control panel ends a preview by destroying its own window: the
// preview gets no WM_CLOSE, only its WM_DESTROY.
int Orphan(const char* scr, const char* tail) {
  HWND parent = MakeParent();
  if (!parent) return Fail("cannot make the parent window");
  PROCESS_INFORMATION process{};
  if (!Start(scr, WithNumber(Unescape(tail), parent), &process)) return Fail("cannot start the saver");
  if (!WaitForWindow([parent] { return FindWindowExA(parent, nullptr, kSaverClass, "Preview"); })) {
    TerminateProcess(process.hProcess, 99);
    return Fail("no preview appeared inside the parent");
  }
  Pump(1000);  // frames run meanwhile
  DestroyWindow(parent);
  return PrintExit(process, 2000);
}

// A quit posted to the full-screen saver's thread from outside.
int Quit(const char* scr, const char* code) {
  PROCESS_INFORMATION process{};
  if (!Start(scr, "/s", &process)) return Fail("cannot start the saver");
  HWND saver = WaitForWindow([] { return FindWindowA(kSaverClass, "Screen Saver"); });
  if (!saver) {
    TerminateProcess(process.hProcess, 99);
    return Fail("no full-screen saver window appeared");
  }
  PostThreadMessageA(GetWindowThreadProcessId(saver, nullptr), WM_QUIT,
                     static_cast<WPARAM>(std::atoi(code)), 0);
  return PrintExit(process, kPatience);
}

// A running preview does not keep a full-screen saver from starting.
int Beside(const char* scr, const char* tail) {
  HWND parent = MakeParent();
  if (!parent) return Fail("cannot make the parent window");
  PROCESS_INFORMATION preview{};
  if (!Start(scr, WithNumber(Unescape(tail), parent), &preview)) return Fail("cannot start the preview");
  HWND child = WaitForWindow([parent] { return FindWindowExA(parent, nullptr, kSaverClass, "Preview"); });
  if (!child) {
    TerminateProcess(preview.hProcess, 99);
    return Fail("no preview appeared inside the parent");
  }
  PROCESS_INFORMATION saver{};
  if (!Start(scr, "/s", &saver)) return Fail("cannot start the saver");
  HWND full = WaitForWindow([] { return FindWindowA(kSaverClass, "Screen Saver"); });
  if (!full) {
    TerminateProcess(saver.hProcess, 99);
    TerminateProcess(preview.hProcess, 99);
    return Fail("no full-screen saver beside the preview");
  }
  PostMessageA(full, WM_CLOSE, 0, 0);
  std::printf("saver ");
  PrintExit(saver, kPatience);
  PostMessageA(child, WM_CLOSE, 0, 0);
  std::printf("preview ");
  const int r = PrintExit(preview, kPatience);
  DestroyWindow(parent);
  return r;
}

int UsePassword(const char* value) {
  const char key[] = "Control Panel\\Desktop";
  if (std::strcmp(value, "-") == 0) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "ScreenSaveUsePassword");
    return 0;
  }
  const DWORD data = static_cast<DWORD>(std::atoi(value));
  return RegSetKeyValueA(HKEY_CURRENT_USER, key, "ScreenSaveUsePassword", REG_DWORD, &data,
                         sizeof data) == ERROR_SUCCESS
             ? 0
             : Fail("cannot store the value");
}

// Wine's per-program settings: the version it reports and the load order.
int Nine(const char* exe, const char* state) {
  const std::string key = std::string("Software\\Wine\\AppDefaults\\") + exe;
  if (std::strcmp(state, "on") != 0) {
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    return 0;
  }
  const char version[] = "win98";
  const char order[] = "native,builtin";
  const bool ok =
      RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Version", REG_SZ, version, sizeof version) ==
          ERROR_SUCCESS &&
      RegSetKeyValueA(HKEY_CURRENT_USER, (key + "\\DllOverrides").c_str(), "mpr", REG_SZ, order,
                      sizeof order) == ERROR_SUCCESS;
  return ok ? 0 : Fail("cannot set the program's Wine settings");
}

int Probe() {
  HWND saver = FindWindowA(kSaverClass, "Screen Saver");
  if (!saver) return Fail("no full-screen saver window");
  RECT r;
  GetWindowRect(saver, &r);
  const LONG exStyle = GetWindowLongA(saver, GWL_EXSTYLE);
  std::printf("topmost %d\nrect %ld %ld %ld %ld\nscreen %d %d\nvisible %d\n",
              (exStyle & WS_EX_TOPMOST) ? 1 : 0, r.left, r.top, r.right, r.bottom,
              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
              IsWindowVisible(saver) ? 1 : 0);
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  std::printf("virtual %d %d %d %d\n", x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
              y + GetSystemMetrics(SM_CYVIRTUALSCREEN));
  return 0;
}

int Close() {
  HWND saver = FindWindowA(kSaverClass, "Screen Saver");
  if (!saver) return Fail("no full-screen saver window");
  PostMessageA(saver, WM_CLOSE, 0, 0);
  return 0;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  std::printf("%ld %ld %ld %ld%s\n", r.left, r.top, r.right, r.bottom,
              (info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : "");
  return TRUE;
}

int Monitors() {
  EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
  return 0;
}

// As the display settings of the system move a monitor: the new place is
// recorded, then applied, and every top-level window is told the layout changed.
int Place(const char* device, const char* x, const char* y, const char* width, const char* height) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsExA(device, ENUM_CURRENT_SETTINGS, &mode, 0)) return Fail("no such display");
  mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  mode.dmPosition.x = std::atoi(x);
  mode.dmPosition.y = std::atoi(y);
  if (width && height) {
    mode.dmPelsWidth = static_cast<DWORD>(std::atoi(width));
    mode.dmPelsHeight = static_cast<DWORD>(std::atoi(height));
  }
  if (ChangeDisplaySettingsExA(device, &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr) !=
          DISP_CHANGE_SUCCESSFUL ||
      ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr) != DISP_CHANGE_SUCCESSFUL)
    return Fail("the display settings refused the place");
  return 0;
}

BOOL CALLBACK PrintText(HWND child, LPARAM) {
  char name[32] = {}, text[1024] = {};
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Static") != 0) return TRUE;
  GetWindowTextA(child, text, sizeof text);
  std::printf("%s\n", text);
  return TRUE;
}

int Text(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) return Fail("no such window");
  EnumChildWindows(window, PrintText, 0);
  return 0;
}

int Press(const char* title, const char* id) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) return Fail("no such window");
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(id), BN_CLICKED), 0);
  return 0;
}

int Item(const char* title, const char* id) {
  HWND window = FindWindowA(nullptr, title);
  HWND item = window ? GetDlgItem(window, std::atoi(id)) : nullptr;
  if (!item) return Fail("no such control");
  RECT r;
  GetWindowRect(item, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}

BOOL CALLBACK FindDropList(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, "ComboLBox") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

int DropList() {
  HWND list = WaitForWindow([] {
    HWND found = nullptr;
    EnumWindows(FindDropList, reinterpret_cast<LPARAM>(&found));
    return found;
  });
  if (!list) return Fail("no drop-down list showed");
  RECT r;
  GetWindowRect(list, &r);
  const LRESULT item = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
  std::printf("%ld %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
              static_cast<long>(item));
  return 0;
}

// Each frame of the preview checks the current module's button.
int Drawing(const char* title) {
  HWND dialog = FindWindowA(nullptr, title);
  if (!dialog) return Fail("no such window");
  constexpr int kFirstButton = 1024, kLastButton = 1033;
  for (int id = kFirstButton; id <= kLastButton; ++id)
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, BST_UNCHECKED, 0);
  const bool drawn = WaitForWindow([dialog] {
    for (int id = kFirstButton; id <= kLastButton; ++id)
      if (SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED) return dialog;
    return HWND{};
  });
  std::printf("%s\n", drawn ? "drawing" : "still");
  return 0;
}

int Values() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  for (DWORD i = 0;; ++i) {
    char name[64];
    DWORD nameSize = sizeof name, type = 0, data = 0, size = sizeof data;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                      &size) != ERROR_SUCCESS)
      break;
    std::printf("%s=%ld\n", name, static_cast<long>(static_cast<int32_t>(data)));
  }
  RegCloseKey(key);
  return 0;
}

int Names() {
  ForEachStoredValue([](const StoredValue& v, int module) {
    std::printf("%s\n", StoredValueName(v, module).c_str());
  });
  return 0;
}

int Set(const char* name, const char* value) {
  const DWORD data = static_cast<DWORD>(std::strtol(value, nullptr, 10));
  if (RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &data, sizeof data) !=
      ERROR_SUCCESS)
    return Fail("cannot store the value");
  return 0;
}

int Clear() {
  const LONG r = RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
  return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? 0 : Fail("cannot remove the key");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "launch" && argc >= 4) return Launch(argv[2], argv[3], argc > 4 ? argv[4] : nullptr);
  if (command == "saver" && argc >= 4) return Saver(argv[2], argv[3], argc > 4 ? argv[4] : nullptr);
  if (command == "preview" && argc == 4) return Preview(argv[2], argv[3], true);
  if (command == "owner" && argc == 4) return Preview(argv[2], argv[3], false);
  if (command == "owned" && argc == 5) return Owned(argv[2], argv[3], argv[4]);
  if (command == "centre" && (argc == 4 || argc == 6))
    return Centre(argv[2], argv[3], argc == 6 ? argv[4] : nullptr, argc == 6 ? argv[5] : nullptr);
  if (command == "window" && argc == 6) return Window(argv[2], argv[3], argv[4], argv[5]);
  if (command == "beside" && argc == 4) return Beside(argv[2], argv[3]);
  if (command == "orphan" && argc == 4) return Orphan(argv[2], argv[3]);
  if (command == "quit" && argc == 4) return Quit(argv[2], argv[3]);
  if (command == "usepassword" && argc == 3) return UsePassword(argv[2]);
  if (command == "nine" && argc == 4) return Nine(argv[2], argv[3]);
  if (command == "probe") return Probe();
  if (command == "close") return Close();
  if (command == "monitors") return Monitors();
  if (command == "place" && (argc == 5 || argc == 7))
    return Place(argv[2], argv[3], argv[4], argc == 7 ? argv[5] : nullptr, argc == 7 ? argv[6] : nullptr);
  if (command == "text" && argc == 3) return Text(argv[2]);
  if (command == "press" && argc == 4) return Press(argv[2], argv[3]);
  if (command == "item" && argc == 4) return Item(argv[2], argv[3]);
  if (command == "droplist") return DropList();
  if (command == "drawing" && argc == 3) return Drawing(argv[2]);
  if (command == "values") return Values();
  if (command == "names") return Names();
  if (command == "set" && argc == 4) return Set(argv[2], argv[3]);
  if (command == "clear") return Clear();
  return Fail("unknown command; see the top of e2e_host.cpp");
}
