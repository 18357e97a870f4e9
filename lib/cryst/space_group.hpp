// A space group as the suite works with it: interpreted from its Hermann-Mauguin
// symbol into lattice, centring, Laue class, unique axis and symmetry operators.
#pragma once

#include <string>
#include <string_view>

// One symmetry operator: x'(i) = sum over j of rotation[i][j]*x(j) + translation[i]/12.
struct SymOp {
  int rotation[3][3] = {};  // elements -1, 0 or 1; row i gives the new coordinate i
  int translation[3] = {};  // twelfths of a cell edge, 0 to 11
  // 81*(2R11 + 3R12 + 4R13) + 9*(2R21 + 3R22 + 4R23) + (2R31 + 3R32 + 4R33):
  // 193 for the identity, -193 for the inversion.
  int rotationCode = 0;
  int translationCode = 0;  // 144*t1 + 12*t2 + t3, t in twelfths
  int operatorClass = 0;    // from the operator-class table; -1 when the rotation is not there
};

// Lattice codes.
enum Lattice : int { kLatticeP = 1, kLatticeA, kLatticeB, kLatticeC, kLatticeI, kLatticeF, kLatticeR };

struct SpaceGroupInfo {
  static constexpr int kMaxOperators = 24;
  static constexpr int kMaxCentring = 4;
  static constexpr int kSymbolLength = 20;
  static constexpr int kFailed = 4;  // uniqueAxis after a failed interpretation

  std::string symbol = std::string(kSymbolLength, ' ');
  // 1: an inversion centre at the origin; of each pair (R, t), (-R, -t) only
  // one is in the operator list.
  int centric = 0;
  int operatorCount = 0;  // the identity is always operator 1
  int lattice = kLatticeP;  // a rhombohedral group on rhombohedral axes is P
  int centringCount = 1;
  int laueClass = 0;  // 1 to 14
  // Axes along which the origin is arbitrary: 1 x, 2 y, 4 z, 8 [111].
  int polarAxes = 0;
  // Monoclinic: 1 a, 2 b, 3 c; -1 for R on hexagonal axes; 4 after a failure.
  int uniqueAxis = 0;
  SymOp operators[kMaxOperators];
  float centring[kMaxCentring][3] = {};  // vector 1 is always (0, 0, 0)

  // Multiplicity of the general position.
  int generalMultiplicity() const { return (centric + 1) * operatorCount * centringCount; }
};

// The interpreter's error codes (the message texts come from spaceGroupErrorText).
enum SpaceGroupError : int {
  kFewerThanTwoFields = 1,
  kIllegalLattice = 2,
  kRhombohedralWithoutThreeAxis = 3,
  kMinusWithoutDigit = 4,
  kClassificationError = 5,
  kEmptyOperatorField = 6,
  kNotAnOperator = 7,
  kAGlideNormalToA = 8,
  kBGlideNormalToB = 9,
  kCGlideNormalToC = 10,
  kDGlideInPrimitive = 11,
  kFourAxisOutOfPlace = 12,
  kSixAxisOutOfPlace = 13,
  kTooManyGenerators = 14,
  kTooManyProducts = 15,
  kLetterInRotation = 16,
  kNoMirrorAfterSlash = 17,
  kTranslationConflict = 18,
  kTwoBar = 19,
  kThreeFieldsNotCubic = 20,
  kExpectedIBar43d = 21,
  kCentredTetragonalAB = 23,
  kThreeAxisOutOfPlace = 25,
  kNoOperatorRule = 26,  // a 5, "-", "/" or "H" where an operator belongs
  kIllegalCharacter = 29,
};

// Interprets a Hermann-Mauguin symbol of up to 20 characters. On messageUnit
// (0 or less: silent) it writes the symmetry listing, or the error report.
// 0: interpreted; otherwise the error code, and info.uniqueAxis is 4.
int interpretSpaceGroup(std::string_view symbol, int messageUnit, SpaceGroupInfo& info);

// The 48-character, blank-padded text of an error code (blank when it has none).
std::string spaceGroupErrorText(int code);
