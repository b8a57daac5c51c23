// The settings dialog built from resource 2003, run as the host runs it
// (RunSettingsDialog, modal, here on a thread of its own) and driven from the
// test's thread with real messages: its controls, the enable boxes, the
// module buttons, the cycle-time box and its up-down control, the keys in the
// preview and in the box, OK, Cancel, Esc and the close box against the real
// registry, the preview's drawing and the About box.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/module_table.h"
#include "dialogs/about_box_win32.h"
#include "dialogs/settings_dialog_win32.h"
#include "frames/display_state_win32.h"
#include "frames/frame.h"
#include "host/host_entry_win32.h"
#include "host/host_state_win32.h"
#include "render/gl.h"
#include "resources/resource.h"
#include "resources/settings_ids.h"
#include "scenes/skeleton.h"
#include "settings/registry_win32.h"
#include "settings/store.h"
#include "settings/stored_values.h"
#include "tests/win32/timer_period_win32.h"

namespace {

constexpr char kTitle[] = "Lumvia Settings";
constexpr int kModuleButtons[kModuleSlots] = {0,    1024, 1025, 1026, 1027, 1028,
                                              1029, 1030, 1031, 1032, 1033};
constexpr int kEnableBoxes[kModuleSlots] = {0,    1002, 1003, 1005, 1007, 1004,
                                            1006, 1009, 1010, 1011, 1012};

// Polls until the condition holds, for at most 20 seconds.
bool WaitFor(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

// A message that the dialog thread's hook answers by running a function
// there, so that the test reads and changes the dialog's state on its own
// thread, between two messages.
UINT RunMessage() {
  static const UINT message = RegisterWindowMessageA("LumviaSettingsTestRun");
  return message;
}

// When set, the preview pane is given a single-buffered pixel format just
// before the dialog opens, so that the preview's own context cannot be made.
bool SpoilPreviewFormat = false;

void GiveThePaneAnotherFormat(HWND dialog) {
  HWND pane = GetDlgItem(dialog, IDC_PREVIEW_PANE);
  HDC dc = GetDC(pane);
  PIXELFORMATDESCRIPTOR format{};
  const int count = DescribePixelFormat(dc, 1, sizeof format, &format);
  for (int i = 1; i <= count; ++i) {
    DescribePixelFormat(dc, i, sizeof format, &format);
    if ((format.dwFlags & PFD_SUPPORT_OPENGL) && (format.dwFlags & PFD_DRAW_TO_WINDOW) &&
        !(format.dwFlags & PFD_DOUBLEBUFFER) && SetPixelFormat(dc, i, &format))
      break;
  }
  ReleaseDC(pane, dc);
}

LRESULT CALLBACK RunHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == RunMessage()) (*reinterpret_cast<const std::function<void()>*>(sent->lParam))();
    if (sent->message == WM_INITDIALOG && SpoilPreviewFormat && GetDlgItem(sent->hwnd, IDC_PREVIEW_PANE))
      GiveThePaneAnotherFormat(sent->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Message boxes shown on the dialog's thread (the preview's "ERROR", say):
// recorded by caption and pressed away, so that a test never blocks on one.
// The dialogs of the program itself share the class of message boxes and are
// told apart by their titles.
std::vector<std::string> MessageBoxCaptions;

LRESULT CALLBACK MessageBoxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char name[64] = {}, caption[128] = {};
    GetClassNameA(box, name, sizeof name);
    GetWindowTextA(box, caption, sizeof caption);
    const std::string title = caption;
    if (std::string(name) == "#32770" && title != "Lumvia Settings" && title != "About Lumvia" &&
        title != "Control Menu") {
      MessageBoxCaptions.push_back(title);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

using Registry = std::map<std::string, DWORD>;

Registry ReadRegistry() {
  Registry values;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    char name[64];
    DWORD nameSize = sizeof name, type = 0, data = 0, dataSize = sizeof data;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&data), &dataSize) !=
        ERROR_SUCCESS)
      break;
    values[name] = data;
  }
  RegCloseKey(key);
  return values;
}

