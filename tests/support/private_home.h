// Every test process gets fresh home, configuration, data and temporary folders under the
// system's temporary folder (TMPDIR), so no test reads or writes the developer's own settings or
// desktop files, test processes running side by side never share a file, and tests run without
// a display.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class TPrivateHome : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelmar-test-XXXXXX").string();
    const char* folder = mkdtemp(pattern.data());
    if (folder == nullptr) std::abort();
    root_ = folder;
    std::filesystem::create_directory(root_ / "tmp");
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    setenv("HOME", root_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

 private:
  std::filesystem::path root_;
};
