// The module table: built-in defaults, moving values between the table and
// the live view, and the enabled-module searches.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "core/frame_state.h"
#include "core/module_table.h"
#include "frames/frame.h"
#include "scenes/modules.h"
#include "tests/unit/test_seams.h"

namespace {

class ModuleTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetEngineState(); }
};

TEST_F(ModuleTableTest, StartValuesBeforeAnyLoad) {
  EXPECT_EQ(CurrentModule, 1);
  EXPECT_EQ(g_fDepth, 40.0f);
  EXPECT_EQ(g_fXrot, -90.0f);
  EXPECT_EQ(g_fSpeed, 5.0f);
  EXPECT_EQ(g_fHorz, 0.0f);
  EXPECT_EQ(ModuleTable[3].depth, 0.0f);
  EXPECT_FALSE(ModuleTable[3].active);
}

TEST_F(ModuleTableTest, BuiltInDefaultsAreTheSinglePrecisionConstants) {
  SetBuiltInDefaults();
  EXPECT_EQ(std::bit_cast<uint32_t>(DefaultTable[10].speed), std::bit_cast<uint32_t>(0.3f));
  EXPECT_EQ(DefaultTable[9].xrot, 0.0f);
  EXPECT_EQ(DefaultTable[4].xrot, 0.0f);
  EXPECT_EQ(DefaultTable[4].yrot, 90.0f);
  EXPECT_EQ(DefaultTable[4].vert, -1.35f);
  EXPECT_EQ(DefaultTable[5].xrot, -157.7f);
  EXPECT_EQ(DefaultTable[5].yrot, 208.6f);
  EXPECT_EQ(DefaultTable[7].vert, 12.15f);
  EXPECT_EQ(DefaultTable[1].depth, 50.0f);
  EXPECT_EQ(DefaultTable[3].depth, 68.0f);
  EXPECT_EQ(DefaultTable[8].depth, 14.0f);
  // Entry 0 and modules 2 and 6 hold the generic record in both tables.
  for (int n : {0, 2, 6}) {
    for (const ModuleRecord* table : {ModuleTable, DefaultTable}) {
      const ModuleRecord& r = table[n];
      EXPECT_EQ(r.depth, 40.0f);
      EXPECT_EQ(r.xrot, -90.0f);
      EXPECT_EQ(r.speed, 0.5f);
      EXPECT_TRUE(r.active);
    }
  }
  EXPECT_EQ(std::memcmp(ModuleTable, DefaultTable, sizeof ModuleTable), 0);
}

TEST_F(ModuleTableTest, StoreThenLoadGivesBackTheSameBits) {
  SetBuiltInDefaults();
  g_fDepth = 12.345678f;
  g_fHorz = -0.1f;
  g_fVert = 1e-7f;
  g_fXrot = -157.7f;
  g_fYrot = 208.6f;
  g_fZrot = 3.3333333f;
  g_fSpeed = 0.0625f;
  StoreModuleParams(7);
  EXPECT_TRUE(ModuleTable[7].active);  // the flag is not touched
  g_fDepth = g_fHorz = g_fVert = g_fXrot = g_fYrot = g_fZrot = g_fSpeed = 0.0f;
  SpinAngle = 77.0f;
  LoadModuleParams(7);
  EXPECT_EQ(std::bit_cast<uint32_t>(g_fDepth), std::bit_cast<uint32_t>(12.345678f));
  EXPECT_EQ(g_fHorz, -0.1f);
  EXPECT_EQ(g_fVert, 1e-7f);
  EXPECT_EQ(g_fXrot, -157.7f);
  EXPECT_EQ(g_fYrot, 208.6f);
  EXPECT_EQ(g_fZrot, 3.3333333f);
  EXPECT_EQ(g_fSpeed, 0.0625f);
  EXPECT_EQ(SpinAngle, 0.0f);
}

TEST_F(ModuleTableTest, OutOfRangeModulesLeaveTheViewButRestartTheSpin) {
  SetBuiltInDefaults();
  for (int n : {0, 11, -1}) {
    g_fDepth = 99.0f;
    SpinAngle = -12.5f;
    LoadModuleParams(n);
    EXPECT_EQ(g_fDepth, 99.0f);
    EXPECT_EQ(SpinAngle, 0.0f);
    LoadDefaultParams(n);
    EXPECT_EQ(g_fDepth, 99.0f);
    StoreModuleParams(n);
  }
  EXPECT_EQ(ModuleTable[0].depth, 40.0f);
}

TEST_F(ModuleTableTest, DefaultParamsLeaveSpinAndTableAlone) {
  SetBuiltInDefaults();
  ModuleTable[4].depth = 1.0f;
  SpinAngle = -30.0f;
  LoadDefaultParams(4);
  EXPECT_EQ(g_fDepth, 25.0f);
  EXPECT_EQ(g_fYrot, 90.0f);
  EXPECT_EQ(SpinAngle, -30.0f);
  EXPECT_EQ(ModuleTable[4].depth, 1.0f);
}

TEST_F(ModuleTableTest, OnlyModuleFourActive) {
  test_seams::EnableOnly({4});
  EXPECT_EQ(NextActiveModule(4), 4);
  EXPECT_EQ(PreviousActiveModule(4), 4);
  EXPECT_EQ(NextActiveModule(0), 4);
  EXPECT_EQ(PreviousActiveModule(0), 4);
  EXPECT_EQ(CountActiveModules(), 1);
}

TEST_F(ModuleTableTest, ModulesThreeAndEightActive) {
  test_seams::EnableOnly({3, 8});
  EXPECT_EQ(NextActiveModule(3), 8);
  EXPECT_EQ(NextActiveModule(8), 3);
  EXPECT_EQ(PreviousActiveModule(3), 8);
  EXPECT_EQ(NextActiveModule(10), 3);
  EXPECT_EQ(PreviousActiveModule(1), 8);
  EXPECT_EQ(PreviousActiveModule(8), 3);
  EXPECT_EQ(CountActiveModules(), 2);
}

TEST_F(ModuleTableTest, NoModuleActive) {
  test_seams::EnableOnly({});
  ModuleTable[0].active = true;  // entry 0 is never a module
  for (int n = 0; n <= kModuleCount; ++n) {
    EXPECT_EQ(NextActiveModule(n), 0) << n;
    EXPECT_EQ(PreviousActiveModule(n), 0) << n;
  }
  EXPECT_EQ(CountActiveModules(), 0);
}

TEST_F(ModuleTableTest, SearchesFromZeroStartAtTheEnds) {
  test_seams::EnableOnly({1, 10});
  EXPECT_EQ(NextActiveModule(0), 1);
  EXPECT_EQ(PreviousActiveModule(0), 10);
  EXPECT_EQ(NextActiveModule(10), 1);
  EXPECT_EQ(PreviousActiveModule(1), 10);
}

TEST_F(ModuleTableTest, EveryModuleHasItsNameAndAScene) {
  EXPECT_STREQ(Modules[1].name, "Love");
  EXPECT_STREQ(Modules[5].name, "Creativity");
  EXPECT_STREQ(Modules[9].name, "Inspiration");
  EXPECT_STREQ(Modules[10].name, "Bliss");
  EXPECT_EQ(Modules[0].draw, nullptr);
  for (int n = 1; n <= kModuleCount; ++n) EXPECT_NE(Modules[n].draw, nullptr) << n;
}

}  // namespace