void WriteRegistry(const char* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

std::string WindowText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostState.Instance = GetModuleHandleA(nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKeyPath);
    ResetEngineState();
  }

  void TearDown() override {
    if (thread_.joinable()) {
      PostMessageA(dialog_, WM_CLOSE, 0, 0);
      WaitFor([this] { return done_.load(); });
      thread_.join();
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKeyPath);
    SpoilPreviewFormat = false;
  }

  // Opens the dialog and waits for its first frame, which checks the
  // current module's button.
  void Open(bool withPreview = true) {
    done_ = false;
    dialog_ = nullptr;
    thread_ = std::thread([this] {
      MessageBoxCaptions.clear();
      HHOOK boxes = SetWindowsHookExA(WH_CBT, MessageBoxHook, nullptr, GetCurrentThreadId());
      HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RunHook, nullptr, GetCurrentThreadId());
      result_ = RunSettingsDialog(nullptr);
      UnhookWindowsHookEx(hook);
      UnhookWindowsHookEx(boxes);
      done_ = true;
    });
    ASSERT_TRUE(WaitFor([this] {
      dialog_ = FindWindowA(nullptr, kTitle);
      return dialog_ != nullptr;
    }));
    if (withPreview) {
      ASSERT_TRUE(WaitFor([this] { return CheckedModule() != 0 || NoModuleActive(); }));
    } else {
      // The cycle time is the last thing the opening fills in.
      ASSERT_TRUE(WaitFor([this] { return !CycleText().empty(); }));
    }
    // Keys go to the active window: make sure it is this one before a test
    // moves the focus.
    SetForegroundWindow(dialog_);
    ASSERT_TRUE(WaitFor([this] { return GetForegroundWindow() == dialog_; }));
    OnDialog([] {});
  }

  // Waits for the dialog to end; its result.
  int Ended() {
    const bool ended = WaitFor([this] { return done_.load(); });
    EXPECT_TRUE(ended) << "closing " << SaverState.Closing << " closed " << SaverState.Closed << " visible "
                       << IsWindowVisible(dialog_);
    if (!ended) {
      PostMessageA(dialog_, WM_CLOSE, 0, 0);
      WaitFor([this] { return done_.load(); });
    }
    if (thread_.joinable()) thread_.join();
    return ended ? result_ : -1;
  }

  void OnDialog(const std::function<void()>& work) {
    ASSERT_NE(SendMessageA(dialog_, RunMessage(), 0, reinterpret_cast<LPARAM>(&work)), -1);
  }
  template <typename T>
  T Read(const std::function<T()>& read) {
    T value{};
    OnDialog([&] { value = read(); });
    return value;
  }

  HWND Item(int id) { return GetDlgItem(dialog_, id); }

  // The module whose button is checked, 0 for none (-1 for more than one).
  int CheckedModule() {
    int found = 0;
    for (int module = 1; module <= kModuleCount; ++module)
      if (SendMessageA(Item(kModuleButtons[module]), BM_GETCHECK, 0, 0) == BST_CHECKED) found = found ? -1 : module;
    return found;
  }
  bool NoModuleActive() {
    return Read<bool>([] { return CurrentModule == 0 && SaverState.LastFrameTime != 0; });
  }

  // Waits for frames to be drawn after this point.
  void WaitFrames(int count) {
    for (int i = 0; i < count; ++i) {
      const uint32_t last = Read<uint32_t>([] { return SaverState.LastFrameTime; });
      ASSERT_TRUE(WaitFor([&] { return Read<uint32_t>([] { return SaverState.LastFrameTime; }) != last; }));
    }
  }

  // A key press through the system's input, to the window with the focus.
  void PressKey(UINT key) {
    // The system's focus must be the dialog's: bring it back if something
    // took the foreground away, and give the focus back to where it was.
    HWND focus = Read<HWND>([] { return GetFocus(); });
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(0, &info) || info.hwndFocus != focus) {
      SetForegroundWindow(dialog_);
      ASSERT_TRUE(WaitFor([this] { return GetForegroundWindow() == dialog_; }));
      OnDialog([focus] { SetFocus(focus); });
    }
    INPUT input[2] = {};
    for (INPUT& i : input) {
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = static_cast<WORD>(key);
      i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
    // The input has reached the dialog's thread once a message sent there
    // after it comes back; the next frame's drain has then handled it.
    OnDialog([] {});
  }

  void Click(int id) {
    OnDialog([&] { SendMessageA(GetDlgItem(dialog_, id), BM_CLICK, 0, 0); });
  }
  void Focus(int id) {
    OnDialog([&] { SetFocus(GetDlgItem(dialog_, id)); });
  }
  // Types the number into the box and moves the focus on, as a user would.
  // The characters go straight to the box: the routing of keys is checked on
  // its own below.
  void EnterCycleTime(const char* digits) {
    Focus(IDC_CYCLE_EDIT);
    OnDialog([&] {
      HWND box = GetDlgItem(dialog_, IDC_CYCLE_EDIT);
      SendMessageA(box, EM_SETSEL, 0, -1);
      for (const char* c = digits; *c; ++c) SendMessageA(box, WM_CHAR, static_cast<WPARAM>(*c), 1);
    });
    ASSERT_TRUE(WaitFor([&] { return CycleText() == digits; }))
        << CycleText() << " focus " << GetDlgCtrlID(Read<HWND>([] { return GetFocus(); })) << " editing "
        << Read<bool>([] { return CycleEditActive; }) << " fg " << (GetForegroundWindow() == dialog_);
    Focus(1002);
  }
  std::string CycleText() { return WindowText(Item(IDC_CYCLE_EDIT)); }
  void SetCycleText(const char* text) {
    OnDialog([&] { SetDlgItemTextA(dialog_, IDC_CYCLE_EDIT, text); });
  }

  std::thread thread_;
  std::atomic<bool> done_{false};
  HWND dialog_ = nullptr;
  int result_ = 0;
};

