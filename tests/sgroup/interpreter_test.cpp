// The space-group interpreter: classification, operators, error codes and the
// reports it writes on its message unit.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cryst/space_group.hpp"
#include "interpret_capture.hpp"
#include "terminal/unit_table.hpp"

namespace {

// An operator as "(-x,y+6,-z+6)": rotation images with translations in twelfths.
std::string opText(const SymOp& op) {
  std::string text = "(";
  for (int i = 0; i < 3; ++i) {
    std::string row;
    for (int j = 0; j < 3; ++j) {
      if (op.rotation[i][j] == 0) continue;
      if (op.rotation[i][j] < 0) row += '-';
      else if (!row.empty()) row += '+';
      row += "xyz"[j];
    }
    if (op.translation[i] != 0) row += "+" + std::to_string(op.translation[i]);
    text += row + (i < 2 ? "," : ")");
  }
  return text;
}

std::vector<std::string> operators(const SpaceGroupInfo& info) {
  std::vector<std::string> list;
  for (int k = 0; k < info.operatorCount; ++k) list.push_back(opText(info.operators[k]));
  return list;
}


TEST(Interpreter, ClassifiesLatticeCentringLaueClassAndUniqueAxis) {
  struct Case {
    const char* symbol;
    int lattice, centringCount, laueClass, uniqueAxis, centric, operatorCount;
  };
  const Case cases[] = {
      {"P 21/c", 1, 1, 2, 2, 1, 2},
      {"P21/c", 1, 1, 2, 2, 1, 2},  // letters end a field by themselves
      {"p 21/c", 1, 1, 2, 2, 1, 2},
      {"P 1 1 21/b", 1, 1, 2, 3, 1, 2},
      {"P 21 1 1", 1, 1, 2, 1, 0, 2},
      {"P 1", 1, 1, 1, 0, 0, 1},
      {"P -1", 1, 1, 1, 0, 1, 1},
      {"Pnma", 1, 1, 3, 0, 1, 4},
      {"R -3 c", 7, 3, 9, -1, 1, 6},
      {"R -3 c H", 7, 3, 9, -1, 1, 6},  // hexagonal axes said explicitly
      {"R 3", 7, 3, 8, -1, 0, 3},
      {"R -3 c R", 1, 1, 7, 0, 1, 6},
      {"r 3 r", 1, 1, 6, 0, 0, 3},
      {"F d -3 m", 6, 4, 14, 0, 1, 24},
      {"I a -3 d", 5, 2, 14, 0, 1, 24},
      {"P 63/m m c", 1, 1, 12, 0, 1, 12},
      {"P 2 2 2 2", 1, 1, 3, 0, 0, 4},  // a fifth field is never read
      {"C 4 2 2", 4, 2, 5, 0, 0, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.symbol);
    SpaceGroupInfo info;
    ASSERT_EQ(interpretSpaceGroup(c.symbol, 0, info), 0);
    EXPECT_EQ(info.lattice, c.lattice);
    EXPECT_EQ(info.centringCount, c.centringCount);
    EXPECT_EQ(info.laueClass, c.laueClass);
    EXPECT_EQ(info.uniqueAxis, c.uniqueAxis);
    EXPECT_EQ(info.centric, c.centric);
    EXPECT_EQ(info.operatorCount, c.operatorCount);
  }
}

TEST(Interpreter, GeneratesTheOperatorsInOrder) {
  struct Case {
    const char* symbol;
    std::vector<std::string> operators;
  };
  const Case cases[] = {
      {"P 21/c", {"(x,y,z)", "(-x,y+6,-z+6)"}},
      {"P 1 1 21/b", {"(x,y,z)", "(-x,-y+6,z+6)"}},
      {"C 2/c", {"(x,y,z)", "(-x,y,-z+6)"}},
      {"P n m a", {"(x,y,z)", "(-x+6,y+6,z+6)", "(x,-y+6,z)", "(-x+6,-y,z+6)"}},
      {"P 21 21 21", {"(x,y,z)", "(x+6,-y+6,-z)", "(-x,y+6,-z+6)", "(-x+6,-y,z+6)"}},
      {"P 4/n", {"(x,y,z)", "(-y+6,x,z)", "(-x+6,-y+6,z)", "(y,-x+6,z)"}},
      {"R -3 c",
       {"(x,y,z)", "(-y,x-y,z)", "(-x+y,-x,z)", "(-x+y,y,z+6)", "(-y,-x,z+6)", "(x,x-y,z+6)"}},
      {"R -3 c R", {"(x,y,z)", "(z,x,y)", "(y,z,x)", "(y+6,x+6,z+6)", "(z+6,y+6,x+6)", "(x+6,z+6,y+6)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.symbol);
    SpaceGroupInfo info;
    ASSERT_EQ(interpretSpaceGroup(c.symbol, 0, info), 0);
    EXPECT_EQ(operators(info), c.operators);
  }

  SpaceGroupInfo info;
  ASSERT_EQ(interpretSpaceGroup("P 43 21 2", 0, info), 0);
  EXPECT_EQ(info.operatorCount, 8);
  EXPECT_EQ(opText(info.operators[1]), "(-y+6,x+6,z+9)");
  ASSERT_EQ(interpretSpaceGroup("F d -3 m", 0, info), 0);
  EXPECT_EQ(opText(info.operators[3]), "(x+3,y+3,-z)");
  ASSERT_EQ(interpretSpaceGroup("I a -3 d", 0, info), 0);
  EXPECT_EQ(opText(info.operators[3]), "(x+6,y,-z+6)");
  EXPECT_EQ(opText(info.operators[12]), "(y+3,x+3,z+3)");
}

TEST(Interpreter, CentricGroupWithoutItsBarIsFoundCentric) {
  // The d-glide and the mirror generate the inversion.
  SpaceGroupInfo withBar, withoutBar;
  ASSERT_EQ(interpretSpaceGroup("F d -3 m", 0, withBar), 0);
  ASSERT_EQ(interpretSpaceGroup("F d 3 m", 0, withoutBar), 0);
  EXPECT_EQ(withoutBar.centric, 1);
  EXPECT_EQ(operators(withoutBar), operators(withBar));
}

TEST(Interpreter, DeliversCodesAndClassesOfEachOperator) {
  SpaceGroupInfo info;
  ASSERT_EQ(interpretSpaceGroup("P 21/c", 0, info), 0);
  const SymOp& identity = info.operators[0];
  EXPECT_EQ(identity.rotationCode, 193);
  EXPECT_EQ(identity.translationCode, 0);
  EXPECT_EQ(identity.operatorClass, 0);
  const SymOp& screw = info.operators[1];  // (-x, y+1/2, -z+1/2)
  EXPECT_EQ(screw.rotationCode, -139);
  EXPECT_EQ(screw.translationCode, 12 * 6 + 6);
  EXPECT_EQ(screw.operatorClass, 5);  // two-fold along y

  ASSERT_EQ(interpretSpaceGroup("P 63/m m c", 0, info), 0);
  for (int k = 0; k < info.operatorCount; ++k) EXPECT_NE(info.operators[k].operatorClass, -1) << k;
  EXPECT_EQ(info.operators[1].translationCode, 6);  // (x-y, x, z+1/2)
}

TEST(Interpreter, ReportsEveryErrorWithItsCode) {
  struct Case {
    const char* symbol;
    int error;
  };
  const Case cases[] = {
      {"P", kFewerThanTwoFields},
      {"M 2", kIllegalLattice},
      {"R 2", kRhombohedralWithoutThreeAxis},
      {"P -m", kMinusWithoutDigit},
      {"P .", kNotAnOperator},
      {"P a 2 2", kAGlideNormalToA},
      {"P 2/b", kBGlideNormalToB},
      {"P 2 2 c", kCGlideNormalToC},
      {"P d", kDGlideInPrimitive},
      {"P 2 4 2", kFourAxisOutOfPlace},
      {"P 2 6 2", kSixAxisOutOfPlace},
      {"P 3 3", kTooManyProducts},
      {"P 2m", kLetterInRotation},
      {"P 21/", kNoMirrorAfterSlash},
      {"P 4/n 21/c 2", kTranslationConflict},
      {"P -4 2 21", kTranslationConflict},
      {"P -2", kTwoBar},
      {"P 2/m/m", kThreeFieldsNotCubic},
      {"P 2 -2", kThreeFieldsNotCubic},
      {"P -4 3 d", kExpectedIBar43d},
      {"A 4 m m", kCentredTetragonalAB},
      {"P 6 2 3", kThreeAxisOutOfPlace},
      {"P 2 x", kIllegalCharacter},
      {"P 2 e", kIllegalCharacter},  // only the symbol's letters fold from lower case
      // Characters with no generator rule are rejected, not stored as a stale matrix.
      {"P 5", kNoOperatorRule},
      {"P -5", kNoOperatorRule},
      {"P 2 2 /m", kNoOperatorRule},
      {"P 2 2 H", kNoOperatorRule},
      {"P 2/-1", kNoOperatorRule},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.symbol);
    SpaceGroupInfo info;
    EXPECT_EQ(interpretSpaceGroup(c.symbol, 0, info), c.error);
    EXPECT_EQ(info.uniqueAxis, SpaceGroupInfo::kFailed);
  }
}

TEST(Interpreter, WritesTheTwoLineErrorReport) {
  SpaceGroupInfo info;
  int status = 0;
  std::vector<std::string> lines = interpretToFile("P 6 2 3", info, status);
  EXPECT_EQ(status, kThreeAxisOutOfPlace);
  EXPECT_EQ(lines, (std::vector<std::string>{" ****** Error processing symbol P 6 2 3             ",
                                             " Either a 5-axis anywhere or a 3-axis in field   "}));
  lines = interpretToFile("P 2 x", info, status);
  EXPECT_EQ(lines[1], " Illegal character in the space group symbol     ");
}

TEST(Interpreter, TranslationConflictIsReportedAfterTheListing) {
  SpaceGroupInfo info;
  int status = 0;
  std::vector<std::string> lines = interpretToFile("P -4 2 21", info, status);
  EXPECT_EQ(status, kTranslationConflict);
  EXPECT_EQ(info.uniqueAxis, SpaceGroupInfo::kFailed);
  const std::vector<std::string> expected = {
      " Operator  4 generates Matrix  9 which has a translation conflict with matrix  8",
      "  Matrix  9 is   0  1  0   1  0  0   0  0 -1 0.50 0.00 0.00   864.0",
      "  Matrix  8 is   0 -1  0  -1  0  0   0  0  1 0.00 0.00 0.00     0.0",
      "",
      " Space group P -4 2 21           ",
  };
  ASSERT_GE(lines.size(), expected.size() + 2);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
  EXPECT_EQ(lines[lines.size() - 3], " ");  // the listing's last line
  EXPECT_EQ(lines[lines.size() - 2], " ****** Error processing symbol P -4 2 21           ");
  EXPECT_EQ(lines[lines.size() - 1], " A translation conflict between operators        ");
}

TEST(Interpreter, MessageUnitZeroWritesNothing) {
  // Nothing reaches standard output either: a unit of 0 or less is silent.
  ::testing::internal::CaptureStdout();
  SpaceGroupInfo info;
  EXPECT_EQ(interpretSpaceGroup("P 21/c", 0, info), 0);
  EXPECT_EQ(interpretSpaceGroup("P 4/n 21/c 2", -1, info), kTranslationConflict);
  EXPECT_EQ(interpretSpaceGroup("M 2", 0, info), kIllegalLattice);
  std::fflush(stdout);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(Interpreter, StartsEveryInterpretationAfresh) {
  SpaceGroupInfo info;
  ASSERT_EQ(interpretSpaceGroup("F d -3 m", 0, info), 0);
  ASSERT_EQ(interpretSpaceGroup("P 1", 0, info), 0);
  EXPECT_EQ(info.centric, 0);
  EXPECT_EQ(info.operatorCount, 1);
  EXPECT_EQ(info.centringCount, 1);
  EXPECT_EQ(info.symbol, "P 1                 ");
}

TEST(Interpreter, SymbolFillingAllTwentyColumnsKeepsItsLastField) {
  // Twenty characters with the last field still open when the symbol ends.
  SpaceGroupInfo full, shortForm;
  ASSERT_EQ(interpretSpaceGroup("P    21    21     21", 0, full), 0);
  ASSERT_EQ(interpretSpaceGroup("P 21 21 21", 0, shortForm), 0);
  EXPECT_EQ(operators(full), operators(shortForm));
}

}  // namespace
