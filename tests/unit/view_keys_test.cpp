// The key table of the live view: the zoom and pan steps taken from the depth
// before the change and never overflowing, the speed bounds, Home, the module
// keys, the parameter display, and which keys end the saver or do nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "controls/view_keys.h"
#include "core/frame_state.h"
#include "core/module_table.h"
#include "core/saver_state.h"
#include "frames/frame.h"
#include "platform/messages.h"
#include "scenes/modules.h"
#include "settings/store.h"
#include "tests/unit/test_seams.h"

namespace {

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);

class ViewKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEngineState();
    SetBuiltInDefaults();
    test_seams::Reset();
    SaverState.SaverMode = true;
    SaverState.FullScreen = true;
    CurrentModule = 1;
    LoadModuleParams(1);
  }
  static void Press(uintptr_t key) { HandleViewKey(kWindow, kWmKeyDown, key, 0); }
  static void Release(uintptr_t key) { HandleViewKey(kWindow, kWmKeyUp, key, 0); }
  static void InSettingsDialog() {
    SaverState.SaverMode = false;
    SaverState.FullScreen = false;
  }
};

TEST_F(ViewKeysTest, ZoomStepComesFromTheDepthBeforeTheChange) {
  g_fDepth = 49.9f;
  Press(vk::Prior);
  EXPECT_FLOAT_EQ(g_fDepth, 50.2f);  // fine step 0.3
  Press(vk::Numpad9);
  EXPECT_FLOAT_EQ(g_fDepth, 51.2f);  // now q = 1
  g_fDepth = 100.0f;
  Press(vk::Next);
  EXPECT_FLOAT_EQ(g_fDepth, 98.0f);  // step 2 taken at 100
  Press(vk::Numpad3);
  EXPECT_FLOAT_EQ(g_fDepth, 97.0f);
  g_fDepth = -200.0f;
  Press(vk::Prior);
  EXPECT_FLOAT_EQ(g_fDepth, -199.7f);  // negative depths use the fine step
}

TEST_F(ViewKeysTest, PanStepsFollowTheDepthOnArrowsAndKeypad) {
  g_fDepth = 100.0f;
  g_fHorz = g_fVert = 0.0f;
  Press(vk::Left);
  EXPECT_FLOAT_EQ(g_fHorz, -2.0f);
  Press(vk::Numpad6);
  Press(vk::Right);
  EXPECT_FLOAT_EQ(g_fHorz, 2.0f);
  Press(vk::Up);
  EXPECT_FLOAT_EQ(g_fVert, 2.0f);
  Press(vk::Numpad2);
  Press(vk::Down);
  EXPECT_FLOAT_EQ(g_fVert, -2.0f);
  Press(vk::Numpad8);
  EXPECT_FLOAT_EQ(g_fVert, 0.0f);
  Press(vk::Numpad4);
  EXPECT_FLOAT_EQ(g_fHorz, 0.0f);

  g_fDepth = -200.0f;
  Press(vk::Right);
  Press(vk::Up);
  EXPECT_FLOAT_EQ(g_fHorz, 0.1f);
  EXPECT_FLOAT_EQ(g_fVert, 0.1f);
  EXPECT_FLOAT_EQ(g_fDepth, -200.0f);
}

TEST_F(ViewKeysTest, AVeryDeepViewStillGetsAWholeNumberStep) {
  g_fDepth = 1.0e10f;
  const float before = g_fDepth;
  Press(vk::Prior);
  EXPECT_FLOAT_EQ(g_fDepth, before + 2.0e8f);
}

// The step grows with the depth: from 50, 4,311 presses of Page Up once made
// the depth infinite and a Page Down then NaN, which the store kept as 0.
TEST_F(ViewKeysTest, StepsStopAtTheLargestFiniteValue) {
  constexpr float kLargest = std::numeric_limits<float>::max();
  g_fDepth = 50.0f;
  for (int i = 0; i < 4311; ++i) Press(vk::Prior);
  EXPECT_EQ(g_fDepth, kLargest);
  Press(vk::Next);
  EXPECT_TRUE(std::isfinite(g_fDepth));
  EXPECT_GT(g_fDepth, 1.0e38f);
  EXPECT_EQ(ScaleForStore(g_fDepth), INT32_MAX);
  // Pan steps follow the depth: a fiftieth of it.
  for (int i = 0; i < 60; ++i) Press(vk::Left);
  for (int i = 0; i < 60; ++i) Press(vk::Up);
  EXPECT_EQ(g_fHorz, -kLargest);
  EXPECT_EQ(g_fVert, kLargest);
  Press(vk::Right);
  EXPECT_TRUE(std::isfinite(g_fHorz));
}