struct ControlLayout {
  int id;
  const char* className;
  const char* text;
  DWORD style;  // bits that must be set
  RECT units;   // left, top, right, bottom in dialog units
};

TEST_F(SettingsDialogTest, ControlsHaveTheirIdsClassesTextsAndPlaces) {
  Open();
  EXPECT_EQ(WindowText(dialog_), kTitle);
  const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog_, GWL_STYLE));
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  RECT size = {0, 0, 431, 286};
  MapDialogRect(dialog_, &size);
  RECT client;
  GetClientRect(dialog_, &client);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);

  auto box = [](int l, int t, int w, int h) { return RECT{l, t, l + w, t + h}; };
  const DWORD radio = BS_AUTORADIOBUTTON | BS_PUSHLIKE, check = BS_AUTOCHECKBOX | WS_TABSTOP;
  std::vector<ControlLayout> controls = {
      {IDC_PREVIEW_PANE, LUMVIA_PREVIEW_PANE_CLASS, "", WS_CLIPSIBLINGS | WS_CLIPCHILDREN, box(6, 5, 274, 191)},
      {1046, "Button", "Enable All", 0, box(299, 99, 52, 16)},
      {1047, "Button", "Disable All", 0, box(356, 99, 52, 16)},
      {16, "Button", "About Lumvia", 0, box(290, 152, 130, 22)},
      {IDCANCEL, "Button", "Cancel", 0, box(290, 221, 130, 22)},
      {IDOK, "Button", "OK", 0, box(290, 243, 130, 32)},
      {IDC_OTHER_MONITORS_LABEL, "Static", "Other monitors:", 0, box(290, 182, 130, 8)},
      {IDC_CYCLE_EDIT, "Edit", "15", ES_NUMBER | ES_RIGHT | WS_TABSTOP, {}},
      {IDC_CYCLE_SPIN, "msctls_updown32", "Spin1", UDS_AUTOBUDDY | UDS_ALIGNRIGHT, {}},
  };
  const char* const names[] = {"",        "Love",  "Peace",   "Joy",         "Harmony", "Creativity",
                               "Serenity", "Truth", "Insight", "Inspiration", "Bliss"};
  for (int m = 1; m <= kModuleCount; ++m) {
    const int column = m <= 5 ? 0 : 1, row = (m - 1) % 5;
    controls.push_back({kModuleButtons[m], "Button", names[m], radio, box(312 + 44 * column, 30 + 13 * row, 40, 13)});
    controls.push_back({kEnableBoxes[m], "Button", "", check, box(298 + 104 * column, 32 + 13 * row, 8, 8)});
  }
  for (const ControlLayout& layout : controls) {
    SCOPED_TRACE(layout.id);
    HWND control = Item(layout.id);
    ASSERT_NE(control, nullptr);
    EXPECT_STRCASEEQ(ClassOf(control).c_str(), layout.className);
    EXPECT_EQ(WindowText(control), layout.text);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & layout.style, layout.style);
    if (layout.units.right == 0) continue;  // the box and its up-down control share their place
    // The dialog manager converts the place and the size, each on its own.
    RECT expected = {layout.units.left, layout.units.top, layout.units.right - layout.units.left,
                     layout.units.bottom - layout.units.top};
    MapDialogRect(dialog_, &expected);
    RECT actual;
    GetWindowRect(control, &actual);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right - actual.left, expected.right);
    EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
  }
  // The list of choices for the other monitors: its height is the font's.
  HWND list = Item(IDC_OTHER_MONITORS);
  ASSERT_NE(list, nullptr);
  EXPECT_STRCASEEQ(ClassOf(list).c_str(), "ComboBox");
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  RECT place = {290, 192, 130, 0}, actual;
  MapDialogRect(dialog_, &place);
  GetWindowRect(list, &actual);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
  EXPECT_EQ(actual.left, place.left);
  EXPECT_EQ(actual.top, place.top);
  EXPECT_EQ(actual.right - actual.left, place.right);
  RECT cancel;
  GetWindowRect(Item(IDCANCEL), &cancel);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&cancel), 2);
  EXPECT_LT(actual.bottom, cancel.top);
  // A bordered box in a 3-D dialog shows its border as a sunken edge.
  const LONG editEx = GetWindowLongA(Item(IDC_CYCLE_EDIT), GWL_EXSTYLE);
  EXPECT_TRUE((GetWindowLongA(Item(IDC_CYCLE_EDIT), GWL_STYLE) & WS_BORDER) || (editEx & WS_EX_CLIENTEDGE));
  const LONG paneEx = GetWindowLongA(Item(IDC_PREVIEW_PANE), GWL_EXSTYLE);
  EXPECT_EQ(paneEx & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), WS_EX_STATICEDGE | WS_EX_CLIENTEDGE);
  // The GL context's window has a device context of its own.
  EXPECT_TRUE(GetClassLongA(Item(IDC_PREVIEW_PANE), GCL_STYLE) & CS_OWNDC);
  // The up-down control is attached to the cycle-time box.
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(Item(IDC_CYCLE_SPIN), UDM_GETBUDDY, 0, 0)), Item(IDC_CYCLE_EDIT));

  // Every text without an id, in the order of the template.
  std::vector<std::string> texts;
  for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (static_cast<WORD>(GetDlgCtrlID(child)) == 0xFFFF) texts.push_back(WindowText(child));
  const std::vector<std::string> expectedTexts = {
      "Module Control", "Enable", "Select", "Enable", "Show Each Module For", "Seconds",
      " Adjust Settings for each Module ", "F1 - Control Menu", "Enter - Ahead", "Backspace - Back",
      "Home - Default view", "", "Arrow Keys - up down left right", "F2, F3 - Rotate Fwd/Bkwd ",
      "F4, F5 - Rotate Vertical", "F6, F7 - Rotate Left/Right", "", "F8 - Slower", "F9 - Faster",
      "Page Up - Zoom Out", "Page Dn - Zoom In", "* These controls also work while screen saver is active.*"};
  EXPECT_EQ(texts, expectedTexts);

  // With nothing stored every module is enabled and the first frame checks "Love".
  EXPECT_EQ(CheckedModule(), 1);
  for (int m = 1; m <= kModuleCount; ++m)
    EXPECT_EQ(SendMessageA(Item(kEnableBoxes[m]), BM_GETCHECK, 0, 0), BST_CHECKED) << m;
}

