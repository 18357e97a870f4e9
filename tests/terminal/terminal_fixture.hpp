// Runs answer-reader code with standard input taken from a text and standard
// output captured, in a scratch directory.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

class TerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = std::filesystem::temp_directory_path() /
               ("telk_terminal_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(scratch_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(scratch_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(scratch_);
  }
  // Makes text the terminal input.
  void typeAhead(const std::string& text) {
    writeFile("stdin.txt", text);
    ASSERT_NE(std::freopen("stdin.txt", "r", stdin), nullptr);
  }
  static void writeFile(const std::string& name, const std::string& text) { std::ofstream(name) << text; }
  static std::string readFile(const std::string& name) {
    std::ifstream in(name);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::path scratch_, previous_;
};