TEST_F(ViewKeysTest, RotationKeysTurnByOneAndAHalfDegrees) {
  g_fXrot = g_fYrot = g_fZrot = 0.0f;
  Press(vk::F2);
  EXPECT_FLOAT_EQ(g_fXrot, -1.5f);
  Press(vk::F3);
  Press(vk::F3);
  EXPECT_FLOAT_EQ(g_fXrot, 1.5f);
  Press(vk::F4);
  EXPECT_FLOAT_EQ(g_fYrot, -1.5f);
  Press(vk::F5);
  Press(vk::F5);
  EXPECT_FLOAT_EQ(g_fYrot, 1.5f);
  Press(vk::F6);
  EXPECT_FLOAT_EQ(g_fZrot, 1.5f);
  Press(vk::F7);
  Press(vk::F7);
  EXPECT_FLOAT_EQ(g_fZrot, -1.5f);
  // Rotations are never reduced modulo 360.
  g_fXrot = 359.0f;
  Press(vk::F3);
  EXPECT_FLOAT_EQ(g_fXrot, 360.5f);
}

TEST_F(ViewKeysTest, SpeedStaysWithinItsBounds) {
  g_fSpeed = 9.9f;
  Press(vk::F9);
  EXPECT_FLOAT_EQ(g_fSpeed, 10.0f);
  g_fSpeed = 0.1f;
  Press(vk::F8);
  EXPECT_FLOAT_EQ(g_fSpeed, 0.0625f);
  g_fSpeed = 20.0f;
  Press(vk::F8);
  EXPECT_FLOAT_EQ(g_fSpeed, 10.0f);
  g_fSpeed = 20.0f;
  Press(vk::F9);
  EXPECT_FLOAT_EQ(g_fSpeed, 10.0f);
  g_fSpeed = 1.0f;
  Press(vk::F8);
  EXPECT_FLOAT_EQ(g_fSpeed, 0.875f);
}

TEST_F(ViewKeysTest, HomeRestoresTheViewButNotTheAngleOrTheRecord) {
  CurrentModule = 5;
  LoadModuleParams(5);
  Press(vk::F2);
  Press(vk::F5);
  Press(vk::Prior);
  Press(vk::Left);
  Press(vk::F9);
  SpinAngle = 123.0f;
  ModuleTable[5].depth = 77.0f;
  SaverState.LastSwitchTime = 42;
  test_seams::SetNow(5000);
  Press(vk::Home);
  EXPECT_EQ(g_fDepth, DefaultTable[5].depth);
  EXPECT_EQ(g_fHorz, DefaultTable[5].horz);
  EXPECT_EQ(g_fVert, DefaultTable[5].vert);
  EXPECT_EQ(g_fXrot, DefaultTable[5].xrot);
  EXPECT_EQ(g_fYrot, DefaultTable[5].yrot);
  EXPECT_EQ(g_fZrot, DefaultTable[5].zrot);
  EXPECT_EQ(g_fSpeed, DefaultTable[5].speed);
  EXPECT_EQ(SpinAngle, 123.0f);
  EXPECT_EQ(ModuleTable[5].depth, 77.0f);
  EXPECT_EQ(SaverState.LastSwitchTime, 42u);
}

TEST_F(ViewKeysTest, EnterAndBackspaceStoreSwitchAndRestartTheCycle) {
  test_seams::EnableOnly({3, 8});
  CurrentModule = 3;
  LoadModuleParams(3);
  g_fDepth = 12.5f;
  SpinAngle = 40.0f;
  test_seams::SetNow(7000);
  Press(vk::Return);
  EXPECT_EQ(CurrentModule, 8);
  EXPECT_EQ(ModuleTable[3].depth, 12.5f);  // the old module's view was stored
  EXPECT_EQ(g_fDepth, ModuleTable[8].depth);
  EXPECT_EQ(SpinAngle, 0.0f);
  EXPECT_EQ(SaverState.LastSwitchTime, 7000u);
  Press(vk::Back);
  EXPECT_EQ(CurrentModule, 3);
  EXPECT_EQ(g_fDepth, 12.5f);
  Press(vk::Back);
  EXPECT_EQ(CurrentModule, 8);
  // In the saver there are no module buttons to mark.
  EXPECT_TRUE(test_seams::ModuleRadios().empty());
}

TEST_F(ViewKeysTest, EnterWithOnlyTheCurrentModuleKeepsItsViewAndRestartsIt) {
  test_seams::EnableOnly({4});
  CurrentModule = 4;
  LoadModuleParams(4);
  g_fHorz = 3.0f;
  SpinAngle = 90.0f;
  test_seams::SetNow(900);
  Press(vk::Return);
  EXPECT_EQ(CurrentModule, 4);
  EXPECT_EQ(g_fHorz, 3.0f);
  EXPECT_EQ(ModuleTable[4].horz, 3.0f);
  EXPECT_EQ(SpinAngle, 0.0f);
  EXPECT_EQ(SaverState.LastSwitchTime, 900u);
}

