// The free-format number scanner: values, positions and the error rules.
#include "cryst/number_field.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* text;
  int impliedDecimals;
  float expected;     // compared within 4 ulps; 0 on error
  int status;
  int positionAfter;  // 1-based position after the field
};

// Every case reads the whole text (maxChars = its length) with default -9.
const Case kCases[] = {
    {"12.5", 0, 12.5f, 0, 5},
    {"  7 ", 0, 7.0f, 0, 5},  // position after the blank that ends the field
    {"3,4", 0, 3.0f, 0, 3},
    {" 7 8", 0, 7.0f, 0, 4},
    {".5", 0, 0.5f, 0, 3},
    {"- 5", 0, -5.0f, 0, 4},  // blanks before the first digit are skipped
    {"1/3", 0, 0.33333334f, 0, 4},
    {"-2/3", 0, -0.6666667f, 0, 5},
    {"1.5E3", 0, 1500.0f, 0, 6},
    {"1.5+3", 0, 1500.0f, 0, 6},  // a bare sign after digits starts the exponent
    {"1.5E+3", 0, 1500.0f, 0, 7},
    {"2E-2", 0, 0.02f, 0, 5},
    {"2-2", 0, 0.02f, 0, 4},
    {"S30", 0, 0.5f, 0, 4},
    {"-S30", 0, -0.5f, 0, 5},
    {"S-30", 0, -0.5f, 0, 5},
    {" S30", 0, 0.5f, 0, 5},  // the letter may be the second character
    {"T45", 0, 1.0f, 0, 4},
    {"C60", 0, 0.49999997f, 0, 4},
    {"s30", 0, 0.5f, 0, 4},
    {"1.5e3", 0, 1500.0f, 0, 6},
    {"1234", 2, 12.34f, 0, 5},
    {"12.34", 2, 12.34f, 0, 6},  // a written point overrides the implied decimals
    {"5E1", 2, 50.0f, 0, 4},     // so does an exponent
    {"    ", 0, -9.0f, 0, 5},    // no digits: the default
    {"-", 0, -9.0f, 0, 2},
    // Errors: result 0, position just after the offending character.
    {"1/0", 0, 0.0f, 1, 4},
    {"1.5/2", 0, 0.0f, 1, 5},
    {"S", 0, 0.0f, 1, 2},
    {"  S30", 0, 0.0f, 1, 4},  // a letter in the third character
    {"SC30", 0, 0.0f, 1, 3},
    {"1.2.3", 0, 0.0f, 1, 5},
    {"E5", 0, 0.0f, 1, 2},
    {"1*2", 0, 0.0f, 1, 3},
    {"5Q", 0, 0.0f, 1, 3},
    {"--5", 0, 0.0f, 1, 3},
    {"1.2.3", 0, 0.0f, 1, 5},
    {"1E-2-3", 0, 0.0f, 1, 6},  // the exponent already has its sign
    {"1E99", 0, 0.0f, 1, 5},    // beyond single precision
};

TEST(ReadNumberField, TableOfFields) {
  for (const Case& c : kCases) {
    const std::string text = c.text;
    int position = 1, status = -1;
    const float value = readNumberField(text, position, static_cast<int>(text.size()), c.impliedDecimals, -9.0f, status);
    EXPECT_EQ(status, c.status) << '"' << text << '"';
    EXPECT_FLOAT_EQ(value, c.expected) << '"' << text << '"';
    EXPECT_EQ(position, c.positionAfter) << '"' << text << '"';
  }
}

TEST(ReadNumberField, ReadsSuccessiveFieldsOfOneLine) {
  const std::string line = "  1.5, -2/4  S30 7";
  int position = 1, status = -1;
  const int length = static_cast<int>(line.size());
  EXPECT_EQ(readNumberField(line, position, length, 0, 0.0f, status), 1.5f);
  EXPECT_EQ(readNumberField(line, position, length, 0, 0.0f, status), -0.5f);
  EXPECT_EQ(readNumberField(line, position, length, 0, 0.0f, status), 0.5f);
  EXPECT_EQ(readNumberField(line, position, length, 0, 0.0f, status), 7.0f);
  EXPECT_EQ(status, 0);
  // Past the end of the text the characters read as blanks: the default.
  EXPECT_EQ(readNumberField(line, position, 5, 0, 3.0f, status), 3.0f);
  EXPECT_EQ(status, 0);
}

TEST(ReadNumberField, StopsAfterMaxChars) {
  int position = 1, status = -1;
  EXPECT_EQ(readNumberField("12345", position, 3, 0, 0.0f, status), 123.0f);
  EXPECT_EQ(position, 4);
  EXPECT_EQ(readNumber("12345", 2, status), 12.0f);
  EXPECT_EQ(readNumber("7/2", 80, status), 3.5f);
  EXPECT_EQ(status, 0);
}

}  // namespace
