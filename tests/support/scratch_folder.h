// A test fixture with a folder of its own for the files its tests write:
// emptied before each test and removed after it. The folder's name holds the
// process id, so test processes running side by side never share one.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace testing_support {

class ScratchFolderTest : public ::testing::Test {
 protected:
  explicit ScratchFolderTest(const std::string& prefix)
      : dir_(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()))) {}
  void SetUp() override {
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  // Writes `bytes` to the file `name` in the folder; returns its path.
  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }

  std::filesystem::path dir_;
};

}  // namespace testing_support
