// The 9x platform's password paths with stand-ins for PASSWORD.CPL and
// MPR.DLL (built by the tests; the real ones do not exist under Wine): when
// the verifier is loaded, how a close is confirmed, refused and asked again,
// and the password change.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "frames/frame_loop_win32.h"
#include "host/host_entry_win32.h"
#include "host/password_win32.h"
#include "host/saver_window_win32.h"
#include "platform/messages.h"
#include "tests/win32/saver_support_win32.h"

namespace {

using namespace saver_support;

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kUsePassword[] = "ScreenSaveUsePassword";

// The folder beside the test program that holds one set of stand-ins.
std::string StandInFolder(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of("\\/") + 1);
  return folder + "standins\\" + name;
}

template <typename Fn>
Fn StandInFunction(const char* module, const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(module), name)));
}

bool ScreenSaverRunning() {
  BOOL running = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  return running != FALSE;
}

class PasswordTest : public SaverFixture {
 protected:
  void SetUp() override {
    SaverFixture::SetUp();
    HostState.Win9xPlatform = true;
    SetUsePassword(nullptr);
    UseStandIns("verifier");
  }
  void TearDown() override {
    UnloadPasswordVerifier();
    SaverFixture::TearDown();
    SetUsePassword(nullptr);
    SetDllDirectoryA(nullptr);
  }
  // Sets "ScreenSaveUsePassword" to the number, or removes it.
  static void SetUsePassword(const DWORD* value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    if (value)
      RegSetValueExA(key, kUsePassword, 0, REG_DWORD, reinterpret_cast<const BYTE*>(value),
                     sizeof *value);
    else
      RegDeleteValueA(key, kUsePassword);
    RegCloseKey(key);
  }
  static void UsePassword(DWORD value) { SetUsePassword(&value); }
  static void UseStandIns(const char* folder) {
    ASSERT_TRUE(SetDllDirectoryA(StandInFolder(folder).c_str()));
  }
  static void Answer(BOOL answer) {
    auto set = StandInFunction<void(WINAPI*)(BOOL)>("PASSWORD.CPL", "StandInSetAnswer");
    ASSERT_NE(set, nullptr);
    set(answer);
  }
  static int VerifierCalls() {
    auto calls = StandInFunction<int(WINAPI*)()>("PASSWORD.CPL", "StandInCalls");
    return calls ? calls() : -1;
  }
  // The full-screen saver as RunSaverWindow starts it, without its loop.
  void StartSaver() {
    LoadPasswordVerifier();
    window_ = MakeSaverWindow(nullptr);
    ASSERT_NE(window_, nullptr);
    TakeQueued(window_, kRenderTick);
  }
};

TEST_F(PasswordTest, APasswordInUseLoadsTheVerifierAndMarksTheSaverRunning) {
  UsePassword(1);
  LoadPasswordVerifier();
  ASSERT_NE(HostState.PasswordLibrary, nullptr);
  EXPECT_EQ(HostState.PasswordLibrary, GetModuleHandleA("PASSWORD.CPL"));
  EXPECT_NE(HostState.PasswordVerifier, nullptr);
  EXPECT_TRUE(ScreenSaverRunning());
  UnloadPasswordVerifier();
  EXPECT_EQ(HostState.PasswordLibrary, nullptr);
  EXPECT_EQ(HostState.PasswordVerifier, nullptr);
  EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
  EXPECT_FALSE(ScreenSaverRunning());
}

TEST_F(PasswordTest, NoPasswordMeansNoLibrary) {
  UsePassword(0);
  LoadPasswordVerifier();
  EXPECT_EQ(HostState.PasswordLibrary, nullptr);
  SetUsePassword(nullptr);
  LoadPasswordVerifier();
  EXPECT_EQ(HostState.PasswordLibrary, nullptr);
  EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
}

TEST_F(PasswordTest, TheValueIsReadAsANumberWhateverItsType) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  const char text[] = "1";  // two bytes, '1' and the terminator: not zero
  RegSetValueExA(key, kUsePassword, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  RegCloseKey(key);
  LoadPasswordVerifier();
  EXPECT_NE(HostState.PasswordVerifier, nullptr);
}

TEST_F(PasswordTest, ALibraryWithoutTheVerifierIsFreedAgain) {
  UseStandIns("no_verifier");
  UsePassword(1);
  LoadPasswordVerifier();
  EXPECT_EQ(HostState.PasswordLibrary, nullptr);
  EXPECT_EQ(HostState.PasswordVerifier, nullptr);
  EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
  EXPECT_FALSE(ScreenSaverRunning());
}

TEST_F(PasswordTest, OffThe9xPlatformNothingIsLoaded) {
  HostState.Win9xPlatform = false;
  UsePassword(1);
  LoadPasswordVerifier();
  EXPECT_EQ(HostState.PasswordLibrary, nullptr);
  EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
}

