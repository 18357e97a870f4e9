// The space-group interpreter as one call: classification, centring,
// operators, the symmetry listing, and the two-line error report.
#include "cryst/space_group.hpp"

#include "cryst/space_group_operators.hpp"
#include "cryst/space_group_symbol.hpp"
#include "cryst/symmetry_listing.hpp"
#include "terminal/fortran_format.hpp"  // padRight
#include "terminal/unit_table.hpp"

namespace {

constexpr int kErrorTextLength = 48;

// The centring translations of the lattice; vector 1 is (0, 0, 0).
void setCentring(SpaceGroupInfo& info) {
  constexpr float kThird = 1.0f / 3.0f, kTwoThirds = 2.0f / 3.0f;
  auto vector = [&](int n, float x, float y, float z) {
    info.centring[n][0] = x;
    info.centring[n][1] = y;
    info.centring[n][2] = z;
  };
  info.centringCount = 1;
  vector(0, 0.0f, 0.0f, 0.0f);
  switch (info.lattice) {
    case kLatticeA: vector(1, 0.0f, 0.5f, 0.5f); info.centringCount = 2; break;
    case kLatticeB: vector(1, 0.5f, 0.0f, 0.5f); info.centringCount = 2; break;
    case kLatticeC: vector(1, 0.5f, 0.5f, 0.0f); info.centringCount = 2; break;
    case kLatticeI: vector(1, 0.5f, 0.5f, 0.5f); info.centringCount = 2; break;
    case kLatticeF:
      vector(1, 0.0f, 0.5f, 0.5f);
      vector(2, 0.5f, 0.0f, 0.5f);
      vector(3, 0.5f, 0.5f, 0.0f);
      info.centringCount = 4;
      break;
    case kLatticeR:
      vector(1, kThird, kTwoThirds, kTwoThirds);
      vector(2, kTwoThirds, kThird, kThird);
      info.centringCount = 3;
      break;
    default: break;
  }
}

// " ****** Error processing symbol <symbol>" and the error text; uniqueAxis 4.
int fail(int code, int messageUnit, SpaceGroupInfo& info) {
  info.uniqueAxis = SpaceGroupInfo::kFailed;
  if (messageUnit > 0) {
    unitTable().writeLine(messageUnit, " ****** Error processing symbol " + info.symbol);
    unitTable().writeLine(messageUnit, " " + spaceGroupErrorText(code));
  }
  return code;
}

}  // namespace

std::string spaceGroupErrorText(int code) {
  const char* text = "";
  switch (code) {
    case kFewerThanTwoFields: text = "Less than 2 operator fields were found"; break;
    case kIllegalLattice: text = "Illegal Lattice type, not P, A, B, C, I, F or R"; break;
    case kRhombohedralWithoutThreeAxis: text = "Rhombohedral lattice without a 3-axis"; break;
    case kMinusWithoutDigit: text = "Minus sign does not preceed 1, 2, 3, 4 or 6"; break;
    case kClassificationError: text = "Lattice S.R. found an error"; break;
    case kEmptyOperatorField: text = "1st operator in a field was a space. Impossible"; break;
    case kNotAnOperator: text = "I for COMPUTED GO TO out of range."; break;
    case kAGlideNormalToA: text = "An A-glide mirror normal to A"; break;
    case kBGlideNormalToB: text = "A B-glide mirror normal to B"; break;
    case kCGlideNormalToC: text = "A C-glide mirror normal to C"; break;
    case kDGlideInPrimitive: text = "D-glide in a primitive lattice"; break;
    case kFourAxisOutOfPlace: text = "A 4-axis not in the 2nd operator field"; break;
    case kSixAxisOutOfPlace: text = "A 6-axis not in the 2nd operator field"; break;
    case kTooManyGenerators:
    case kTooManyProducts: text = "More than 24 matrices needed to define group"; break;
    case kLetterInRotation: text = "Improper construction of a rotation operator"; break;
    case kNoMirrorAfterSlash: text = "No mirror following a /"; break;
    case kTranslationConflict: text = "A translation conflict between operators"; break;
    case kTwoBar: text = "The 2bar operator is not allowed"; break;
    case kThreeFieldsNotCubic: text = "3 fields are legal only in R & m3 cubic groups"; break;
    case kExpectedIBar43d: text = "Syntax error. Expected I-43d at this point."; break;
    case kCentredTetragonalAB: text = "A or B centered tetragonal?   IMPOSSIBLE"; break;
    case kThreeAxisOutOfPlace: text = "Either a 5-axis anywhere or a 3-axis in field"; break;
    case kNoOperatorRule: text = "A 5, -, / or H stands where an operator belongs"; break;
    case kIllegalCharacter: text = "Illegal character in the space group symbol"; break;
    default: break;
  }
  return padRight(text, kErrorTextLength);
}

int interpretSpaceGroup(std::string_view symbol, int messageUnit, SpaceGroupInfo& info) {
  info = SpaceGroupInfo{};
  info.symbol = padRight(symbol, SpaceGroupInfo::kSymbolLength);

  SymbolClass symbolClass;
  int error = classifySymbol(info.symbol, symbolClass);
  info.lattice = symbolClass.lattice;
  info.laueClass = symbolClass.laueClass;
  info.uniqueAxis = symbolClass.uniqueAxis;
  if (error) return fail(error, messageUnit, info);

  setCentring(info);
  bool translationConflict = false;
  error = generateOperators(symbolClass, messageUnit, info, translationConflict);
  if (error) return fail(error, messageUnit, info);
  if (info.lattice == kLatticeR) info.uniqueAxis = -1;
  writeSymmetryListing(info, messageUnit);
  // A conflict is reported after the listing, which shows the operators that clash.
  if (translationConflict) return fail(kTranslationConflict, messageUnit, info);
  return 0;
}
