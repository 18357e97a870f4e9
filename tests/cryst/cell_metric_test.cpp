// Cell matrices, the singular-matrix path and the vector helpers.
#include "cryst/cell_metric.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

void expectMatrixNear(const Mat3& actual, const Mat3& expected, float tolerance) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(actual[i][j], expected[i][j], tolerance) << "element " << i << "," << j;
}

float angleBetweenDegrees(const Vec3& u, const Vec3& v) {
  const double dot = u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
  const double lengths = std::sqrt((u[0] * u[0] + u[1] * u[1] + u[2] * u[2]) * (v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
  return static_cast<float>(std::acos(dot / lengths) * 180.0 / M_PI);
}

TEST(DegreeFunctions, UseTheSinglePrecisionRadianFactor) {
  EXPECT_EQ(sinDeg(30.0f), 0.5f);
  EXPECT_EQ(tanDeg(45.0f), 1.0f);
  // 60 * 0.017453292 rounds below pi/3, so the cosine falls just short of 0.5.
  EXPECT_EQ(cosDeg(60.0f), 0.49999997f);
}

TEST(CellToCartesian, RightAnglesGiveDiagonalMatrices) {
  Mat3 toCartesian, toFractional;
  cellToCartesian({5.0f, 6.0f, 8.0f}, {90.0f, 90.0f, 90.0f}, toCartesian, toFractional);
  expectMatrixNear(toCartesian, {{{5, 0, 0}, {0, 6, 0}, {0, 0, 8}}}, 2e-6f);
  expectMatrixNear(toFractional, {{{0.2f, 0, 0}, {0, 1.0f / 6, 0}, {0, 0, 0.125f}}}, 1e-7f);
}

TEST(CellToCartesian, HexagonalCellFromDegreesOrCosines) {
  const Mat3 expected = {{{4, 0, 0}, {-2, 4 * 0.8660254f, 0}, {0, 0, 7}}};
  for (const Vec3& angles : {Vec3{90.0f, 90.0f, 120.0f}, Vec3{0.0f, 0.0f, -0.5f}}) {
    Mat3 toCartesian, toFractional;
    cellToCartesian({4.0f, 4.0f, 7.0f}, angles, toCartesian, toFractional);
    expectMatrixNear(toCartesian, expected, 2e-6f);
    EXPECT_NEAR(angleBetweenDegrees(toCartesian[0], toCartesian[1]), 120.0f, 1e-4f);
    Mat3 identity;
    matMul3(toCartesian, toFractional, identity);
    expectMatrixNear(identity, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1e-6f);
  }
}

TEST(CellToCartesian, TriclinicCellKeepsItsLengthsAndAngles) {
  Mat3 toCartesian, toFractional;
  cellToCartesian({5.1f, 6.2f, 7.3f}, {81.0f, 97.5f, 104.0f}, toCartesian, toFractional);
  for (int i = 0; i < 3; ++i) {
    Vec3 edge = toCartesian[i];
    float length;
    normalise(edge, length);
    EXPECT_NEAR(length, (Vec3{5.1f, 6.2f, 7.3f}[i]), 1e-5f);
  }
  EXPECT_NEAR(angleBetweenDegrees(toCartesian[1], toCartesian[2]), 81.0f, 1e-3f);
  EXPECT_NEAR(angleBetweenDegrees(toCartesian[0], toCartesian[2]), 97.5f, 1e-3f);
  EXPECT_NEAR(angleBetweenDegrees(toCartesian[0], toCartesian[1]), 104.0f, 1e-3f);
  EXPECT_EQ(toCartesian[2][1], 0.0f);  // c lies in the x-z plane
}

// An angle of 1.0 is read as the cosine 1 (0 degrees): the cell is flat.
// Degenerate beta or gamma must not fill the matrices with NaNs either.
TEST(CellToCartesian, DegenerateCellsReportASingularMatrixAndGoOn) {
  for (const Vec3& angles : {Vec3{1.0f, 90.0f, 90.0f}, Vec3{90.0f, 90.0f, 1.0f}, Vec3{90.0f, 1.0f, 90.0f}}) {
    Mat3 toCartesian, toFractional;
    testing::internal::CaptureStdout();
    cellToCartesian({3.0f, 4.0f, 5.0f}, angles, toCartesian, toFractional);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " Matrix is SINGULAR.  Determinant set to 1.0E-30\n");
    for (const Vec3& row : toFractional)
      for (float element : row) EXPECT_FALSE(std::isnan(element));
  }
}

TEST(Invert3, TinyDeterminantsAreReplacedKeepingTheirSign) {
  for (float scale : {1.0f, -1.0f}) {  // determinant +1.0E-35, then -1.0E-35
    const Mat3 m = {{{scale, 0, 0}, {0, 1.0e-20f, 0}, {0, 0, 1.0e-15f}}};
    EXPECT_FLOAT_EQ(det3(m), scale * 1.0e-35f);
    Mat3 inverse;
    testing::internal::CaptureStdout();
    invert3(m, inverse);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // no message unless exactly zero
    // N(1,1) = (1e-20 * 1e-15) / d: the substitute carries d's sign.
    EXPECT_FLOAT_EQ(inverse[0][0], scale * 1.0e-5f);
  }
}

TEST(Invert3, InvertsInPlace) {
  Mat3 m = {{{2, 1, 0}, {0, 3, 1}, {1, 0, 4}}};
  EXPECT_FLOAT_EQ(det3(m), 25.0f);
  const Mat3 original = m;
  invert3(m, m);
  Mat3 identity;
  matMul3(original, m, identity);
  expectMatrixNear(identity, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1e-6f);
}

TEST(MatMul3, ResultMayAliasEitherFactor) {
  const Mat3 p = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}};
  const Mat3 q = {{{0, 1, 0}, {1, 0, 0}, {2, 0, 1}}};
  const Mat3 product = {{{8, 1, 3}, {17, 4, 6}, {28, 7, 10}}};
  Mat3 left = p, right = q;
  matMul3(left, q, left);
  matMul3(p, right, right);
  EXPECT_EQ(left, product);
  EXPECT_EQ(right, product);
}