TEST_F(SettingsDialogTest, EachEnableBoxEnablesItsOwnModule) {
  Open();
  Click(1004);
  EXPECT_FALSE(Read<bool>([] { return ModuleTable[5].active; }));
  EXPECT_TRUE(Read<bool>([] { return ModuleTable[3].active; }));
  Click(1005);
  EXPECT_FALSE(Read<bool>([] { return ModuleTable[3].active; }));
  Click(1004);
  EXPECT_TRUE(Read<bool>([] { return ModuleTable[5].active; }));
  Click(1007);
  EXPECT_FALSE(Read<bool>([] { return ModuleTable[4].active; }));

  Click(IDC_DISABLE_ALL);
  for (int m = 1; m <= kModuleCount; ++m) {
    EXPECT_FALSE(Read<bool>([m] { return ModuleTable[m].active; })) << m;
    EXPECT_EQ(SendMessageA(Item(kEnableBoxes[m]), BM_GETCHECK, 0, 0), BST_UNCHECKED) << m;
  }
  WaitFrames(2);
  EXPECT_EQ(Read<int>([] { return CurrentModule; }), 1);  // the preview goes on showing it
  EXPECT_EQ(CheckedModule(), 1);
  Click(IDC_ENABLE_ALL);
  for (int m = 1; m <= kModuleCount; ++m) {
    EXPECT_TRUE(Read<bool>([m] { return ModuleTable[m].active; })) << m;
    EXPECT_EQ(SendMessageA(Item(kEnableBoxes[m]), BM_GETCHECK, 0, 0), BST_CHECKED) << m;
  }
}

TEST_F(SettingsDialogTest, AModuleButtonKeepsTheLeftViewAndStartsTheChosenOne) {
  Open();
  PressKey(VK_PRIOR);  // zoom out "Love" in the preview
  PressKey(VK_F3);
  WaitFrames(3);
  float leftDepth = 0, leftXrot = 0, spinBefore = 0, spinAfter = 1, depth = 0;
  int module = 0;
  ModuleRecord love{}, peace{};
  OnDialog([&] {
    leftDepth = g_fDepth;
    leftXrot = g_fXrot;
    spinBefore = SpinAngle;
    SendMessageA(GetDlgItem(dialog_, 1025), BM_CLICK, 0, 0);
    love = ModuleTable[1];
    peace = ModuleTable[2];
    module = CurrentModule;
    depth = g_fDepth;
    spinAfter = SpinAngle;
  });
  EXPECT_NE(leftDepth, DefaultTable[1].depth);
  EXPECT_EQ(love.depth, leftDepth);
  EXPECT_EQ(love.xrot, leftXrot);
  EXPECT_EQ(module, 2);
  EXPECT_EQ(depth, peace.depth);
  EXPECT_NE(spinBefore, 0.0f);
  EXPECT_EQ(spinAfter, 0.0f);
  WaitFrames(2);
  EXPECT_EQ(CheckedModule(), 2);
}

