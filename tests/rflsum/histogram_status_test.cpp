// Description and status lines of one histogram, by type code.
#include <gtest/gtest.h>

#include "rflsum/histogram_status.hpp"
#include "test_files.hpp"

namespace {

using rflsum_test::Records;
using rflsum_test::TestExperiment;

const std::string kTitle = "Powder pattern of the test phase";
const std::string kTitleLine = " Title: " + kTitle + std::string(60 - kTitle.size(), ' ');

TEST(HistogramStatus, LinesByTypeAndStatusLetter) {
  TestExperiment experiment(Records{
      {"HST  1  HNAM", "  " + kTitle},
      {"HST  1 BANK ", "    3"},
      {"HST  1BNKPAR", "   12.5000  145.2500"},
      {"HST  1 ICONS", "   1.54056   1.54439"},
  });
  struct Case {
    const char* type;
    std::vector<std::string> lines;
  } cases[] = {
      {"PXC ", {" Histogram no.   1 Bank no.  3 Lambda1,lambda2 =  1.54056 1.54439", kTitleLine,
                " **** Histogram will be used in least-squares"}},
      {"PNTR", {" Histogram no.   1 Bank no.  3 Two-theta =   145.25", kTitleLine,
                " Histogram is not ready to be used in least-squares",
                " Histogram needs to be processed by DIFPREP"}},
      // "PXE" takes its two-theta from " ICONS".
      {"PXE*", {" Histogram no.   1 Bank no.  3 Two-theta =     1.54", kTitleLine,
                " **** Histogram will not be used in least-squares"}},
      {"PNCE", {" Histogram no.   1 Bank no.  3 Lambda =  1.54056", kTitleLine,
                " Histogram is not ready to be used in least-squares",
                " Minimum d-spacing must be set before processing by DIFPREP"}},
      {"PXCD", {" Histogram no.   1 Bank no.  3 Lambda1,lambda2 =  1.54056 1.54439", kTitleLine,
                " Histogram is not ready to be used in least-squares"}},
      {"SNCN", {" Histogram no.   1", kTitleLine,
                " New SCD histogram which has not been processed with either SPOTFN or BOXTALLYR"}},
      {"SXCG", {" Histogram no.   1", kTitleLine,
                " Histogram peak positions determined by SPOTFN, but will NOT be used"}},
      {"SXCD", {" Histogram no.   1", kTitleLine}},  // no line for other letters
      {"QXCR", {" Histogram no.   1", kTitleLine}},  // neither powder nor single crystal
  };
  for (const Case& c : cases) EXPECT_EQ(histogramStatusLines(experiment.unit(), 1, c.type), c.lines) << c.type;
}

TEST(HistogramStatus, MissingRecordsShowBlanksAndZeros) {
  TestExperiment experiment;
  const std::vector<std::string> expected = {" Histogram no.  12 Bank no.  0 Lambda =  0.00000",
                                             " Title: " + std::string(60, ' '),
                                             " **** Histogram will be used in least-squares"};
  EXPECT_EQ(histogramStatusLines(experiment.unit(), 12, "PNC "), expected);
}

}  // namespace
