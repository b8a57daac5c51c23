// X keys as the saver takes them: each keysym reaches the keyboard controls
// as the virtual key of the same key on Windows, and F1 and F11 print what
// the Windows dialogs show.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "controls/view_keys.h"
#include "core/frame_state.h"
#include "core/module_table.h"
#include "core/saver_state.h"
#include "frames/frame.h"
#include "linux_program/keys.h"
#include "platform/messages.h"
#include "scenes/modules.h"

namespace {

class KeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEngineState();
    SetBuiltInDefaults();
    SaverState.SaverMode = true;
    SaverState.FullScreen = true;
    CurrentModule = 1;
    LoadModuleParams(1);
  }
  static void Press(unsigned long keysym) {
    HandleViewKey(nullptr, kWmKeyDown, VirtualKeyOf(keysym), 0);
  }
};

TEST_F(KeysTest, KeysSteerTheViewAsOnWindows) {
  Press(XK_Prior);     // Love at depth 50: a step of 1
  Press(XK_KP_9);      // keypad with Num Lock on
  Press(XK_KP_Prior);  // and with it off
  EXPECT_EQ(g_fDepth, 53.0f);
  Press(XK_Next);
  Press(XK_KP_3);
  EXPECT_EQ(g_fDepth, 51.0f);
  Press(XK_Left);
  Press(XK_KP_Up);
  EXPECT_EQ(g_fHorz, -1.0f);
  EXPECT_EQ(g_fVert, 1.0f);
  Press(XK_F2);
  Press(XK_F5);
  Press(XK_F6);
  Press(XK_F9);
  EXPECT_EQ(g_fXrot, -91.5f);
  EXPECT_EQ(g_fYrot, 1.5f);
  EXPECT_EQ(g_fZrot, 1.5f);
  EXPECT_EQ(g_fSpeed, 0.625f);
  Press(XK_Home);
  EXPECT_EQ(g_fDepth, 50.0f);
  Press(XK_KP_Enter);
  EXPECT_EQ(CurrentModule, 2);
  Press(XK_BackSpace);
  EXPECT_EQ(CurrentModule, 1);
  HandleViewKey(nullptr, kWmKeyUp, VirtualKeyOf(XK_a), 0);
  EXPECT_FALSE(SaverState.Closing) << "a key released does nothing";
}

TEST_F(KeysTest, EscAndEveryKeyWithoutAnActionEndTheSaver) {
  for (unsigned long keysym : {XK_Escape, XK_F12, XK_Shift_L, XK_Control_R, XK_space, XK_a,
                               XK_KP_5, XK_KP_Begin, XK_Tab}) {
    SaverState.Closing = false;
    Press(keysym);
    EXPECT_TRUE(SaverState.Closing) << std::hex << keysym;
  }
}

TEST_F(KeysTest, F1AndF11PrintTheControlMenuAndTheParameters) {
  testing::internal::CaptureStdout();
  Press(XK_F1);
  Press(XK_F11);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(printed.rfind("F1 - This Control Menu\nEsc - Quit\n\nPage Up - Zoom Out\n", 0), 0u)
      << printed;
  EXPECT_NE(printed.find("Home - Restore Default Position\nEnter - Next Module\n"
                         "Backspace - Previous Module\n"),
            std::string::npos);
  EXPECT_NE(printed.find("g_fDepth 50.000000\ng_fHorz  0.000000\n"), std::string::npos);
  EXPECT_FALSE(SaverState.Closing);
}

}  // namespace
