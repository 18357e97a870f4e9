// The answer reader: prompt display, answers, macro commands and item readers.
#include <gtest/gtest.h>

#include "terminal/fortran_format.hpp"
#include "terminal/term_input.hpp"
#include "terminal/unit_table.hpp"
#include "terminal_fixture.hpp"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

std::string askOnce(TermInput& input, std::string_view prompt, std::size_t length = 20) {
  std::string answer(length, ' ');
  input.ask(prompt, answer);
  return answer;
}

TEST_F(TerminalTest, PromptsSplitAtBarsStopAtBackquoteAndEndWithMarker) {
  const struct {
    const char* prompt;
    const char* shown;
  } cases[] = {
      {"one|two|three", " one\n two\n three >"},
      {"Name`and the rest", " Name >"},
      {" Enter a title for this experiment|", "  Enter a title for this experiment\n   >"},
  };
  for (const auto& c : cases) {
    TermInput input;
    typeAhead("x\n");
    CaptureStdout();
    askOnce(input, c.prompt);
    EXPECT_EQ(GetCapturedStdout(), c.shown) << c.prompt;
  }
}

TEST_F(TerminalTest, AnswersLoseCommentsAndTabsButTheRecordingKeepsComments) {
  TermInput input;
  typeAhead("@m\nrec.mac\nword ! a comment\na\tb\n@q\nend\n");
  CaptureStdout();
  EXPECT_EQ(askOnce(input, "Q"), padRight("word", 20));
  EXPECT_EQ(askOnce(input, "Q"), padRight("a b", 20));
  EXPECT_TRUE(input.recording());
  EXPECT_EQ(askOnce(input, "Q"), padRight("end", 20));
  GetCapturedStdout();
  EXPECT_FALSE(input.recording());
  EXPECT_EQ(readFile("rec.mac"), "word ! a comment\na\tb\n");
}

TEST(TermInputDeathTest, TerminalEndOfFileTwiceStopsOnIoError) {
  EXPECT_EXIT(
      {
        std::freopen("/dev/null", "r", stdin);
        TermInput input;
        std::string answer(10, ' ');
        input.ask("Q", answer);
      },
      ::testing::ExitedWithCode(1), "");
}

TEST_F(TerminalTest, RecordedRunReplaysToTheSameAnswers) {
  {
    TermInput input;
    typeAhead("@M\nrun.mac\nfirst ! why\n\nthird\n@Q\nlast\n");
    CaptureStdout();
    EXPECT_EQ(askOnce(input, "A"), padRight("first", 20));
    EXPECT_EQ(askOnce(input, "B"), padRight("", 20));
    EXPECT_EQ(askOnce(input, "C"), padRight("third", 20));
    EXPECT_EQ(askOnce(input, "D"), padRight("last", 20));
    GetCapturedStdout();
    unitTable().close(40);
  }
  EXPECT_EQ(readFile("run.mac"), "first ! why\n \nthird\n");
  TermInput replay;
  typeAhead("@R\nnosuch.mac\nrun.mac\nfrom terminal\n");
  CaptureStdout();
  EXPECT_EQ(askOnce(replay, "A"), padRight("first", 20));
  EXPECT_EQ(askOnce(replay, "B"), padRight("", 20));
  EXPECT_EQ(askOnce(replay, "C"), padRight("third", 20));
  EXPECT_EQ(askOnce(replay, "D"), padRight("from terminal", 20));
  const std::string shown = GetCapturedStdout();
  EXPECT_NE(shown.find(" File NOT found!!\a Enter \"QUIT\" to resume terminal input\n"), std::string::npos);
  EXPECT_NE(shown.find(" The commands will be read from run.mac"), std::string::npos);
  EXPECT_NE(shown.find(" first ! why\n"), std::string::npos);  // replayed answers are echoed
  EXPECT_NE(shown.find(" The macro file is empty, reading from the terminal is resumed.\n D >"), std::string::npos);
}

