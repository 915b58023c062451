// In-process tests that read or write files: each test runs in a fresh
// temporary folder of its own, left again (and removed) when it ends.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The bytes of a file ("" when it does not exist), and a file written anew.
inline std::string readFile(const std::string &name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}
inline void writeFile(const std::string &name, const std::string &bytes) {
  std::ofstream out(name, std::ios::binary);
  out << bytes;
}

class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "telva-work-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::filesystem::current_path(folder_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }


 private:
  std::filesystem::path previous_, folder_;
};
