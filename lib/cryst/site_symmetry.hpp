// Where the symmetry of a space group puts a point: its equivalent positions,
// its site symmetry and multiplicity, and the distance to a translated image.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "cryst/cell_metric.hpp"  // Vec3, Mat3
#include "cryst/space_group.hpp"

// The images of a point, in generation order (centring vector, then the
// direct and the inverted half, then operator), stored unreduced.
struct EquivalentPositionList {
  std::vector<Vec3> positions;
  // (100*(c - 1) + k)*sigma for operator k, centring vector c, sigma -1 for the
  // inverted image; 0 for an image that coincides with an earlier one.
  std::vector<int> codes;
  int count() const { return static_cast<int>(positions.size()); }
};

// Images of x. keepAll false: coinciding images are left out; keepAll true:
// every image is kept and those coinciding with the first get code 0.
EquivalentPositionList equivalentPositions(const Vec3& x, const SpaceGroupInfo& info, bool keepAll);

struct SiteSymmetry {
  static constexpr int kNotFound = 152;
  std::string name = "ERROR   ";  // 8 characters, e.g. "2/M(010)"
  int multiplicity = 0;
  int tableIndex = kNotFound;  // row of the site-symmetry table, 1 to 151
  // Numbers (in the full image list) of the images that leave the point in
  // place and whose rotation is in the site-operator table; first always 1.
  std::vector<int> invariantOps;
  long flags = 0;  // the flag word looked up in the table
};

// Site symmetry of x. A flag word the table does not know is reported on
// standard output (" *** ISYM =...") and gives the name "ERROR   ".
SiteSymmetry siteSymmetry(const Vec3& x, const SpaceGroupInfo& info);

// The balanced-ternary code of a rotation: elements taken as R33, R23, R13,
// R32, R22, R12, R31, R21, R11, code = 3*code + element; identity 6643.
int ternaryRotationCode(const int rotation[3][3]);
// One code per operator of the group, in order.
std::vector<int> ternaryRotationCodes(const SpaceGroupInfo& info);

// Distance in angstrom from a to b + shift, and the unit vector of
// a - (b + shift) in Cartesian coordinates.
float separation(const Vec3& a, const Vec3& b, const Vec3& shift, const Mat3& toCartesian, Vec3& direction);