TEST(VectorHelpers, RowVectorTimesMatrixSumsOverRows) {
  const Mat3 m = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  Vec3 w;
  rowTimesMatrix({1, 0, 2}, m, w);
  EXPECT_EQ(w, (Vec3{15, 18, 21}));
  Vec3 sum, difference, scaled{1, -2, 3};
  vecAdd({1, 2, 3}, {0.5f, 0.5f, -3}, sum);
  vecSub({1, 2, 3}, {0.5f, 0.5f, -3}, difference);
  vecScale(scaled, -2.0f, scaled);
  EXPECT_EQ(sum, (Vec3{1.5f, 2.5f, 0}));
  EXPECT_EQ(difference, (Vec3{0.5f, 1.5f, 6}));
  EXPECT_EQ(scaled, (Vec3{-2, 4, -6}));
}

TEST(VectorHelpers, NormaliseLeavesTheZeroVectorAlone) {
  Vec3 v{3, 0, 4};
  float length = -1;
  normalise(v, length);
  EXPECT_EQ(length, 5.0f);
  EXPECT_EQ(v, (Vec3{0.6f, 0, 0.8f}));
  Vec3 zero{0, 0, 0};
  normalise(zero, length);
  EXPECT_EQ(length, 0.0f);
  EXPECT_EQ(zero, (Vec3{0, 0, 0}));
}

TEST(VectorHelpers, ReduceToCell) {
  Vec3 x{-0.25f, 1.0f, 2.3f};
  reduceToCell(x);
  EXPECT_FLOAT_EQ(x[0], 0.75f);
  EXPECT_EQ(x[1], 0.0f);
  EXPECT_NEAR(x[2], 0.3f, 1e-6f);
  Vec3 y;
  reduceToCellSnap({0.99995f, -1.00001f, -0.5f}, y);
  // -1.00001 reduces to 0.99999..., which is snapped as well.
  EXPECT_EQ(y, (Vec3{0.0f, 0.0f, 0.5f}));
}

}  // namespace