TEST_F(SettingsDialogTest, TheCycleTimeBoxIsBoundedWhenTheFocusLeaves) {
  Open();
  struct Case {
    const char* typed;     // through the keyboard, or
    const char* pasted;    // put into the box as a paste would
    const char* shown;
  };
  const Case cases[] = {
      {"0", nullptr, "1"},
      {"12345", nullptr, "9999"},
      {"42", nullptr, "42"},
      {nullptr, "0000000012", "1"},  // only the first nine characters count
      {nullptr, "abc", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed ? c.typed : c.pasted);
    if (c.typed) {
      EnterCycleTime(c.typed);
    } else {
      Focus(IDC_CYCLE_EDIT);
      EXPECT_TRUE(Read<bool>([] { return CycleEditActive; }));
      SetCycleText(c.pasted);
      Focus(1002);
    }
    EXPECT_EQ(CycleText(), c.shown);
    EXPECT_EQ(Read<int32_t>([] { return CycleTime; }), std::atoi(c.shown));
    EXPECT_FALSE(Read<bool>([] { return CycleEditActive; }));
  }
}

TEST_F(SettingsDialogTest, TheUpDownControlStepsByOneSecondWithinBounds) {
  Open();
  HWND spin = Item(IDC_CYCLE_SPIN);
  auto scroll = [&](int code, int pos) {
    OnDialog([&] { SendMessageA(dialog_, WM_VSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(spin)); });
  };
  SetCycleText("9999");
  scroll(SB_THUMBPOSITION, Read<int32_t>([] { return LastSpinPos; }) + 1);
  EXPECT_EQ(CycleText(), "9998");
  SetCycleText("9999");
  scroll(SB_THUMBPOSITION, Read<int32_t>([] { return LastSpinPos; }));
  EXPECT_EQ(CycleText(), "9999");
  EXPECT_EQ(Read<int32_t>([] { return CycleTime; }), 9999);

  SetCycleText("0");
  scroll(SB_THUMBTRACK, 0);
  scroll(SB_ENDSCROLL, 0);
  EXPECT_EQ(CycleText(), "0");
  scroll(SB_LINEUP, 0);
  EXPECT_EQ(CycleText(), "1");
  scroll(SB_TOP, 0);
  EXPECT_EQ(CycleText(), "9999");
  scroll(SB_BOTTOM, 0);
  EXPECT_EQ(CycleText(), "1");

  // The arrows themselves, clicked: up adds one, down takes one away, however
  // often either is used.
  RECT r;
  GetClientRect(spin, &r);
  auto clickArrow = [&](bool up) {
    const LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
    OnDialog([&] {
      SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageA(spin, WM_LBUTTONUP, 0, at);
    });
  };
  SetCycleText("15");
  clickArrow(true);
  EXPECT_EQ(CycleText(), "16");
  clickArrow(false);
  clickArrow(false);
  EXPECT_EQ(CycleText(), "14");
  SetCycleText("200");
  for (int i = 0; i < 150; ++i) clickArrow(false);
  EXPECT_EQ(CycleText(), "50");
  for (int i = 0; i < 120; ++i) clickArrow(true);
  EXPECT_EQ(CycleText(), "170");
  EXPECT_EQ(Read<int32_t>([] { return CycleTime; }), 170);
}

TEST_F(SettingsDialogTest, KeysEditTheBoxWhileItIsEditedAndSteerThePreviewAfterwards) {
  Open();
  auto view = [&] {
    return Read<std::vector<float>>([] { return std::vector<float>{g_fDepth, g_fHorz, g_fVert}; });
  };
  Focus(IDC_CYCLE_EDIT);
  SetCycleText("12");
  OnDialog([&] { SendDlgItemMessageA(dialog_, IDC_CYCLE_EDIT, EM_SETSEL, 2, 2); });
  const std::vector<float> before = view();
  PressKey(VK_LEFT);  // in a one-line box the left and up arrows both go back
  PressKey(VK_PRIOR);
  PressKey(VK_UP);
  PressKey('3');
  ASSERT_TRUE(WaitFor([&] { return CycleText() == "312"; }))
      << CycleText() << " focus " << GetDlgCtrlID(Read<HWND>([] { return GetFocus(); })) << " editing "
      << Read<bool>([] { return CycleEditActive; }) << " fg " << (GetForegroundWindow() == dialog_);
  WaitFrames(2);
  EXPECT_EQ(view(), before);

  Focus(1002);
  EXPECT_FALSE(Read<bool>([] { return CycleEditActive; }));
  PressKey(VK_LEFT);
  PressKey(VK_PRIOR);
  ASSERT_TRUE(WaitFor([&] { return view() != before; }));
  WaitFrames(1);
  const std::vector<float> after = view();
  EXPECT_GT(after[0], before[0]);
  EXPECT_LT(after[1], before[1]);
  EXPECT_EQ(CycleText(), "312");
}

