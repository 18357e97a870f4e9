// CHICVT's pieces: the name sequence, the fast field editing against the
// shared editing, and the CHI reader and FXYE records on small profiles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "chi_sequence.hpp"
#include "fast_fields.hpp"
#include "fxye_conversion.hpp"
#include "terminal/fixed_field.hpp"     // readRealField
#include "terminal/fortran_format.hpp"  // fmtE

namespace {

TEST(ChiSequence, NamesOfTheSequence) {
  struct Case {
    const char* first;
    const char* last;
    int firstNumber, lastNumber;
    int next;                // a later number of the sequence
    const char* nextName;    // its file name
  };
  const Case cases[] = {
      {"x_1.chi", "x_3.chi", 1, 3, 2, "x_2.chi"},
      {"scan_9.chi", "scan_12.chi", 9, 12, 10, "scan_10.chi"},      // a digit more
      {"scan_99.chi", "scan_101.chi", 99, 101, 100, "scan_100.chi"},
      {"scan_001.chi", "scan_120.chi", 1, 120, 2, "scan_002.chi"},  // padding kept
      {"scan_01.chi", "scan_120.chi", 1, 120, 100, "scan_100.chi"},
      {"my_run_7.chi", "my_run_8.chi", 7, 8, 8, "my_run_8.chi"},    // the last "_" counts
      {"data/run_1/a_5.chi", "data/run_1/a_6.chi", 5, 6, 6, "data/run_1/a_6.chi"},
      {"x_5.chi", "x_2.chi", 5, 2, 6, "x_6.chi"},
      {"x_1.chi", "x_1000.chi", 1, 0, 2, "x_2.chi"},                // four digits read as 0
      {"x_.chi", "x_.chi", 0, 0, 1, "x_1.chi"},
      {"x_0001.chi", "x_0003.chi", 0, 0, 1, "x_1.chi"},             // four digits set no width
      {"x_2.data.gz", "x_4.data.gz", 2, 4, 3, "x_3.data.gz"},       // the whole suffix follows
  };
  for (const Case& c : cases) {
    ChiSequence sequence;
    std::string message;
    ASSERT_EQ(parseFirstName(c.first, sequence, message), 0) << c.first;
    ASSERT_EQ(parseLastName(c.last, sequence, message), 0) << c.last;
    EXPECT_EQ(sequence.firstNumber, c.firstNumber) << c.first;
    EXPECT_EQ(sequence.lastNumber, c.lastNumber) << c.last;
    EXPECT_EQ(sequenceName(sequence, c.next), c.nextName) << c.first;
  }
}

TEST(ChiSequence, NamesThatAreNotASequence) {
  struct Case {
    const char* first;
    const char* last;  // null: the first name is already refused
    int lastStatus;
    const char* message;
  };
  const Case cases[] = {
      {"scan1", nullptr, 0, " ERROR - no '.' in the file name scan1"},
      {"scan1.chi", nullptr, 0, " ERROR - no '_' before the '.' in the file name scan1.chi"},
      {"a_b/scan.chi", nullptr, 0, " ERROR - no '_' before the '.' in the file name a_b/scan.chi"},
      {"scan_a1.chi", nullptr, 0, " ERROR - no data set number before the '.' in the file name scan_a1.chi"},
      {"x_1.chi", "y_3.chi", 1, " ERROR - first & last files not from sequence"},
      {"x_1.chi", "", 1, " ERROR - first & last files not from sequence"},
      {"x_1.chi", "x_3", 2, " ERROR - no '.' in the file name x_3"},
  };
  for (const Case& c : cases) {
    ChiSequence sequence;
    std::string message;
    if (!c.last) {
      EXPECT_NE(parseFirstName(c.first, sequence, message), 0) << c.first;
    } else {
      ASSERT_EQ(parseFirstName(c.first, sequence, message), 0) << c.first;
      EXPECT_EQ(parseLastName(c.last, sequence, message), c.lastStatus) << c.last;
    }
    EXPECT_EQ(message, c.message);
  }
}

TEST(ChiSequence, OutputNameEndsAtTheFirstDotOfTheFileName) {
  EXPECT_EQ(outputName("scan_1.chi"), "scan_1.TLK");
  EXPECT_EQ(outputName("x_2.data.gz   "), "x_2.TLK");
  EXPECT_EQ(outputName("../run.3/x_2.chi"), "../run.3/x_2.TLK");
}

float floatFromBits(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The fast writer must give exactly fmtE's text, rounding ties to even.
TEST(FastFields, E6MatchesTheSharedEditing) {
  std::vector<float> values = {0.0f, -0.0f, 1234.5f, -1234.5f, 123456.5f, 123457.5f, 0.5f, 1.0e-30f,
                               3.4e38f, 1.4e-45f, 999999.5f, 9999995.0f, 0.1f, -7.0e-8f};
  std::mt19937 random(12345);
  for (int i = 0; i < 200000; ++i) {
    const float value = floatFromBits(static_cast<std::uint32_t>(random()));
    if (std::isfinite(value)) values.push_back(value);
  }
  for (float value : values) {
    std::string fast;
    appendE6(fast, value, 15);
    ASSERT_EQ(fast, fmtE(value, 15, 6)) << value;
  }
  std::string infinite;
  appendE6(infinite, INFINITY, 15);
  EXPECT_EQ(infinite, fmtE(INFINITY, 15, 6));
}

// The fast reader must give exactly readRealField's value and status.
TEST(FastFields, RealReaderMatchesTheSharedReader) {
  const char* fields[] = {" 0.3000000E+01", "  -0.2039971E+02", "12.5", "  12", "1 2.5", "+2.5E+03", "4.5-1",
                          "1.0D2",          "-1.0e-2",          "",     "   ", ".",    "1.5e",     "nan",
                          "inf",            "1.5x",             "-.5",  "5.",  "1e5", "0x1p3",    "3.4e39"};
  for (const char* field : fields) {
    float fast = -1.0f, shared = -1.0f;
    const int fastStatus = readRealFieldFast(field, 7, fast);
    const int sharedStatus = readRealField(field, 7, shared);
    EXPECT_EQ(fastStatus, sharedStatus) << '"' << field << '"';
    if (sharedStatus == 0) {
      EXPECT_EQ(fast, shared) << '"' << field << '"';
    }
  }
  std::mt19937 random(54321);
  for (int i = 0; i < 20000; ++i) {
    const float value = floatFromBits(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(value)) continue;
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", static_cast<int>(random() % 9), static_cast<double>(value));
    float fast = 0.0f, shared = 0.0f;
    ASSERT_EQ(readRealFieldFast(text, 7, fast), readRealField(text, 7, shared)) << text;
    ASSERT_EQ(fast, shared) << text;
  }
}

// A CHI data line: 2-theta in columns 1-14, intensity in 15-29.
std::string point(const char* twoTheta, const char* intensity) {
  return fmtA(twoTheta, 14) + fmtA(intensity, 15) + "\n";
}

const std::string kHeader = "title\nh2\nh3\n";

TEST(ChiProfileReader, BadInputNamesTheLine) {
  struct Case {
    std::string content;
    const char* error;
  };
  const Case cases[] = {
      {kHeader, "end of file in the header, line 4"},
      {kHeader + "      x3\n", "bad point count in line 4, columns 7-11"},
      {kHeader + "      -2\n", "bad point count in line 4, columns 7-11"},
      {kHeader + "      3\n" + point("1.0", "5.0") + point("2.0", "6.0"),
       "end of file in line 7: 3 points expected, 2 found"},
      {kHeader + "      2\n" + point("1.0", "5.0") + point("2.0", "abc"), "bad real number in line 6"},
      {kHeader + "      2\n" + point("1.0", "5.0") + point("2.0.1", "6.0"), "bad real number in line 6"},
  };
  for (const Case& c : cases) {
    ChiProfile profile;
    std::string error;
    EXPECT_EQ(readChiProfile(c.content, profile, error), 1) << c.content;
    EXPECT_EQ(error, c.error);
  }
}

// Every record is 80 columns and CR LF; with fewer than two points there is no
// step to compute, and 0 is written instead of a division by zero.
TEST(FxyeRecords, ShortProfilesHaveAZeroStep) {
  struct Case {
    std::string content;
    const char* bankLine;
  };
  const Case cases[] = {
      {kHeader + "      0\n", "BANK 1    0    0 CONS 0.000000E+00 0.000000E+00 0 0  FXYE"},
      {kHeader + "      1\n" + point("5.0", "250.0"), "BANK 1    1    1 CONS 5.000000E+02 0.000000E+00 0 0  FXYE"},
      {kHeader + "      2\n" + point("5.0", "250.0") + point("5.5", "-4.0"),
       "BANK 1    2    2 CONS 5.000000E+02 5.000000E+01 0 0  FXYE"},
  };
  for (const Case& c : cases) {
    ChiProfile profile;
    std::string error, records;
    ASSERT_EQ(readChiProfile(c.content, profile, error), 0) << error;
    fxyeRecords(profile, records);
    const std::size_t recordCount = profile.twoTheta.size() + 2;
    ASSERT_EQ(records.size(), 82 * recordCount);
    for (std::size_t r = 0; r < recordCount; ++r) EXPECT_EQ(records.substr(82 * r + 80, 2), "\r\n");
    EXPECT_EQ(records.substr(82, 80), padRight(c.bankLine, 80));
    EXPECT_EQ(records.find("NaN"), std::string::npos);
  }
}

}  // namespace
