// Opening an experiment: the name, the open and its checks, the listing choice.
#include "expfile/experiment_open.hpp"

#include <sys/stat.h>

#include <cstdio>

#include "exp_test_files.hpp"

namespace {

class ExperimentOpenTest : public ScratchDirTest {};

const RecordList kGoodFile = {{"     VERSION", "    6     Fri Dec 11 05:51:43 2026"},
                              {"      DESCR ", "Quartz at room temperature"},
                              {"ZZZZZZZZZZZZ", "  Last EXP file record"}};

OpenExperiment proposals() {
  OpenExperiment experiment;
  experiment.expUnit = 11;
  experiment.listUnit = 20;
  return experiment;
}

TEST_F(ExperimentOpenTest, NameFromTheCommandLine) {
  const struct {
    const char* argument;
    const char* name;
  } cases[] = {
      {"quartz.exp", "QUARTZ"},
      {"Quartz", "QUARTZ"},
      {"two words.exp", "TWO"},     // cut at the first blank
      {"a.expb", "A.EXPB"},         // only a trailing extension is dropped
      {"run.exp.exp", "RUN.EXP"},
  };
  for (const auto& c : cases) {
    std::string name, directory;
    int asked = -1;
    GetExperimentName("BONDAG", {c.argument, "ignored"}, name, directory, asked);
    EXPECT_EQ(name, c.name) << c.argument;
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(directory, std::filesystem::current_path().string());
  }
}

TEST_F(ExperimentOpenTest, NameAskedUntilAnswered) {
  writeBytes("answers", "\n   \nquartz.exp more\n");
  auto askName = [] {
    dup2(2, 1);
    if (!std::freopen("answers", "r", stdin)) std::exit(8);
    std::string name;
    std::string directory;
    int asked = 0;
    GetExperimentName("AVERYLONGPROGRAMNAMEINDEED", {}, name, directory, asked);
    std::fprintf(stderr, "[%s %d]\n", name.c_str(), asked);
    std::exit(0);
  };
  EXPECT_EXIT(askName(), ::testing::ExitedWithCode(0),
      "^( Enter the experiment name for AVERYLONGPROGRAMNAME >){3}\\[QUARTZ.EXP 1\\]\n$");
}

TEST_F(ExperimentOpenTest, ReadOnlyOpenWithListingAppended) {
  writeBytes("QUARTZ.EXP", recordBytes(kGoodFile));
  chmod("QUARTZ.EXP", 0444);
  for (int run = 1; run <= 2; ++run) {
    OpenExperiment experiment = proposals();
    STRTRN("BONDAG", "READ", "LIST", {"quartz.exp"}, experiment);
    EXPECT_EQ(experiment.name, "QUARTZ");
    EXPECT_EQ(experiment.fileName, "QUARTZ.EXP");
    EXPECT_EQ(experiment.asked, 0);
    EXPECT_EQ(experiment.expUnit, 11);
    EXPECT_EQ(experiment.listUnit, 20);
    EXPECT_EQ(experiment.termUnit, 6);
    std::string value;
    ASSERT_EQ(expStore().read(experiment.expUnit, "      DESCR ", value), 0);
    EXPECT_EQ(value.substr(0, 26), "Quartz at room temperature");
    EXPECT_EXIT(WRITEXP(experiment.expUnit, "      DESCR ", "changed"), ::testing::ExitedWithCode(2),
                "open read-only");
    unitTable().writeLine(experiment.listUnit, " run " + std::to_string(run));
    expStore().close(experiment.expUnit);
    unitTable().close(experiment.listUnit);
  }
  EXPECT_EQ(fileBytes("QUARTZ.LST"), " run 1\n run 2\n") << "created, then appended";
  EXPECT_EQ(fileBytes("QUARTZ.EXP"), recordBytes(kGoodFile));
}

TEST_F(ExperimentOpenTest, ListingGoesToTheTerminalWithoutLIST) {
  writeBytes("QUARTZ.EXP", recordBytes(kGoodFile));
  OpenExperiment experiment = proposals();
  STRTRN("RFLSUM", "READ", "    ", {"QUARTZ"}, experiment);
  EXPECT_EQ(experiment.listUnit, 6);
  EXPECT_FALSE(std::filesystem::exists("QUARTZ.LST"));
}

TEST_F(ExperimentOpenTest, AskedNameListsOnTheScreen) {
  writeBytes("QUARTZ.EXP", recordBytes(kGoodFile));
  writeBytes("answers", "quartz\n");
  EXPECT_EXIT(
      {
        dup2(2, 1);
        if (!std::freopen("answers", "r", stdin)) std::exit(8);
        OpenExperiment experiment = proposals();
        STRTRN("BONDAG", "READ", "LIST", {}, experiment);
        std::exit(experiment.listUnit == 6 && experiment.asked == 1 && experiment.name == "QUARTZ" ? 0 : 9);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(std::filesystem::exists("QUARTZ.LST"));
}

TEST_F(ExperimentOpenTest, OldVersionWarnsAndIsReadAsItIs) {
  RecordList records = kGoodFile;
  records[0].second = "    5";
  writeBytes("OLD.EXP", recordBytes(records));
  OpenExperiment experiment = proposals();
  ::testing::internal::CaptureStdout();
  STRTRN("BONDAG", "READ", "LIST", {"old"}, experiment);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            " **** WARNING *****   This is an old EXP file\n"
            "  It is version   5 and current files are version   6\n"
            " Use SETUPR to convert it.\n");
  EXPECT_EQ(fileBytes("OLD.EXP"), recordBytes(records));
}

TEST_F(ExperimentOpenTest, RunsThatStop) {
  RecordList later = kGoodFile;
  later[0].second = "    7";
  const RecordList incomplete(kGoodFile.begin(), kGoodFile.begin() + 2);
  const struct {
    const char* program;
    const char* mode;
    RecordList records;  // none: no file
    const char* expected;
  } cases[] = {
      {"BONDAG", "READ", {},
       "^ ERROR - File X.EXP does not exist - check your directory\n FORTRAN error number   2 on unit 11\n$"},
      {"BONDAG", "NOTNEEDED", {}, "^ ERROR - File X.EXP is in error or else not accessible\n"},
      {"BONDAG", "READ", incomplete,
       "^ \\*\\*\\* ERROR - Experiment file is incomplete \\*\\*\\*\nSTOP  Run terminated in STRTRN statement executed\n$"},
      {"BONDAG", "READ", later,
       "^ \\*\\*\\*\\*\\*\\*\a  This file is from a later version of TELK than this one.\n"
       " \a It cannot be processed with this version of TELK.\nSTOP Program terminated in OPNEXP statement executed\n$"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove("X.EXP");
    if (!c.records.empty()) writeBytes("X.EXP", recordBytes(c.records));
    EXPECT_EXIT(
        {
          dup2(2, 1);
          OpenExperiment experiment = proposals();
          STRTRN(c.program, c.mode, "LIST", {"x"}, experiment);
        },
        ::testing::ExitedWithCode(1), c.expected)
        << c.mode;
  }
  // The program that repairs experiments is told, and goes on.
  writeBytes("X.EXP", recordBytes(incomplete));
  OpenExperiment experiment = proposals();
  ::testing::internal::CaptureStdout();
  STRTRN("SETUPR", "READ", "", {"x"}, experiment);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), " *** ERROR - Experiment file is incomplete ***\n");
}

}  // namespace