TEST_F(SettingsDialogTest, TheOtherMonitorsListTakesItsKeysAndOnlyOkSavesIt) {
  WriteRegistry("other monitors", 2);
  for (const int close : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(close);
    Open();
    HWND list = Item(IDC_OTHER_MONITORS);
    std::vector<std::string> texts;
    for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
      char text[64] = {};
      SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Black", "Same scene on each", "One scene across all",
                                               "Leave as they are"}));
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 2);
    const float depth = Read<float>([] { return g_fDepth; });
    Focus(IDC_OTHER_MONITORS);
    PressKey(VK_DOWN);
    PressKey(VK_NEXT);  // the last choice, not a zoom of the preview
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, CB_GETCURSEL, 0, 0) == 3; }));
    WaitFrames(2);
    EXPECT_EQ(Read<float>([] { return g_fDepth; }), depth);
    Click(close);
    EXPECT_EQ(Ended(), 1);
    EXPECT_EQ(ReadRegistry().at("other monitors"), close == IDOK ? 3u : 2u);
  }
}

// Whether the box is being edited is asked for each key message, so keys
// queued behind a click into the box or out of it, and drained with it in one
// tick, go where the click sends them.
TEST_F(SettingsDialogTest, KeysQueuedBehindAClickFollowTheBoxState) {
  Open();
  auto depth = [&] { return Read<float>([] { return g_fDepth; }); };
  auto clickThenPageUp = [&](int id) {
    OnDialog([&] {
      HWND control = GetDlgItem(dialog_, id);
      PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      PostMessageA(control, WM_KEYDOWN, VK_PRIOR, 1);
    });
  };
  const float before = depth();
  clickThenPageUp(IDC_CYCLE_EDIT);
  ASSERT_TRUE(WaitFor([&] { return Read<bool>([] { return CycleEditActive; }); }));
  WaitFrames(2);
  EXPECT_EQ(depth(), before);

  clickThenPageUp(1002);
  ASSERT_TRUE(WaitFor([&] { return depth() != before; }));
  EXPECT_FALSE(Read<bool>([] { return CycleEditActive; }));
}

TEST_F(SettingsDialogTest, EnterAndBackspaceChangeTheModuleAndOtherKeysDoNothing) {
  Open();
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return CheckedModule() == 2; }));
  EXPECT_EQ(Read<int>([] { return CurrentModule; }), 2);
  PressKey(VK_BACK);
  PressKey(VK_BACK);
  ASSERT_TRUE(WaitFor([&] { return CheckedModule() == 10; }));

  const auto state = [&] {
    return Read<std::vector<float>>([] {
      return std::vector<float>{g_fDepth, g_fHorz, g_fVert, g_fXrot, g_fYrot, g_fZrot, g_fSpeed,
                                static_cast<float>(CurrentModule), SaverState.Closing ? 1.0f : 0.0f};
    });
  };
  const std::vector<float> before = state();
  for (UINT key : {UINT{'A'}, UINT{VK_F12}, UINT{VK_SHIFT}, UINT{VK_NUMPAD5}})
    PressKey(key);
  WaitFrames(3);
  EXPECT_EQ(state(), before);
  EXPECT_TRUE(IsWindowVisible(dialog_));
}

TEST_F(SettingsDialogTest, F1OpensTheControlMenuWithoutTouchingTheCursor) {
  Open();
  RECT clipBefore;
  GetClipCursor(&clipBefore);
  CURSORINFO cursorBefore{};
  cursorBefore.cbSize = sizeof cursorBefore;
  GetCursorInfo(&cursorBefore);
  PressKey(VK_F1);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    menu = FindWindowA(nullptr, "Control Menu");
    return menu && IsWindowVisible(menu);
  }));
  RECT clip;
  GetClipCursor(&clip);
  EXPECT_TRUE(EqualRect(&clip, &clipBefore));
  CURSORINFO cursor{};
  cursor.cbSize = sizeof cursor;
  GetCursorInfo(&cursor);
  EXPECT_EQ(cursor.flags & CURSOR_SHOWING, cursorBefore.flags & CURSOR_SHOWING);
  PostMessageA(menu, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return FindWindowA(nullptr, "Control Menu") == nullptr; }));
  WaitFrames(2);  // the preview runs again
}

