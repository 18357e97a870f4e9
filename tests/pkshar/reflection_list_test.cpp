// Reading a reflection list: the 10000-reflection limit.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "reflection_list.hpp"
#include "terminal/fortran_format.hpp"
#include "terminal/unit_table.hpp"

namespace {

TEST(ReflectionList, KeepsTheFirst10000AndIgnoresTheRest) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "telk_limit_test.RFL";
  {
    std::ofstream out(path);
    out << "header\n";
    for (int i = 1; i <= 10005; ++i)
      out << fmtI(i % 50, 4) << fmtI(i / 50, 4) << fmtI(1, 4) << fmtI(0, 8) << std::string(10, ' ')
          << fmtF(i * 0.01, 10, 4) << fmtF(0.1, 10, 4) << "\n";
    // no end-of-list line: reading stops at the limit before it is needed
  }
  ASSERT_EQ(unitTable().open(21, path.string(), "r"), 0);
  const ReflectionList list = readReflectionList(21);
  unitTable().close(21);
  std::filesystem::remove(path);
  EXPECT_TRUE(list.truncated);
  ASSERT_EQ(list.reflections.size(), 10000u);
  EXPECT_FLOAT_EQ(list.reflections.back().position, 100.0f);
}

}  // namespace
