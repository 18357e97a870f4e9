// The symmetry listing, line by line, and the polar axes it reports.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "cryst/space_group.hpp"
#include "cryst/symmetry_listing.hpp"
#include "interpret_capture.hpp"
#include "terminal/unit_table.hpp"

namespace {

std::vector<std::string> listingOf(const std::string& symbol) {
  SpaceGroupInfo info;
  int status = -1;
  std::vector<std::string> lines = interpretToFile(symbol, info, status);
  EXPECT_EQ(status, 0) << symbol;
  return lines;
}

TEST(SymmetryListing, WholeListings) {
  struct Case {
    const char* symbol;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"P 21/c",
       {"", " Space group P 21/c              ",
        " The lattice is centric   primitive monoclinic    Laue symmetry 2/m   ",
        "  Multiplicity of a general site is   4", "  The unique axis is b",
        "  The symmetry of the point 0,0,0 contains 1bar", "", " The equivalent positions are:", "",
        " ( 1)     X      Y      Z  ( 2)    -X  1/2+Y  1/2-Z ", " "}},
      // Triclinic: the single operator on its own line; the origin is free.
      {"P 1",
       {"", " Space group P 1                 ",
        " The lattice is acentric   primitive triclinic     Laue symmetry 1bar  ",
        "  Multiplicity of a general site is   1", "  The location of the origin is arbitrary in xyz", "",
        " The equivalent positions are:", "", " ( 1)     X      Y      Z ", " "}},
      {"R 3 R",
       {"", " Space group R 3 R               ",
        " The lattice is acentric   primitive trigonal      Laue symmetry 3bar  ",
        "  Multiplicity of a general site is   3", "  The location of the origin is arbitrary in 111", "",
        " The equivalent positions are:", "", " ( 1)     X      Y      Z  ( 2)     Z      X      Y  ( 3)     Y      Z      X ",
        " "}},
      {"P 63/m m c",
       {"", " Space group P 63/m m c          ",
        " The lattice is centric   primitive hexagonal     Laue symmetry 6/mmm ",
        "  Multiplicity of a general site is  24", "  The symmetry of the point 0,0,0 contains 1bar", "",
        " The equivalent positions are:", "",
        " ( 1)     X      Y      Z  ( 2)    X-Y     X  1/2+Z  ( 3)    -Y     X-Y     Z ",
        " ( 4)    -X     -Y  1/2+Z  ( 5)    Y-X    -X      Z  ( 6)     Y     Y-X 1/2+Z ",
        " ( 7)    Y-X     Y      Z  ( 8)    -X     Y-X 1/2+Z  ( 9)    -Y     -X      Z ",
        " (10)    X-Y    -Y  1/2+Z  (11)     X     X-Y     Z  (12)     Y      X  1/2+Z ", " "}},
      {"R 3 c",
       {"", " Space group R 3 c               ",
        " The lattice is acentric   R-centeredtrigonal      Laue symmetry 3barm1",
        "  Multiplicity of a general site is  18", "  The location of the origin is arbitrary in z  ", "",
        " The equivalent positions are:", "",
        " ( 1)     X      Y      Z  ( 2)    -Y     X-Y     Z  ( 3)    Y-X    -X      Z ",
        " ( 4)    Y-X     Y  1/2+Z  ( 5)    -Y     -X  1/2+Z  ( 6)     X     X-Y 1/2+Z ", " "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.symbol);
    EXPECT_EQ(listingOf(c.symbol), c.lines);
  }
}

TEST(SymmetryListing, ShowsCentringAndThreeQuarterTranslations) {
  std::vector<std::string> lines = listingOf("I 41/a m d");
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[2], " The lattice is centric   I-centeredtetragonal    Laue symmetry 4/mmm ");
  EXPECT_EQ(lines[3], "  Multiplicity of a general site is  32");
  EXPECT_EQ(lines[8], " ( 1)     X      Y      Z  ( 2) 1/4-Y  3/4+X  1/4+Z ");
  lines = listingOf("P 31 2 1");  // acentric with no polar axis: the positions start a line earlier
  EXPECT_EQ(lines[7], " ( 1)     X      Y      Z  ( 2)    -Y     X-Y 1/3+Z  ( 3)    Y-X    -X  2/3+Z ");
}

TEST(SymmetryListing, PolarAxes) {
  struct Case {
    const char* symbol;
    int polarAxes;
  };
  const Case cases[] = {
      {"P 1", 7}, {"P 1 1 m", 3}, {"P 1 m 1", 5}, {"P m 1 1", 6}, {"P 2 1 1", 1}, {"P 2", 2},
      {"P 1 1 2", 4}, {"P m m 2", 4}, {"P 4", 4}, {"P 61", 4}, {"R 3 R", 8}, {"R 3 m R", 8},
      {"R 3", 4}, {"P 21/c", 0}, {"P 2 2 2", 0}, {"P 2 3", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.symbol);
    SpaceGroupInfo info;
    ASSERT_EQ(interpretSpaceGroup(c.symbol, 0, info), 0);
    EXPECT_EQ(info.polarAxes, c.polarAxes);
  }
}

TEST(SymmetryListing, OperatorTextMarksImpossibleRowsAndFractions) {
  SymOp op;
  op.rotation[0][0] = -1;  // -X with 1/12: no text for a twelfth
  op.translation[0] = 1;
  op.rotation[1][0] = 1;  // X+Y cannot occur in a group
  op.rotation[1][1] = 1;
  op.translation[2] = 6;  // an all-zero row with 1/2
  EXPECT_EQ(operatorText(op, 3), " ( 3) ERR-X     ERR 1/2ERR");
}

}  // namespace