TEST_F(SettingsDialogTest, OkWritesEveryValueAndTheSaverThenShowsNothing) {
  Open();
  Click(IDC_DISABLE_ALL);
  PressKey(VK_PRIOR);
  WaitFrames(2);
  const float depth = Read<float>([] { return g_fDepth; });
  Click(IDOK);
  EXPECT_EQ(Ended(), 1);
  const Registry saved = ReadRegistry();
  EXPECT_EQ(saved.size(), static_cast<size_t>(kStoredValueCount));
  for (int m = 1; m <= kModuleCount; ++m) EXPECT_EQ(saved.at("mod" + std::to_string(m) + " active"), 0u) << m;
  EXPECT_EQ(saved.at("cycle time"), 15u);
  EXPECT_EQ(static_cast<int32_t>(saved.at("mod1 depth")), ScaleForStore(depth));

  ResetModuleTable();
  LoadSettings();
  EXPECT_EQ(CurrentModule, 0);
}

TEST_F(SettingsDialogTest, CancelEscAndTheCloseBoxWriteNothing) {
  WriteRegistry("mod4 active", 0);
  WriteRegistry("cycle time", 20);
  const Registry before = ReadRegistry();
  const std::function<void()> closes[] = {
      [this] { Click(IDCANCEL); },
      // Esc ends the dialog whether the preview's keys or the dialog manager
      // take it.
      [this] { PostMessageA(Read<HWND>([] { return GetFocus(); }), WM_KEYDOWN, VK_ESCAPE, 1); },
      [this] { PostMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); },
  };
  int way = 0;
  for (const auto& close : closes) {
    SCOPED_TRACE(way++);
    Open();
    EXPECT_EQ(SendMessageA(Item(kEnableBoxes[4]), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(CycleText(), "20");
    Click(IDC_DISABLE_ALL);
    EnterCycleTime("77");
    OnDialog([] { g_fDepth += 5; });
    WaitFrames(2);
    close();
    EXPECT_EQ(Ended(), 1);
    EXPECT_EQ(ReadRegistry(), before);
    ResetModuleTable();
    SetSettingsKey(nullptr, kSettingsKeyPath);
    LoadSettings();
    EXPECT_EQ(CurrentModule, 1);  // the next start shows the modules as before
    EXPECT_FALSE(ModuleTable[4].active);
    EXPECT_TRUE(ModuleTable[5].active);
  }
}

TEST_F(SettingsDialogTest, WithoutAPreviewOkAndCancelStillEndTheDialog) {
  SpoilPreviewFormat = true;
  timer_period::Reset();
  Open(false);
  EXPECT_EQ(Read<std::vector<std::string>>([] { return MessageBoxCaptions; }),
            std::vector<std::string>{"ERROR"});
  OnDialog([&] {
    HWND box = GetDlgItem(dialog_, 1004);
    SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), reinterpret_cast<LPARAM>(box));
  });
  EXPECT_EQ(CheckedModule(), 0);  // no frame loop checks a module button
  Click(IDOK);
  EXPECT_EQ(Ended(), 1);
  const Registry saved = ReadRegistry();
  EXPECT_EQ(saved.size(), static_cast<size_t>(kStoredValueCount));
  EXPECT_EQ(saved.at("mod5 active"), 0u);

  Open(false);
  Click(IDC_DISABLE_ALL);
  Click(IDCANCEL);
  EXPECT_EQ(Ended(), 1);
  EXPECT_EQ(ReadRegistry(), saved);
  // No frames ran, so no timer period was asked for or given back.
  EXPECT_EQ(timer_period::Requests(), 0);
  EXPECT_EQ(timer_period::Releases(), 0);
}

TEST_F(SettingsDialogTest, AMinimisedDialogDrawsNothingAndGivesTheTimerBack) {
  timer_period::Reset();
  Open();
  EXPECT_EQ(timer_period::Requests(), 1);
  OnDialog([this] { ShowWindow(dialog_, SW_MINIMIZE); });
  ASSERT_TRUE(IsIconic(dialog_));
  const uint32_t frame = Read<uint32_t>([] { return SaverState.LastFrameTime; });
  Sleep(3 * kUnseenTickInterval);  // 20 frames, were they drawn
  EXPECT_EQ(Read<uint32_t>([] { return SaverState.LastFrameTime; }), frame);
  EXPECT_EQ(timer_period::Releases(), 1);
  OnDialog([this] { ShowWindow(dialog_, SW_RESTORE); });
  WaitFrames(2);
  EXPECT_EQ(timer_period::Requests(), 2);
  Click(IDCANCEL);
  EXPECT_EQ(Ended(), 1);
  EXPECT_EQ(timer_period::Requests(), 2);
  EXPECT_EQ(timer_period::Releases(), 2);
}

