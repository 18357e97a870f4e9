// Equivalent positions, site symmetry, rotation codes and separations.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cryst/site_symmetry.hpp"
#include "cryst/space_group.hpp"

namespace {

SpaceGroupInfo group(const char* symbol) {
  SpaceGroupInfo info;
  EXPECT_EQ(interpretSpaceGroup(symbol, 0, info), 0) << symbol;
  return info;
}

TEST(SiteSymmetry, NamesAndMultiplicities) {
  constexpr float kThird = 1.0f / 3.0f, kTwoThirds = 2.0f / 3.0f;
  struct Case {
    const char* symbol;
    Vec3 x;
    const char* name;
    int multiplicity;
  };
  const Case cases[] = {
      {"P 21/c", {0.1f, 0.2f, 0.3f}, "    1   ", 4},
      {"P 21/c", {0.0f, 0.0f, 0.0f}, "   -1   ", 2},
      {"P m -3 m", {0.0f, 0.0f, 0.0f}, "   M3M  ", 1},
      {"F m -3 m", {0.25f, 0.25f, 0.25f}, "  -43M  ", 8},
      {"P 63/m m c", {kThird, kTwoThirds, 0.25f}, "-6M2 100", 2},
      {"P 63/m m c", {0.13f, 0.27f, 0.31f}, "    1   ", 24},  // the hexagonal marker alone is "1"
      {"P 63/m m c", {0.0f, 0.0f, 0.0f}, "-3M(100)", 2},
      {"R -3 m R", {0.2f, 0.2f, 0.2f}, " 3M(111)", 2},
      {"I 41/a m d", {0.0f, 0.75f, 0.125f}, "-4M2 001", 4},
      {"P 4/m m m", {0.5f, 0.0f, 0.5f}, "  MMM   ", 2},
      // A point outside the cell has the site of its copy inside.
      {"P 4/m m m", {1.5f, -1.0f, 2.5f}, "  MMM   ", 2},
      {"P 21/c", {1.1f, -0.2f, 0.3f}, "    1   ", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.symbol) + " " + c.name);
    SiteSymmetry site = siteSymmetry(c.x, group(c.symbol));
    EXPECT_EQ(site.name, c.name);
    EXPECT_EQ(site.multiplicity, c.multiplicity);
  }
}

TEST(SiteSymmetry, ListsTheInvariantImages) {
  SiteSymmetry site = siteSymmetry({0.0f, 0.0f, 0.0f}, group("P 21/c"));
  EXPECT_EQ(site.invariantOps, (std::vector<int>{1, 3}));  // identity and the inversion
  EXPECT_EQ(site.tableIndex, 2);
  site = siteSymmetry({0.0f, 0.0f, 0.0f}, group("P m -3 m"));
  // 47 images coincide; the table holds 29 of their rotations.
  EXPECT_EQ(site.invariantOps.size(), 30u);
  EXPECT_EQ(site.tableIndex, 92);
}

TEST(SiteSymmetry, UnknownFlagWordIsReportedAndNamedError) {
  // Not a group: the identity, a two-fold along z and the mirror (y, x, z).
  SpaceGroupInfo info = group("P 1");
  info.operatorCount = 3;
  const int twoFoldZ[3][3] = {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}};
  const int mirror[3][3] = {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      info.operators[1].rotation[i][j] = twoFoldZ[i][j];
      info.operators[2].rotation[i][j] = mirror[i][j];
    }
  ::testing::internal::CaptureStdout();
  SiteSymmetry site = siteSymmetry({0.0f, 0.0f, 0.3f}, info);
  std::fflush(stdout);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), " *** ISYM =        130 is not in the table.  ***\n");
  EXPECT_EQ(site.name, "ERROR   ");
  EXPECT_EQ(site.tableIndex, SiteSymmetry::kNotFound);
  EXPECT_EQ(site.multiplicity, 1);
}

TEST(EquivalentPositions, CodesFollowCentringInversionAndOperator) {
  SpaceGroupInfo info = group("C 2/c");
  EquivalentPositionList all = equivalentPositions({0.1f, 0.2f, 0.3f}, info, false);
  EXPECT_EQ(all.codes, (std::vector<int>{1, 2, -1, -2, 101, 102, -101, -102}));
  // Images are stored unreduced: (-x+1/2, -y+1/2, -z) + (1/2, 1/2, 0) for code -101.
  EXPECT_FLOAT_EQ(all.positions[6][0], 0.4f);
  EXPECT_FLOAT_EQ(all.positions[6][1], 0.3f);
  EXPECT_FLOAT_EQ(all.positions[6][2], -0.3f);

  // On the two-fold axis (0, y, 1/4) the images of operator 2 coincide.
  EquivalentPositionList special = equivalentPositions({0.0f, 0.2f, 0.25f}, info, false);
  EXPECT_EQ(special.codes, (std::vector<int>{1, -1, 101, -101}));
  EquivalentPositionList kept = equivalentPositions({0.0f, 0.2f, 0.25f}, info, true);
  EXPECT_EQ(kept.count(), 8);
  EXPECT_EQ(kept.codes, (std::vector<int>{1, 0, -1, -2, 101, 102, -101, -102}));
}

TEST(EquivalentPositions, ImagesWithinTwoTenThousandthsCoincide) {
  SpaceGroupInfo info = group("P 2");  // (-x, y, -z): image of 1/2 + d at 1/2 - d
  struct Case {
    float offset;
    int multiplicity;
  };
  for (Case c : {Case{0.000075f, 1}, Case{0.000125f, 2}}) {
    SCOPED_TRACE(c.offset);
    Vec3 x{0.5f + c.offset, 0.3f, 0.5f};
    EXPECT_EQ(equivalentPositions(x, info, false).count(), c.multiplicity);
    EXPECT_EQ(siteSymmetry(x, info).multiplicity, c.multiplicity);
  }
  // Coordinates just below 1 count as 0.
  EXPECT_EQ(equivalentPositions({0.99995f, 0.3f, 0.0f}, info, false).count(), 1);
}

TEST(RotationCodes, BalancedTernaryCodePerOperator) {
  EXPECT_EQ(ternaryRotationCodes(group("P 21/c")), (std::vector<int>{6643, -6481}));
  EXPECT_EQ(ternaryRotationCodes(group("R 3 R")), (std::vector<int>{6643, 975, 2223}));  // x,y,z; z,x,y; y,z,x
  const int inversion[3][3] = {{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
  EXPECT_EQ(ternaryRotationCode(inversion), -6643);
}

TEST(Separation, DistanceAndDirectionToTheShiftedImage) {
  Mat3 cubic{};
  cubic[0][0] = cubic[1][1] = cubic[2][2] = 10.0f;
  Vec3 direction;
  float distance = separation({0.1f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, cubic, direction);
  EXPECT_FLOAT_EQ(distance, 9.0f);
  EXPECT_FLOAT_EQ(direction[0], -1.0f);
  EXPECT_FLOAT_EQ(direction[1], 0.0f);
  distance = separation({0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {0.0f, 0.0f, 0.0f}, cubic, direction);
  EXPECT_EQ(distance, 0.0f);
  EXPECT_EQ(direction[0], 0.0f);  // a zero difference stays zero
}

}  // namespace
