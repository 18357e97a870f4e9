// The listing: page length, banner box geometry, page breaks and headers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "terminal/listing.hpp"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

std::vector<std::string> bannerLines(const std::string& description) {
  Listing listing;
  CaptureStdout();
  listing.banner(6, "PKSHAR", description);
  std::istringstream shown(GetCapturedStdout());
  std::vector<std::string> lines;
  for (std::string line; std::getline(shown, line);) lines.push_back(line);
  return lines;
}

TEST(Listing, PageLengthComesFromTheFirstTwoCharactersOfLENPAGE) {
  const struct {
    const char* value;  // nullptr: unset
    int pageLength;
  } cases[] = {{nullptr, 60}, {"66", 66}, {"100", 10}, {"x9", 60}, {"0", 60}};
  for (const auto& c : cases) {
    if (c.value) setenv("LENPAGE", c.value, 1);
    else unsetenv("LENPAGE");
    Listing listing;
    CaptureStdout();
    listing.banner(6, "T", "d");
    GetCapturedStdout();
    EXPECT_EQ(listing.pageLength(), c.pageLength) << (c.value ? c.value : "unset");
  }
  unsetenv("LENPAGE");
}

TEST(Listing, BannerBoxFollowsTheLongestDescriptionLine) {
  std::vector<std::string> lines = bannerLines(std::string(44, 'x'));
  ASSERT_GE(lines.size(), 15u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], std::string(16, ' ') + "|" + std::string(46, '-') + "|");
  EXPECT_EQ(lines[2], std::string(16, ' ') + "|" + std::string(9, ' ') + "Program PKSHAR Version MacOSX" +
                          std::string(8, ' ') + "|");
  EXPECT_EQ(lines[3], std::string(16, ' ') + "| " + std::string(44, 'x') + " |");
  EXPECT_EQ(lines[4].substr(0, 35), std::string(16, ' ') + "|   Distributed on ");
  EXPECT_EQ(lines[4].size(), 16u + 48u);
  EXPECT_EQ(lines[7], std::string(8, ' ') + "|" + std::string(63, '-') + "|");
  EXPECT_EQ(lines[11], std::string(8, ' ') + "|" + std::string(63, ' ') + "|");
  EXPECT_EQ(lines[14], "");
  for (int i = 8; i <= 13; ++i) EXPECT_EQ(lines[i].size(), 73u);

  lines = bannerLines(std::string(80, 'y') + "|short");
  EXPECT_EQ(lines[1], " |" + std::string(77, '-') + "|");
  EXPECT_EQ(lines[3], " | " + std::string(76, 'y') + "|");  // cut to 76 columns
}

TEST(Listing, ReserveBreaksThePageWhenTheLinesWouldNotFit) {
  Listing listing;
  listing.setTitle("An experiment");
  listing.lineCount(6) = 59;
  CaptureStdout();
  EXPECT_EQ(listing.reserve(6, 2), 1);
  const std::string header = GetCapturedStdout();
  EXPECT_EQ(listing.lineCount(6), 4);
  EXPECT_EQ(listing.reserve(6, 1), 0);
  ASSERT_EQ(header.size(), 123u);  // 121 columns, then the empty line
  EXPECT_EQ(header.substr(0, 14), "1An experiment");
  EXPECT_EQ(header.substr(67, 25), std::string(10, ' ') + "Version " + std::string(7, ' '));
  EXPECT_EQ(header.substr(112, 9), " Page   1");
}

TEST(Listing, BuildDateIsTheExecutablesTimeStampOrBlank) {
  setProgramInvocation("/nonexistent/program");
  EXPECT_EQ(BuildDate(), std::string(24, ' '));
  setProgramInvocation("sh");  // a bare name found through PATH
  const std::string stamp = BuildDate();
  ASSERT_EQ(stamp.size(), 24u);
  EXPECT_NE(stamp[0], ' ');
  EXPECT_EQ(stamp.substr(19, 1), " ");
  EXPECT_EQ(CurrentDateTime().size(), 20u);
}

}  // namespace
