// Every test process gets fresh home, configuration and data folders, so no test reads or writes
// the developer's own settings or desktop files, and runs without a display.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

class TPrivateHome : public ::testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/zelmar-test-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (folder == nullptr) std::abort();
    root_ = folder;
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
