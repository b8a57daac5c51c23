// Watching the real message boxes a test provokes: a CBT hook on the test's
// thread reads each message box as it is activated (caption, text, whether an
// icon shows, whether it has an owner) and presses its OK button, so the test
// never blocks on it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct WatchedMessageBox {
  std::string caption;
  std::string text;
  bool iconShown;
  bool owned;
};

class MessageBoxWatch {
 public:
  MessageBoxWatch() {
    Boxes().clear();
    hook_ = SetWindowsHookExA(WH_CBT, &MessageBoxWatch::Hook, nullptr, GetCurrentThreadId());
  }
  ~MessageBoxWatch() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  MessageBoxWatch(const MessageBoxWatch&) = delete;
  MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

  bool Active() const { return hook_ != nullptr; }
  static std::vector<WatchedMessageBox>& Boxes() {
    static std::vector<WatchedMessageBox> boxes;
    return boxes;
  }

 private:
  // The message box's text is the static control 0xFFFF, its icon control 1088.
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
      HWND box = reinterpret_cast<HWND>(wParam);
      char name[64] = {};
      GetClassNameA(box, name, sizeof name);
      if (std::string(name) == "#32770") {
        char caption[256] = {}, text[1024] = {};
        GetWindowTextA(box, caption, sizeof caption);
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        HWND icon = GetDlgItem(box, 1088);
        const bool iconShown = icon && (GetWindowLongA(icon, GWL_STYLE) & WS_VISIBLE);
        Boxes().push_back({caption, text, iconShown, GetWindow(box, GW_OWNER) != nullptr});
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  HHOOK hook_ = nullptr;
};
