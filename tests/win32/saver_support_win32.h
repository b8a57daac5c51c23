// What the saver-window, password and host tests share: the host and saver
// state put back to their start values, the settings key cleared, queue
// inspection, and a plain parent window for previews.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/module_table.h"
#include "frames/frame.h"
#include "frames/frame_loop_win32.h"
#include "host/host_state_win32.h"
#include "render/gl_context.h"
#include "scenes/skeleton.h"
#include "settings/registry_win32.h"
#include "settings/store.h"
#include "settings/stored_values.h"

namespace saver_support {

constexpr char kSaverClass[] = "WindowsScreenSaverClass";
constexpr char kParentClass[] = "LumviaTestParent";

inline void DeleteSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKeyPath); }

// The number stored under a settings name, or the fallback when it is missing.
inline DWORD StoredNumber(const char* name, DWORD fallback = 0xDEADBEEFu) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKeyPath, name, RRF_RT_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS)
    return fallback;
  return value;
}

inline void StoreValue(const char* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

inline DWORD StoredValueCount() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return 0;
  DWORD count = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return count;
}

// Removes and counts the queued messages of one kind for the window.
inline int TakeQueued(HWND window, UINT message, MSG* last = nullptr) {
  int count = 0;
  MSG m;
  while (PeekMessageA(&m, window, message, message, PM_REMOVE)) {
    ++count;
    if (last) *last = m;
  }
  return count;
}

// Everything still queued for the thread, WM_QUIT included, thrown away.
inline void DropQueue() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
}

inline LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// A visible top-level window with the given client size, standing in for the
// Display control panel's preview area.
inline HWND MakeParent(int width, int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kParentClass;
  RegisterClassA(&wc);
  RECT r = {0, 0, width, height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowExA(0, kParentClass, "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                         r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance,
                         nullptr);
}

// Waits, with a generous bound, for a window of the saver class with the
// title (as a child of the parent, if given) to exist.
inline HWND WaitForSaverWindow(const char* title, HWND parent = nullptr) {
  for (int i = 0; i < 2000; ++i) {
    HWND w = parent ? FindWindowExA(parent, nullptr, kSaverClass, title)
                    : FindWindowA(kSaverClass, title);
    if (w) return w;
    Sleep(10);
  }
  return nullptr;
}

// Closes the saver window from another thread once it exists, after an
// optional step. The saver's own queue never runs dry (a RenderTick is always
// posted), so a thread timer of the test's own thread would never fire.
template <typename Step>
std::thread CloseSaverWhenShown(const char* title, HWND parent, Step step) {
  return std::thread([=] {
    HWND w = WaitForSaverWindow(title, parent);
    step();
    if (w) PostMessageA(w, WM_CLOSE, 0, 0);
  });
}
inline std::thread CloseSaverWhenShown(const char* title, HWND parent = nullptr) {
  return CloseSaverWhenShown(title, parent, [] {});
}

// The host and saver state as at process start, the settings key gone.
class SaverFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    HostState = HostStateRecord{};
    HostState.Instance = GetModuleHandleA(nullptr);
    ResetEngineState();
    DeleteSettings();
    DropQueue();
  }
  void TearDown() override {
    StopFrames();  // gives back the timer period of a window destroyed without a close
    DestroyGLContext();
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    if (parent_ && IsWindow(parent_)) DestroyWindow(parent_);
    DropQueue();
    UnregisterClassA(kSaverClass, HostState.Instance);
    HostState = HostStateRecord{};
    SaverState = SaverStateRecord{};
    DeleteSettings();
  }

  HWND window_ = nullptr;
  HWND parent_ = nullptr;
};

}  // namespace saver_support
