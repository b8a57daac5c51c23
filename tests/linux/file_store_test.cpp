// The settings file: every value saved and loaded back with the registry's
// names and numbers, damaged and unknown lines, a folder not made yet, and
// writes that fail leaving the old file as it was.
#include <signal.h>
#include <sys/stat.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/module_table.h"
#include "frames/frame.h"
#include "scenes/modules.h"
#include "settings/file_store.h"
#include "settings/store.h"
#include "settings/stored_values.h"
#include "tests/linux/settings_file.h"

namespace {

using FileStoreTest = SettingsFileTest;

// A view value as it reads back after a save.
float Stored(float value) { return ScaleFromStore(*ScaleForStore(value)); }

// One value written or read through the backend, the others left alone.
size_t PlaceOf(const std::string& name) {
  const auto& names = StoredValueNames();
  return static_cast<size_t>(std::find(names.begin(), names.end(), name) - names.begin());
}
bool WriteOne(const std::string& name, int32_t value) {
  StoredNumbers numbers{};
  numbers[PlaceOf(name)] = value;
  return WriteStoredNumbers(numbers, nullptr);
}
std::optional<int32_t> ReadOne(const std::string& name) {
  StoredNumbers numbers;
  ReadStoredNumbers(numbers, nullptr);
  return numbers[PlaceOf(name)];
}

TEST_F(FileStoreTest, SavedValuesLoadBackIntoAFolderMadeForThem) {
  SetBuiltInDefaults();
  for (int n = 1; n <= kModuleCount; ++n) {
    ModuleTable[n] = {100.25f + n, -3.5f * n, 0.75f * n, -90.0f - n, 45.5f * n, -7.0f + n,
                      0.0625f * n, n % 3 != 0};
  }
  ModuleTable[7].vert = 12.15f;
  CycleTime = 42;
  ModuleRecord saved[kModuleSlots];
  std::copy(std::begin(ModuleTable), std::end(ModuleTable), saved);

  ASSERT_FALSE(std::filesystem::exists(file_.parent_path()));
  ASSERT_TRUE(SaveSettings());
  const std::string text = FileText();
  EXPECT_NE(text.find("\nmod1 depth = 10125\n"), std::string::npos) << text;
  // The numbers the registry would hold.
  EXPECT_NE(text.find("\nmod7 vert = " + std::to_string(*ScaleForStore(12.15f)) + "\n"),
            std::string::npos);
  EXPECT_NE(text.find("\nmod3 active = 0\n"), std::string::npos);
  EXPECT_NE(text.find("\ncycle time = 42\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '='), kStoredValueCount);

  ResetEngineState();
  LoadSettings();
  for (int n = 1; n <= kModuleCount; ++n) {
    const ModuleRecord& r = ModuleTable[n];
    const ModuleRecord& s = saved[n];
    EXPECT_EQ(r.depth, Stored(s.depth)) << n;
    EXPECT_EQ(r.horz, Stored(s.horz)) << n;
    EXPECT_EQ(r.vert, Stored(s.vert)) << n;
    EXPECT_EQ(r.xrot, Stored(s.xrot)) << n;
    EXPECT_EQ(r.yrot, Stored(s.yrot)) << n;
    EXPECT_EQ(r.zrot, Stored(s.zrot)) << n;
    EXPECT_EQ(r.active, s.active) << n;
  }
  EXPECT_EQ(ModuleTable[10].speed, Stored(0.625f));
  EXPECT_EQ(CycleTime, 42);
}

TEST_F(FileStoreTest, ADamagedLineGivesItsDefaultAndTheOthersStay) {
  WriteFile("mod3 depth = 6800\n"
            "mod1 depth = abc\n"
            "mod2 depth = 12x\n"
            "mod4 depth =\n"
            "cycle time = 99999999999\n"
            "MOD5 Horz = -600\n"
            "  mod7 xrot\t=\t-4500  \r\n"
            "mod8 depth = 4294967295\n"
            "mod6 depth 1000\n"
            "mod9 depth = 2000");  // no line break at the end
  LoadSettings();
  EXPECT_EQ(ModuleTable[3].depth, 68.0f);
  EXPECT_EQ(ModuleTable[1].depth, 50.0f);
  EXPECT_EQ(ModuleTable[2].depth, 40.0f);
  EXPECT_EQ(ModuleTable[4].depth, 25.0f);
  EXPECT_EQ(CycleTime, 15);
  EXPECT_EQ(ModuleTable[5].horz, -6.0f);   // names match in any case, as in the registry
  EXPECT_EQ(ModuleTable[7].xrot, -45.0f);
  EXPECT_EQ(ModuleTable[8].depth, -0.01f);  // a 32-bit number, read as signed
  EXPECT_EQ(ModuleTable[6].depth, 40.0f);
  EXPECT_EQ(ModuleTable[9].depth, 20.0f);
}

TEST_F(FileStoreTest, UnknownLinesStayAndEachValueEndsOnOneLine) {
  WriteFile("# my own note\n"
            "mod1 depth = 100\n"
            "colour = blue\n"
            "\n"
            "mod1 depth = 200\n");
  ASSERT_TRUE(WriteOne("mod1 depth", 5100));
  EXPECT_EQ(FileText(), "# my own note\nmod1 depth = 5100\ncolour = blue\n\n");
  EXPECT_EQ(ReadOne("mod1 depth"), 5100);

  SetBuiltInDefaults();
  ASSERT_TRUE(SaveSettings());
  const std::string text = FileText();
  EXPECT_EQ(text.rfind("# my own note\nmod1 depth = 5000\ncolour = blue\n\nmod1 horz = 0\n", 0), 0u)
      << text;
}

TEST_F(FileStoreTest, ALinkedFileIsWrittenWhereItPoints) {
  const auto real = root_ / "dotfiles/lumvia.conf";
  std::filesystem::create_directories(real.parent_path());
  std::filesystem::create_directories(file_.parent_path());
  WriteFile("");
  std::filesystem::rename(file_, real);
  std::filesystem::create_symlink(real, file_);
  ASSERT_TRUE(WriteOne("cycle time", 30));
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  EXPECT_EQ(ReadOne("cycle time"), 30);
}

TEST_F(FileStoreTest, AFailedWriteLeavesTheOldFileWhole) {
  SetBuiltInDefaults();
  ASSERT_TRUE(SaveSettings());
  const std::string before = FileText();

  // Files may grow to 64 bytes only: the temporary file cannot be written.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 64;
  auto oldSignal = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  ModuleTable[1].depth = 99.0f;
  const bool saved = SaveSettings();
  const bool written = WriteOne("cycle time", 7);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldSignal);

  EXPECT_FALSE(saved);
  EXPECT_FALSE(written);
  EXPECT_EQ(FileText(), before);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(file_.parent_path()))
    ++files;
  EXPECT_EQ(files, 1) << "a temporary file was left behind";

  // A settings file that cannot be read is never replaced, so what it holds
  // is not lost; reads give the defaults.
  std::filesystem::remove(file_);
  std::filesystem::create_directory(file_);
  EXPECT_FALSE(WriteOne("cycle time", 7));
  EXPECT_EQ(ReadOne("cycle time"), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_directory(file_));
}

// A value that does not start with a digit (a NUL byte, a letter) reads as
// missing. A FIFO in the file's place is neither waited for nor replaced:
// the load says why, and so does the save it refuses.
TEST_F(FileStoreTest, WhatIsNoNumberOrNoFileReadsAsMissingAndIsSaid) {
  WriteFile(std::string("mod1 depth = \0\nmod2 depth = x12\nmod3 depth = 6800\n", 50));
  std::string why;
  EXPECT_TRUE(LoadSettings(&why));
  EXPECT_EQ(ModuleTable[1].depth, 50.0f);
  EXPECT_EQ(ModuleTable[2].depth, 40.0f);
  EXPECT_EQ(ModuleTable[3].depth, 68.0f);

  std::filesystem::remove(file_);
  ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0);
  ResetEngineState();
  EXPECT_FALSE(LoadSettings(&why));
  EXPECT_EQ(why, file_.string() + ": not a regular file");
  EXPECT_EQ(ModuleTable[3].depth, DefaultTable[3].depth);
  why.clear();
  EXPECT_FALSE(SaveSettings(&why));
  EXPECT_EQ(why, file_.string() + ": not a regular file");
  EXPECT_TRUE(std::filesystem::is_fifo(file_));
}

TEST_F(FileStoreTest, TheFileFollowsXdgConfigHomeElseTheHomeFolder) {
  setenv("XDG_CONFIG_HOME", "relative/path", 1);  // only an absolute path counts
  const char* home = std::getenv("HOME");
  const std::string saved = home ? home : "";
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/lumvia/lumvia.conf");
  if (home) setenv("HOME", saved.c_str(), 1); else unsetenv("HOME");
}

}  // namespace
