// A phase's cell as matrices: degree functions, the fractional-to-Cartesian
// matrix and its inverse, and the small 3-vector and 3x3 algebra that every
// geometric calculation of the suite stands on. All single precision.
#pragma once

#include <array>

// Three reals: a row vector (fractional or Cartesian coordinates).
using Vec3 = std::array<float, 3>;
// A 3x3 matrix addressed m[row][column], rows and columns counted from 0.
using Mat3 = std::array<Vec3, 3>;

// One phase's cell. The phase reader fills it; consumers see cosines only.
struct CellMetric {
  Vec3 lengths{};       // a, b, c (angstrom)
  Vec3 angleCosines{};  // cos alpha, cos beta, cos gamma
  Vec3 lengthSigmas{};  // s.u. of a, b, c; 0 when none is held
  Vec3 cosineSigmas{};  // s.u. of the cosines: sin(angle) * s.u.(angle) / 57.295776
  Mat3 toCartesian{};   // A: rows are the edges a, b, c in Cartesian angstrom; X = x*A
  Mat3 toFractional{};  // A inverse: x = X*A^-1
};

// pi/180 and 180/pi as the suite has always rounded them.
inline constexpr float kDegreesToRadians = 0.017453292f;
inline constexpr float kRadiansToDegrees = 57.295776f;

// Trigonometric functions of an angle in degrees: the angle is turned into
// radians in single precision, the function evaluated in double and rounded.
float cosDeg(float degrees);
float sinDeg(float degrees);
float tanDeg(float degrees);

// Fills A (toCartesian) and its inverse from the cell lengths and angles in
// degrees. An angle not greater than 1.0 is taken to be its cosine already.
// Frame: x along a, c in the x-z plane, right-handed.
void cellToCartesian(const Vec3& lengths, const Vec3& angles, Mat3& toCartesian, Mat3& toFractional);

// Determinant, expanded along the first row.
float det3(const Mat3& m);

// inverse = m^-1 (inverse may be m). A determinant below 1.0E-30 in magnitude
// is replaced by +-1.0E-30; an exact zero is also reported on the terminal
// (" Matrix is SINGULAR.  Determinant set to 1.0E-30") and the run goes on.
void invert3(const Mat3& m, Mat3& inverse);

// r = p*q; r may be p or q.
void matMul3(const Mat3& p, const Mat3& q, Mat3& r);

// w = u + v, w = u - v, w = s*u (w may be an argument).
void vecAdd(const Vec3& u, const Vec3& v, Vec3& w);
void vecSub(const Vec3& u, const Vec3& v, Vec3& w);
void vecScale(const Vec3& u, float s, Vec3& w);

// w = v*M, w(i) = sum over j of v(j)*M(j,i); w may be v.
void rowTimesMatrix(const Vec3& v, const Mat3& m, Vec3& w);

// length = |v|; v becomes a unit vector unless it is the zero vector.
void normalise(Vec3& v, float& length);

// Each component replaced by fmod(fmod(x,1)+1,1), so that it lies in [0,1).
void reduceToCell(Vec3& x);

// y = x reduced into [0,1) as above, with components above 0.9999 set to 0.
void reduceToCellSnap(const Vec3& x, Vec3& y);
