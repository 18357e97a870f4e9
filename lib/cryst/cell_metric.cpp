// Cell matrices, degree functions and the small vector algebra.
#include "cryst/cell_metric.hpp"

#include <algorithm>
#include <cmath>

#include "terminal/unit_table.hpp"  // unitTable, for the singular-matrix line

namespace {

// The library functions work in double on single-precision arguments and are
// rounded back, as everywhere in the suite's arithmetic.
float sqrtSingle(float x) { return static_cast<float>(std::sqrt(static_cast<double>(x))); }
float fmodSingle(float x, float y) { return static_cast<float>(std::fmod(static_cast<double>(x), static_cast<double>(y))); }

// The sine belonging to a cosine; a negative radicand from rounding is clamped.
float sineOfCosine(float cosine) { return sqrtSingle(std::max(0.0f, 1.0f - cosine * cosine)); }

float reduceComponent(float x) { return fmodSingle(fmodSingle(x, 1.0f) + 1.0f, 1.0f); }

}  // namespace

float cosDeg(float degrees) { return static_cast<float>(std::cos(static_cast<double>(degrees * kDegreesToRadians))); }
float sinDeg(float degrees) { return static_cast<float>(std::sin(static_cast<double>(degrees * kDegreesToRadians))); }
float tanDeg(float degrees) { return static_cast<float>(std::tan(static_cast<double>(degrees * kDegreesToRadians))); }

void cellToCartesian(const Vec3& lengths, const Vec3& angles, Mat3& toCartesian, Mat3& toFractional) {
  Vec3 cosine, sine;
  for (int i = 0; i < 3; ++i) {
    cosine[i] = angles[i] > 1.0f ? cosDeg(angles[i]) : angles[i];
    sine[i] = sineOfCosine(cosine[i]);
  }
  // Cosine of the reciprocal angle alpha*. With beta or gamma at 0 or 180
  // degrees it is undefined (0/0); 0 keeps A free of NaNs, and A is singular
  // then anyway because row 2 or row 3 lies along a.
  const float denominator = sine[1] * sine[2];
  const float cosAlphaStar = denominator != 0.0f ? (cosine[1] * cosine[2] - cosine[0]) / denominator : 0.0f;
  const float sinAlphaStar = sineOfCosine(cosAlphaStar);
  // Unit vectors along a, b and c: a along x, c in the x-z plane.
  const Mat3 unitEdges = {{{1.0f, 0.0f, 0.0f},
                           {cosine[2], sine[2] * sinAlphaStar, -sine[2] * cosAlphaStar},
                           {cosine[1], 0.0f, sine[1]}}};
  const Mat3 edgeLengths = {{{lengths[0], 0.0f, 0.0f}, {0.0f, lengths[1], 0.0f}, {0.0f, 0.0f, lengths[2]}}};
  matMul3(edgeLengths, unitEdges, toCartesian);
  invert3(toCartesian, toFractional);
}

float det3(const Mat3& m) {
  float determinant = 0.0f;
  for (int i = 0; i < 3; ++i) {
    const int i1 = (i + 1) % 3, i2 = (i + 2) % 3;
    determinant += m[0][i] * (m[1][i1] * m[2][i2] - m[2][i1] * m[1][i2]);
  }
  return determinant;
}

void invert3(const Mat3& m, Mat3& inverse) {
  float determinant = det3(m);
  if (determinant == 0.0f) unitTable().writeLine(UnitTable::kTerminalOut, " Matrix is SINGULAR.  Determinant set to 1.0E-30");
  if (std::fabs(determinant) < 1.0e-30f) determinant = determinant < 0.0f ? -1.0e-30f : 1.0e-30f;
  Mat3 adjugate;
  for (int i = 0; i < 3; ++i) {
    const int i1 = (i + 1) % 3, i2 = (i + 2) % 3;
    for (int j = 0; j < 3; ++j) {
      const int j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      adjugate[j][i] = (m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1]) / determinant;
    }
  }
  inverse = adjugate;
}

void matMul3(const Mat3& p, const Mat3& q, Mat3& r) {
  Mat3 product{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) product[i][j] += p[i][k] * q[k][j];
  r = product;
}

void vecAdd(const Vec3& u, const Vec3& v, Vec3& w) {
  for (int i = 0; i < 3; ++i) w[i] = u[i] + v[i];
}

void vecSub(const Vec3& u, const Vec3& v, Vec3& w) {
  for (int i = 0; i < 3; ++i) w[i] = u[i] - v[i];
}

void vecScale(const Vec3& u, float s, Vec3& w) {
  for (int i = 0; i < 3; ++i) w[i] = s * u[i];
}

void rowTimesMatrix(const Vec3& v, const Mat3& m, Vec3& w) {
  Vec3 product{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) product[i] += v[j] * m[j][i];
  w = product;
}

void normalise(Vec3& v, float& length) {
  length = sqrtSingle(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length > 0.0f)
    for (float& component : v) component /= length;
}

void reduceToCell(Vec3& x) {
  for (float& component : x) component = reduceComponent(component);
}

void reduceToCellSnap(const Vec3& x, Vec3& y) {
  for (int i = 0; i < 3; ++i) {
    y[i] = reduceComponent(x[i]);
    if (y[i] > 0.9999f) y[i] = 0.0f;
  }
}
