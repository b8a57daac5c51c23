// A private settings folder for each test (settings_file.h).
#include "tests/linux/settings_file.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "frames/frame.h"
#include "settings/file_store.h"
#include "settings/store.h"

void SettingsFileTest::SetUp() {
  char pattern[] = "/tmp/lumvia-settings-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = pattern;
  setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
  file_ = root_ / "config/lumvia/lumvia.conf";
  ASSERT_EQ(SettingsFilePath(), file_.string());
  ResetEngineState();
}

void SettingsFileTest::TearDown() {
  unsetenv("XDG_CONFIG_HOME");
  std::filesystem::remove_all(root_);
}

void SettingsFileTest::WriteFile(const std::string& text) const {
  std::filesystem::create_directories(file_.parent_path());
  std::ofstream(file_) << text;
}

std::string SettingsFileTest::FileText() const {
  std::ostringstream text;
  text << std::ifstream(file_).rdbuf();
  return text.str();
}