TEST_F(ViewKeysTest, ModuleKeysInTheDialogMarkTheButtonEvenWithNoModuleLeft) {
  InSettingsDialog();
  test_seams::EnableOnly({});
  CurrentModule = 2;
  Press(vk::Return);
  EXPECT_EQ(CurrentModule, 0);
  Press(vk::Back);
  EXPECT_EQ(CurrentModule, 0);
  ASSERT_EQ(test_seams::ModuleRadios().size(), 2u);
  EXPECT_EQ(test_seams::ModuleRadios()[0].dialog, kWindow);
  EXPECT_EQ(test_seams::ModuleRadios()[0].module, 0);
  // Once a module is enabled again, the search starts from 0.
  ModuleTable[6].active = true;
  Press(vk::Return);
  EXPECT_EQ(CurrentModule, 6);
  EXPECT_EQ(test_seams::ModuleRadios().back().module, 6);
}

TEST_F(ViewKeysTest, EscAndKeysWithoutAnActionEndOnlyTheSaver) {
  for (uintptr_t key : {vk::Escape, vk::Shift, vk::Control, vk::Space, uintptr_t{'A'}, vk::F12,
                        vk::Numpad5, vk::Numpad0}) {
    SaverState.Closing = false;
    Press(key);
    EXPECT_TRUE(SaverState.Closing) << "key " << key;
  }
  InSettingsDialog();
  const float depth = g_fDepth;
  for (uintptr_t key : {vk::Shift, vk::Control, vk::Space, uintptr_t{'A'}, vk::F12, vk::Numpad5}) {
    SaverState.Closing = false;
    Press(key);
    EXPECT_FALSE(SaverState.Closing) << "key " << key;
  }
  EXPECT_EQ(g_fDepth, depth);
  // Esc closes the dialog the same way.
  Press(vk::Escape);
  EXPECT_TRUE(SaverState.Closing);
}

TEST_F(ViewKeysTest, KeyUpNeverActs) {
  const float depth = g_fDepth;
  for (uintptr_t key : {vk::Escape, vk::Prior, vk::Return, uintptr_t{'A'}, vk::F1, vk::F11})
    Release(key);
  EXPECT_FALSE(SaverState.Closing);
  EXPECT_EQ(g_fDepth, depth);
  EXPECT_EQ(CurrentModule, 1);
  EXPECT_TRUE(test_seams::ControlMenus().empty());
  EXPECT_TRUE(test_seams::MessageBoxes().empty());
}

TEST_F(ViewKeysTest, ASaverThatIsNotFullScreenTakesNoKeys) {
  SaverState.FullScreen = false;
  const float depth = g_fDepth;
  for (uintptr_t key : {vk::Escape, vk::Prior, vk::Return, uintptr_t{'A'}, vk::F1, vk::F11})
    Press(key);
  EXPECT_FALSE(SaverState.Closing);
  EXPECT_EQ(g_fDepth, depth);
  EXPECT_EQ(CurrentModule, 1);
  EXPECT_TRUE(test_seams::ControlMenus().empty());
  EXPECT_TRUE(test_seams::MessageBoxes().empty());
}

TEST_F(ViewKeysTest, F1OpensTheControlMenuOwnedByTheWindow) {
  Press(vk::F1);
  InSettingsDialog();
  Press(vk::F1);
  ASSERT_EQ(test_seams::ControlMenus().size(), 2u);
  EXPECT_EQ(test_seams::ControlMenus()[0], kWindow);
  EXPECT_FALSE(SaverState.Closing);
}

TEST_F(ViewKeysTest, F11ShowsTheSevenLiveValues) {
  g_fDepth = 51.25f;
  g_fHorz = -3.5f;
  g_fVert = 0.0f;
  g_fXrot = -90.0f;
  g_fYrot = 1.5f;
  g_fZrot = 1234567.0f;
  g_fSpeed = 0.0625f;
  Press(vk::F11);
  ASSERT_EQ(test_seams::MessageBoxes().size(), 1u);
  const auto& box = test_seams::MessageBoxes()[0];
  EXPECT_EQ(box.owner, kWindow);
  EXPECT_EQ(box.caption, "Params");
  EXPECT_EQ(box.flags, 0u);
  EXPECT_EQ(box.text,
            "g_fDepth 51.250000\ng_fHorz  -3.500000\ng_fVert  0.000000\ng_fXrot  -90.000000\n"
            "g_fYrot  1.500000\ng_fZrot  1234567.000000\ng_fSpeed 0.062500\n");
  EXPECT_FALSE(SaverState.Closing);
}

TEST_F(ViewKeysTest, F11WithHugeValuesStaysWithinItsBuffer) {
  g_fDepth = g_fHorz = g_fVert = g_fXrot = g_fYrot = g_fZrot = g_fSpeed = -3.0e38f;
  Press(vk::F11);
  ASSERT_EQ(test_seams::MessageBoxes().size(), 1u);
  const std::string& text = test_seams::MessageBoxes()[0].text;
  EXPECT_LE(text.size(), 511u);
  EXPECT_EQ(text.rfind("g_fDepth -3", 0), 0u);
}

}  // namespace