TEST_F(PasswordTest, WithoutAPasswordTheFirstCloseIsApproved) {
  StartSaver();
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(HostState.CloseApproved);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(HostState.LastVerifyTime, 0xFFFFFFFFu);
}

TEST_F(PasswordTest, ARefusedCloseKeepsTheWindowAndAsksAgainOnlyAfterTheQuietTime) {
  UsePassword(1);
  SetCursorPos(500, 400);
  StartSaver();
  Answer(FALSE);
  PostMessageA(window_, WM_TIMER, 1, 0);
  PostMessageA(window_, WM_TIMER, 2, 0);
  SetCursorPos(520, 410);

  EXPECT_EQ(SendMessageA(window_, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(VerifierCalls(), 1);
  auto lastWindow = StandInFunction<HWND(WINAPI*)()>("PASSWORD.CPL", "StandInLastWindow");
  EXPECT_EQ(lastWindow(), window_);
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_FALSE(HostState.CloseApproved);
  EXPECT_FALSE(HostState.Verifying);
  EXPECT_EQ(TakeQueued(window_, WM_TIMER), 0);  // pending timer messages were removed
  EXPECT_EQ(HostState.CursorAnchor.x, 520);     // travel is measured from the refusal
  EXPECT_EQ(HostState.CursorAnchor.y, 410);
  EXPECT_LE(GetTickCount() - HostState.LastVerifyTime, 5000u);
  // The frames stopped with the first close.
  EXPECT_TRUE(SaverState.Closed);
  HandleRenderTick(window_);
  EXPECT_EQ(TakeQueued(window_, kRenderTick), 0);

  HostState.LastVerifyTime = GetTickCount() - 150;
  EXPECT_EQ(SendMessageA(window_, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(VerifierCalls(), 1);  // refused silently
  HostState.LastVerifyTime = GetTickCount() - 250;
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(VerifierCalls(), 2);
  EXPECT_TRUE(IsWindow(window_));

  Answer(TRUE);
  HostState.LastVerifyTime = GetTickCount() - 250;
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(VerifierCalls(), 3);
  EXPECT_TRUE(HostState.CloseApproved);
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(PasswordTest, ACloseWhileVerifyingIsRefusedWithoutAsking) {
  UsePassword(1);
  StartSaver();
  HostState.Verifying = true;
  EXPECT_FALSE(ConfirmClose(window_));
  EXPECT_EQ(VerifierCalls(), 0);
  HostState.Verifying = false;
}

TEST_F(PasswordTest, TheCheckRequestIsAnsweredOnlyOnThe9xPlatform) {
  StartSaver();
  EXPECT_EQ(SendMessageA(window_, PasswordCheckRequest, 0, 0), 1);  // no verifier: may close
  HostState.Win9xPlatform = false;
  EXPECT_EQ(SendMessageA(window_, PasswordCheckRequest, 0, 0), 0);
}

TEST_F(PasswordTest, ElapsedTimeSurvivesTheWrapOfTheTickCounter) {
  EXPECT_EQ(TickElapsed(0xFFFFFF00u, 0x10u), 272u);
  EXPECT_EQ(TickElapsed(1000u, 1150u), 150u);
  EXPECT_EQ(TickElapsed(7u, 7u), 0u);
}

TEST_F(PasswordTest, ThePasswordChangeCallsTheChangerWithItsOwner) {
  ASSERT_EQ(GetModuleHandleA("MPR.DLL"), nullptr) << "the system's MPR.DLL is already loaded";
  UseStandIns("mpr");
  parent_ = MakeParent(100, 100);
  // The stand-in is unloaded again after every change, so its record goes
  // with it; the test reads it through a copy that stays loaded.
  HMODULE held = LoadLibraryA("MPR.DLL");
  ASSERT_NE(held, nullptr);
  auto calls = StandInFunction<int(WINAPI*)()>("MPR.DLL", "StandInCalls");
  auto provider = StandInFunction<const char*(WINAPI*)()>("MPR.DLL", "StandInLastProvider");
  auto owner = StandInFunction<HWND(WINAPI*)()>("MPR.DLL", "StandInLastOwner");
  // Wine has an MPR.DLL of its own and prefers it unless told otherwise.
  ASSERT_NE(calls, nullptr) << "the stand-in was not loaded; run with WINEDLLOVERRIDES=mpr=n,b";

  const std::string number = std::to_string(reinterpret_cast<uintptr_t>(parent_));
  EXPECT_EQ(RunPasswordChange(number.c_str()), 0);
  EXPECT_EQ(calls(), 1);
  EXPECT_STREQ(provider(), "SCRSAVE");
  EXPECT_EQ(owner(), parent_);

  SetForegroundWindow(parent_);
  EXPECT_EQ(RunPasswordChange("77"), 0);  // no such window: the foreground window owns it
  EXPECT_EQ(calls(), 2);
  EXPECT_EQ(owner(), GetForegroundWindow());
  FreeLibrary(held);
  EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);  // freed after each change
}

}  // namespace
