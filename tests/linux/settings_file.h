// A private settings folder for each test: XDG_CONFIG_HOME points into a
// fresh temporary folder, whose lumvia/ folder does not exist yet.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the settings file with these lines, making its folder.
  void WriteFile(const std::string& text) const;
  std::string FileText() const;

  std::filesystem::path root_;
  std::filesystem::path file_;
};