// The share of the last frame's pixels in the preview's own GL context that
// are near the sprite's colour (140, 20, 20). Wine's X11 driver renders GL in
// a child window off screen and does not bring it to the screen under Xvfb
// (a plain child window with a red glClear stays black there too), so the
// frame is read from the context's back buffer, which Mesa keeps after the
// swap. Runs on the dialog's thread, where the context is current.
double SpriteShare(int* viewportWidth, int* viewportHeight) {
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  *viewportWidth = viewport[2];
  *viewportHeight = viewport[3];
  const int w = viewport[2], h = viewport[3];
  if (w <= 0 || h <= 0) return 0;
  std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  int red = 0;
  for (size_t i = 0; i < pixels.size(); i += 4)
    if (pixels[i] > 60 && pixels[i] > 3 * pixels[i + 1] && pixels[i] > 3 * pixels[i + 2]) ++red;
  return static_cast<double>(red) / (w * h);
}

TEST_F(SettingsDialogTest, ThePreviewIsDrawnFillsThePaneAndNeverChangesModuleByTime) {
  WriteRegistry("cycle time", 0);
  Open();
  RECT client;
  GetClientRect(Item(IDC_PREVIEW_PANE), &client);
  int width = 0, height = 0;
  double share = 0;
  EXPECT_TRUE(WaitFor([&] {
    OnDialog([&] { share = SpriteShare(&width, &height); });
    return share > 0.01;
  })) << share;
  EXPECT_EQ(width, client.right);
  EXPECT_EQ(height, client.bottom);
  WaitFrames(20);
  EXPECT_EQ(Read<int>([] { return CurrentModule; }), 1);
  EXPECT_EQ(CheckedModule(), 1);
  EXPECT_TRUE(Read<bool>([] { return MessageBoxCaptions.empty(); }));

  // Moved to a monitor of another scale, the dialog is laid out anew and the
  // pane changes size: the picture fills it still.
  OnDialog([this] { SetWindowPos(Item(IDC_PREVIEW_PANE), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER); });
  WaitFrames(2);
  GetClientRect(Item(IDC_PREVIEW_PANE), &client);
  ASSERT_LT(client.bottom, height);
  OnDialog([&] { SpriteShare(&width, &height); });
  EXPECT_EQ(width, client.right);
  EXPECT_EQ(height, client.bottom);
}

TEST_F(SettingsDialogTest, TheAboutBoxShowsTheVersionAndClosesEveryWay) {
  Open();
  char expected[64];
  ASSERT_TRUE(FormatProgramVersion(expected, sizeof expected));
  EXPECT_EQ(std::string(expected), std::string("Version ") + LUMVIA_VERSION_TEXT);

  const std::function<void(HWND)> closes[] = {
      [](HWND about) { PostMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0); },
      [](HWND about) {
        HWND ok = GetDlgItem(about, IDOK);
        PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 1);
      },
      [](HWND about) { PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); },
  };
  int way = 0;
  for (const auto& close : closes) {
    SCOPED_TRACE(way++);
    PostMessageA(Item(IDC_ABOUT_BUTTON), BM_CLICK, 0, 0);
    HWND about = nullptr;
    // Open once it is shown with the version filled in.
    ASSERT_TRUE(WaitFor([&] {
      about = FindWindowA(nullptr, "About Lumvia");
      return about && IsWindowVisible(about) && WindowText(GetDlgItem(about, IDC_ABOUT_VERSION)) == expected;
    }));
    std::vector<std::string> texts;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      texts.push_back(WindowText(child));
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "Lumvia");
    // The box is painted, and no frame of the preview is drawn while it is
    // open (the click came between two frames: the frames must not keep the
    // box's own loop busy).
    EXPECT_TRUE(WaitFor([&] { return !GetUpdateRect(GetDlgItem(about, IDC_ABOUT_VERSION), nullptr, FALSE); }));
    const uint32_t frame = Read<uint32_t>([] { return SaverState.LastFrameTime; });
    for (int i = 0; i < 20; ++i) {
      Sleep(10);
      EXPECT_EQ(Read<uint32_t>([] { return SaverState.LastFrameTime; }), frame);
    }
    EXPECT_EQ(texts.back(), "OK");
    close(about);
    ASSERT_TRUE(WaitFor([&] { return FindWindowA(nullptr, "About Lumvia") == nullptr; }));
    WaitFrames(2);  // the settings dialog goes on
  }
}

}  // namespace
