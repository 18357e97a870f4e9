// Runs the space-group interpreter with a scratch file as its message unit and
// hands back the lines it wrote.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "cryst/space_group.hpp"
#include "terminal/unit_table.hpp"

inline std::vector<std::string> interpretToFile(const std::string& symbol, SpaceGroupInfo& info, int& status) {
  // A file of its own for each test: ctest runs the tests in parallel.
  const std::string path = ::testing::TempDir() + "sgroup_messages_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  const int unit = 41;
  EXPECT_EQ(unitTable().open(unit, path, "w"), 0);
  status = interpretSpaceGroup(symbol, unit, info);
  unitTable().close(unit);
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::remove(path.c_str());
  return lines;
}
