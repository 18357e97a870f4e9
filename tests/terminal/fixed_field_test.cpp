// Reading fixed-column numeric fields as formatted Fortran input does.
#include <gtest/gtest.h>

#include "terminal/fixed_field.hpp"

namespace {

TEST(FixedField, ReadsRealsWithImpliedDecimalsExponentsAndBlanks) {
  struct Case {
    const char* text;
    int impliedDecimals;
    float expected;
  } cases[] = {
      {"   1.25 ", 0, 1.25f},
      {"        ", 3, 0.0f},   // all blank reads as zero
      {"  1234  ", 2, 12.34f},  // no point: implied decimals
      {" 1 2.5  ", 0, 12.5f},   // embedded blanks ignored
      {"1.5E2", 0, 150.0f},
      {"1.5D-1", 0, 0.15f},
      {"2.0+3", 0, 2000.0f},    // exponent with a bare sign
      {"-.5", 0, -0.5f},
  };
  for (const Case& c : cases) {
    float value = -99.0f;
    ASSERT_EQ(readRealField(c.text, c.impliedDecimals, value), 0) << c.text;
    EXPECT_FLOAT_EQ(value, c.expected) << c.text;
  }
  float value = 7.0f;
  EXPECT_EQ(readRealField("1.2.3", 0, value), 1);
  EXPECT_EQ(readRealField("abc", 0, value), 1);
  EXPECT_EQ(value, 7.0f);
}

TEST(FixedField, ReadsIntegersAndFieldsPastTheLineEnd) {
  int value = 5;
  EXPECT_EQ(readIntField(" -12 ", value), 0);
  EXPECT_EQ(value, -12);
  EXPECT_EQ(readIntField("1 2", value), 0);
  EXPECT_EQ(value, 12);
  EXPECT_EQ(readIntField("1.0", value), 1);
  EXPECT_EQ(readIntField("99999999999", value), 1);
  EXPECT_EQ(readIntField("   1   2   3", Field{5, 4}, value), 0);
  EXPECT_EQ(value, 2);
  EXPECT_EQ(readIntField("  1", Field{5, 4}, value), 0);  // short line: blanks
  EXPECT_EQ(value, 0);
}

}  // namespace
