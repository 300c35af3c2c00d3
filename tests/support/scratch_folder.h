// A test fixture with a folder of its own for the files a test writes, created before each test
// and removed after it, inside the test process's private temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

class TScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / "scratch";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path folder;
};