TEST_F(TerminalTest, MacroCommandMessagesAndHelp) {
  TermInput input;
  typeAhead("@Q\n@x\nanswer\n");
  CaptureStdout();
  EXPECT_EQ(askOnce(input, "Q"), padRight("answer", 20));
  const std::string shown = GetCapturedStdout();
  EXPECT_NE(shown.find(" You are NOT writing to a macro file!\a\n"), std::string::npos);
  EXPECT_NE(shown.find("\n " + std::string(80, '-') + "\n The commands for creating and reading a macro file are:\n"
                       "  @M - Create a macro file\n"),
            std::string::npos);
  EXPECT_NE(shown.find("  @R - Open and read a Macro file\n"), std::string::npos);
}

TEST_F(TerminalTest, ExistingMacroFileIsNeverOverwritten) {
  writeFile("keep.mac", "precious\n");
  TermInput input;
  typeAhead("@M\nkeep.mac\nanswer\n");
  CaptureStdout();
  askOnce(input, "Q");
  GetCapturedStdout();
  EXPECT_FALSE(input.recording());
  EXPECT_EQ(readFile("keep.mac"), "precious\n");
}

TEST_F(TerminalTest, NextItemWalksALineByMode) {
  TermInput input;
  typeAhead("a,b c\nd\n,\n\nabc/ z\n");
  CaptureStdout();
  std::string item(4, ' ');
  for (const char* expected : {"a", "b", "c", "d"}) {
    input.nextItem("Q", 1, item);
    EXPECT_EQ(item, padRight(expected, 4));
  }
  item = "dflt";
  input.nextItem("Q", 0, item);  // a lone comma keeps the default
  EXPECT_EQ(item, "dflt");
  input.nextItem("Q", 0, item);  // an empty line gives blanks
  EXPECT_EQ(item, "    ");
  input.nextItem("Q", 0, item);
  EXPECT_EQ(item, "abc ");
  input.nextItem("Q", 1, item);
  EXPECT_EQ(item, "/   ");
  input.nextItem("Q", 2, item);
  EXPECT_EQ(item, "z   ");
  input.nextItem("Q", 2, item);  // line used up: blanks, no new question
  EXPECT_EQ(item, "    ");
  GetCapturedStdout();
}

TEST_F(TerminalTest, NextIntegerKeepsDefaultsAfterCommaAndSlash) {
  TermInput input;
  typeAhead("3,,/\n7\nx\n\n12\n");
  CaptureStdout();
  int value = 0;
  input.nextInteger("Q", 1, value);
  EXPECT_EQ(value, 3);
  value = 11;
  input.nextInteger("Q", 1, value);  // empty field
  EXPECT_EQ(value, 11);
  value = 21;
  input.nextInteger("Q", 1, value);  // "/"
  EXPECT_EQ(value, 21);
  value = 31;
  input.nextInteger("Q", 2, value);  // still "/": defaults for the rest
  EXPECT_EQ(value, 31);
  input.nextInteger("Q", 0, value);
  EXPECT_EQ(value, 7);
  value = 5;
  input.nextInteger("Q", 0, value);  // "x" is refused, the empty line asks again
  EXPECT_EQ(value, 12);
  const std::string shown = GetCapturedStdout();
  EXPECT_NE(shown.find(" Error in the string: \a\n x" + std::string(254, ' ') + "\n"), std::string::npos);
}

TEST(ScanItem, FindsItemsAndTheirEndings) {
  const std::string text = padRight("  ab,cd  ", 12);
  int position = 1, length = -1;
  std::string item(12, ' ');
  ScanItem(text, position, item, length);
  EXPECT_EQ(length, 2);
  EXPECT_EQ(item.substr(0, 3), "ab,");
  EXPECT_EQ(position, 6);
  ScanItem(text, position, item, length);
  EXPECT_EQ(item.substr(0, 3), "cd ");
  ScanItem(text, position, item, length);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(position, 13);
}

TEST(Units, FindFreeUnitStartsAt11OutsideTheRange) {
  int unit = 5;
  FindFreeUnit(unit);
  EXPECT_EQ(unit, 11);
  ASSERT_EQ(unitTable().open(12, "/dev/null", "r"), 0);
  unit = 12;
  FindFreeUnit(unit);
  EXPECT_EQ(unit, 13);
  unitTable().close(12);
}

TEST(UpperCase, OnlyTheFirstNLetters) {
  std::string text = "ab-cd";
  UpperCase(text, 4);
  EXPECT_EQ(text, "AB-Cd");
}

}  // namespace
