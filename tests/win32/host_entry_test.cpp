// The command line as the host reads it: the program name skipped, the
// window number parsed, and the run modes that end at once with -1.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "host/host_entry_win32.h"
#include "tests/win32/saver_support_win32.h"

namespace {

using namespace saver_support;

TEST(CommandTailTest, TheProgramNameAndTheSeparatorsAfterItAreSkipped) {
  EXPECT_STREQ(CommandTail("lumvia.scr /s"), "/s");
  EXPECT_STREQ(CommandTail("\"C:\\Program Files\\Saver Pack\\lumvia.scr\" /p 12"), "/p 12");
  EXPECT_STREQ(CommandTail("\"C:\\With Blanks\\lumvia.scr\"/s"), "/s");
  EXPECT_STREQ(CommandTail("lumvia.scr\t\x01 \t-S"), "-S");
  EXPECT_STREQ(CommandTail("lumvia.scr"), "");
  EXPECT_STREQ(CommandTail("\"no closing quote /s"), "");
  EXPECT_STREQ(CommandTail("C:\\Program Files\\lumvia.scr /s"), "Files\\lumvia.scr /s");
  // Bytes from 0x80 belong to the name and stop the separator skip.
  EXPECT_STREQ(CommandTail("lumvi\xE4.scr /c"), "/c");
  EXPECT_STREQ(CommandTail("lumvia.scr \xA0/s"), "\xA0/s");
}

TEST(ParseWindowNumberTest, ReadsLeadingDecimalDigitsOnly) {
  EXPECT_EQ(ParseWindowNumber("1234"), 1234u);
  EXPECT_EQ(ParseWindowNumber("1234:5"), 1234u);
  EXPECT_EQ(ParseWindowNumber(":1234"), 0u);
  EXPECT_EQ(ParseWindowNumber(" 12"), 0u);
  EXPECT_EQ(ParseWindowNumber("-5"), 0u);
  EXPECT_EQ(ParseWindowNumber("0x10"), 0u);
  EXPECT_EQ(ParseWindowNumber(""), 0u);
  EXPECT_EQ(ParseWindowNumber("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseWindowNumber("4294967297"), 1u);  // more digits than fit wrap around
}

// As the system widens a 32-bit handle for a 64-bit program: with its sign.
TEST(WindowFromNumberTest, TheNumberIsWidenedWithItsSign) {
  EXPECT_EQ(WindowFromNumber(0x0001002Au), reinterpret_cast<HWND>(LONG_PTR{0x1002A}));
  EXPECT_EQ(WindowFromNumber(0xFFFF802Au), reinterpret_cast<HWND>(LONG_PTR{-0x7FD6}));
  EXPECT_EQ(WindowFromNumber(0x8000002Au), reinterpret_cast<HWND>(LONG_PTR{INT32_MIN + 0x2A}));
}

class HostEntryTest : public SaverFixture {
 protected:
  static int Run(const char* tail) { return HostEntry(GetModuleHandleA(nullptr), nullptr, tail, 0); }
};

TEST_F(HostEntryTest, UnknownSwitchesAndDeadPreviewsEndAtOnce) {
  EXPECT_EQ(Run("/x"), -1);
  EXPECT_EQ(Run("-\ts"), -1);  // a tab between the dash and the letter
  EXPECT_EQ(Run("\ts"), -1);
  EXPECT_EQ(Run("9"), -1);
  EXPECT_EQ(Run("\xE9"), -1);
  EXPECT_EQ(Run("/p:1234"), -1);
  EXPECT_EQ(Run("/p 0"), -1);
  EXPECT_EQ(Run("/p"), -1);
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(77)));
  EXPECT_EQ(Run("/p 77"), -1);
  EXPECT_EQ(Run("/L 77"), -1);
  EXPECT_EQ(Run("--//  /l0"), -1);
  EXPECT_EQ(HostState.SaverWindow, nullptr);
  EXPECT_EQ(HostState.Instance, GetModuleHandleA(nullptr));
}

TEST_F(HostEntryTest, ThePasswordChangeNeedsThe9xPlatform) {
  ASSERT_FALSE(HostState.Win9xPlatform);
  EXPECT_EQ(Run("/a 1234"), -1);
  EXPECT_EQ(Run("A"), -1);
  EXPECT_FALSE(HostState.Win9xPlatform);  // this Wine reports an NT platform
}

TEST_F(HostEntryTest, APreviewNumberNamesTheParentWindow) {
  parent_ = MakeParent(160, 120);
  const std::string number = std::to_string(reinterpret_cast<uintptr_t>(parent_));
  for (std::string tail : {"/p " + number, "/p" + number, "-l   " + number}) {
    HostState = HostStateRecord{};
    SaverState = SaverStateRecord{};
    UnregisterClassA(kSaverClass, GetModuleHandleA(nullptr));
    std::thread closer = CloseSaverWhenShown("Preview", parent_);
    EXPECT_EQ(Run(tail.c_str()), 0) << tail;
    closer.join();
    EXPECT_TRUE(HostState.PreviewMode) << tail;
    EXPECT_TRUE(SaverState.Closed) << tail;
  }
}

TEST_F(HostEntryTest, SLetterRunsTheFullScreenSaver) {
  for (const char* tail : {"/s", "-S", " s", "s", "/s /c", "/S:1"}) {
    HostState = HostStateRecord{};
    SaverState = SaverStateRecord{};
    UnregisterClassA(kSaverClass, GetModuleHandleA(nullptr));
    std::thread closer = CloseSaverWhenShown("Screen Saver");
    EXPECT_EQ(Run(tail), 0) << tail;
    closer.join();
    EXPECT_FALSE(HostState.PreviewMode) << tail;
    EXPECT_TRUE(SaverState.Closed) << tail;
  }
}

}  // namespace
