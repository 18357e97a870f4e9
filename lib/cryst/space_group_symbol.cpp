// Splitting, checking and classifying a space-group symbol: lattice, Laue
// class, unique axis and the origin-shift parameters the generator rules read.
#include "cryst/space_group_symbol.hpp"

#include <cctype>
#include <string_view>
#include <utility>  // std::swap

#include "cryst/space_group.hpp"

namespace {

constexpr std::string_view kAlphabet = " CBAPFIRMND123456-/H.";
constexpr int kFirstDigitCode = 12;  // codes below are separators and letters

char canonical(char c) {
  if (c == '\t') return ' ';
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  // Only these letters fold; every other lower-case letter is illegal.
  if (c != upper && std::string_view("cbapfirmndh").find(c) == std::string_view::npos) return c;
  return upper;
}

bool isOneOf(char c, std::string_view set) {
  return c != SymbolFields::kEmpty && set.find(c) != std::string_view::npos;
}

// The rules are written with the shift parameters p1..p9 and fields F2..F4.
struct Classifier {
  SymbolClass& g;
  float* p;
  const SymbolFields& f;

  explicit Classifier(SymbolClass& result)
      : g(result), p(result.shift), f(result.fields) {}

  char F(int field, int position) const { return f.at(field, position); }
  bool latticeIs(int code) const { return g.lattice == code; }

  // Monoclinic groups: the field carrying the axis or plane, and the unique axis.
  void monoclinic(int field, int axis) {
    g.laueClass = 2;
    g.uniqueAxis = axis;
    auto shift = [&](int j) -> float& { return p[3 * (axis - 1) + j]; };
    if (F(field, 2) == '1') shift(axis) = 0.5f;  // a screw axis
    constexpr char kGlideLetter[4] = {0, 'A', 'B', 'C'};
    for (int position : {3, 4}) {
      char plane = F(field, position);
      for (int j = 1; j <= 3; ++j) {
        if (j == axis) continue;
        if (plane == kGlideLetter[j] || plane == 'N') shift(j) = 0.5f;
      }
    }
  }

  // Two fields: monoclinic short symbols and the groups of Laue classes
  // 1bar, 4/m, 3bar and 6/m.
  int twoFields() {
    char axis = F(2, 1);
    if (axis == '6') { g.laueClass = 11; return 0; }
    if (axis == '3') { g.laueClass = 8; return 0; }
    if (axis == '1') { g.laueClass = 1; return 0; }
    if (axis != '4') { monoclinic(2, 2); return 0; }
    g.laueClass = 4;
    if (latticeIs(kLatticeC)) {
      if (F(2, 3) == 'A' || F(2, 4) == 'A') {
        p[7] = 0.25f;
        p[8] = F(2, 4) == 'A' ? 0.75f : 0.25f;
      }
      return 0;
    }
    if (latticeIs(kLatticeP) || latticeIs(kLatticeA) || latticeIs(kLatticeB)) {
      if (F(2, 3) == 'N') p[7] = 0.5f;
      else if (F(2, 4) == 'N') p[8] = 0.5f;
      return 0;
    }
    if (isOneOf(F(2, 4), "AD")) {
      p[7] = 0.75f;
      if (latticeIs(kLatticeI)) p[8] = 0.25f;
      return 0;
    }
    return tetragonalTail();
  }

  // Three fields: the cubic groups of Laue class m3.
  int threeFields() {
    if (F(3, 1) != '3') return kThreeFieldsNotCubic;
    g.laueClass = 13;
    if (F(2, 2) == '1') p[2] = 0.5f;
    if (isOneOf(F(2, 1), "BA")) p[9] = 0.5f;
    g.cubic = true;
    return 0;
  }

  // Four fields with a 3 in the third: the cubic groups of Laue class m3m.
  int cubicFourFields() {
    g.laueClass = 14;
    if (isOneOf(F(2, 1), "BA")) p[9] = 0.5f;
    if (F(2, 1) == '4') {
      auto set = [&](float x, float y, float z) { p[7] = x; p[8] = y; p[9] = z; };
      char modifier = F(2, 2);
      if (modifier == '-') {
        if (F(4, 1) == 'D') {
          if (!latticeIs(kLatticeI)) return kExpectedIBar43d;
          set(0.75f, 0.25f, 0.75f);
        } else if (F(4, 1) != 'M') {
          set(0.5f, 0.5f, 0.5f);
        }
      } else if (modifier == '1') {
        if (latticeIs(kLatticeF)) set(0.75f, 0.75f, 0.25f);
        else set(0.25f, 0.75f, 0.25f);
      } else if (modifier == '2') {
        set(0.5f, 0.5f, 0.5f);
      } else if (modifier == '3') {
        set(0.75f, 0.25f, 0.75f);
      }
    }
    g.cubic = true;
    return 0;
  }

  // Four fields.
  int fourFields() {
    if (F(3, 1) == '3') return cubicFourFields();
    char axis = F(2, 1);
    if (axis == '6') {
      g.laueClass = F(3, 1) == '1' && F(4, 1) == '1' ? 11 : 12;
      return 0;
    }
    if (axis == '3') {
      if (F(3, 1) != '1') g.laueClass = F(4, 1) == '1' ? 9 : 12;
      else g.laueClass = F(4, 1) != '1' ? 10 : 8;
      return 0;
    }
    if (axis != '1' && axis != '4') {
      if (F(3, 1) == '1' && F(4, 1) == '1') monoclinic(2, 1);
      else orthorhombic();
      return 0;
    }
    if (axis == '1') {
      if (F(3, 1) == '1') {
        if (F(4, 1) == '1') g.laueClass = 1;
        else monoclinic(4, 3);
      } else if (F(4, 1) != '1') {
        orthorhombic();
      } else {
        monoclinic(3, 2);
      }
      return 0;
    }
    return tetragonal();
  }

  // Tetragonal groups of Laue class 4/mmm (the order of the rules matters).
  int tetragonal() {
    g.laueClass = 5;
    bool nGlideInAxisField = F(2, 3) == 'N' || F(2, 4) == 'N';
    bool screw21InField3 = f.startsWith(3, '2', '1');
    bool screw21InField4 = f.startsWith(4, '2', '1');
    char modifier = F(2, 2);
    bool screwAxis = isOneOf(modifier, "123");
    float n = static_cast<float>(symbolCharacterCode(modifier) - 11);

    if (nGlideInAxisField) p[1] = 0.5f;
    if (F(2, 3) == 'A' || F(2, 4) == 'A') p[5] = 0.25f;
    if (screw21InField3) p[4] = 0.5f;
    if (isOneOf(F(3, 1), "BN")) p[1] = p[1] + 0.5f;
    if (isOneOf(F(4, 1), "BN")) p[5] = p[5] + 0.25f;
    if (latticeIs(kLatticeP) && screwAxis && F(3, 2) != '1') p[3] = -n / 4.0f;
    if (screw21InField4 && screwAxis) p[3] = n / 4.0f;
    if (screw21InField3 && screwAxis) p[6] = n / 4.0f;
    if (symbolCharacterCode(F(3, 1)) + symbolCharacterCode(F(2, 3)) == 11 && latticeIs(kLatticeF))
      p[2] = 0.75f;
    if (F(4, 1) == 'C' && latticeIs(kLatticeF)) p[1] = 0.5f;
    if (modifier == '-') {  // 4bar
      if (F(3, 1) == 'D' && latticeIs(kLatticeF)) p[3] = 0.25f;
      if (screw21InField4) p[1] = 0.5f;
      if (isOneOf(F(4, 1), "CN")) p[6] = 0.5f;
      if (isOneOf(F(4, 1), "BN")) p[4] = 0.5f;
      if (F(4, 1) == 'D') {
        if (latticeIs(kLatticeI)) p[4] = 0.5f;
        p[6] = 0.75f;
      }
      return 0;
    }
    if (latticeIs(kLatticeP)) {
      if (nGlideInAxisField) {
        p[7] = 0.5f;
      } else if (screw21InField3 ||
                 (F(3, 1) == 'N' && modifier != SymbolFields::kEmpty &&
                  symbolCharacterCode(modifier) <= 15)) {
        p[7] = 0.5f;
        p[8] = 0.5f;
      }
      return 0;
    }
    return tetragonalTail();
  }

  // Tetragonal groups with a centred lattice.
  int tetragonalTail() {
    char modifier = F(2, 2);
    if (latticeIs(kLatticeI) || latticeIs(kLatticeF)) {
      if (F(4, 1) == 'C') p[2] = p[2] + 0.5f;
      if (isOneOf(F(2, 4), "AD")) {
        p[7] = 0.25f;
        if (latticeIs(kLatticeI)) p[8] = 0.75f;
        return 0;
      }
      if (modifier != '1') return 0;
      if (latticeIs(kLatticeF)) {
        p[7] = 0.25f;
        p[8] = 0.75f;
      } else {
        p[8] = 0.5f;
        p[4] = 0.5f;
        p[6] = 0.75f;
      }
      return 0;
    }
    if (latticeIs(kLatticeA) || latticeIs(kLatticeB)) return kCentredTetragonalAB;
    // Lattice C.
    if (F(2, 3) == 'A' || F(2, 4) == 'A') {
      p[7] = 0.25f;
      p[8] = 0.25f;
      if (isOneOf(F(4, 1), "BN")) p[1] = 0.5f;
      return 0;
    }
    if (p[1] == 0.0f) p[1] = 2.0f * p[5];
    if (!f.startsWith(4, '2', '1')) {
      if (modifier == SymbolFields::kEmpty || F(4, 1) != 'N' || symbolCharacterCode(modifier) > 15)
        return 0;
      p[1] = p[1] - 2.0f * p[5];
    }
    p[7] = 0.5f;
    return 0;
  }

  // Orthorhombic groups, Laue class mmm: glide translations and the shifts
  // that put screw axes and inversion centres where the Tables have them.
  void orthorhombic() {
    g.laueClass = 3;
    int planes = 0, mirrors = 0, aGlides = 0, bGlides = 0, cGlides = 0, screws = 0;
    if (F(2, 1) == '2') {
      if (F(2, 2) == '1') { p[4] = 0.5f; p[7] = 0.5f; screws = 4; }
    } else {
      planes = 1;
      if (F(2, 1) == 'M') mirrors = 4;
      if (F(2, 1) == 'B') bGlides = 1;
      if (F(2, 1) == 'C') cGlides = 1;
      if (F(2, 1) == 'D') g.dGlides = 1;
      if (isOneOf(F(3, 1), "AN")) p[1] = 0.5f;
      if (isOneOf(F(4, 1), "AN")) p[1] = p[1] + 0.5f;
    }
    if (F(3, 1) == '2') {
      if (F(3, 2) == '1') { p[2] = 0.5f; p[8] = 0.5f; screws += 2; }
    } else {
      planes += 1;
      if (F(3, 1) == 'M') mirrors += 2;
      if (F(3, 1) == 'A') aGlides = 1;
      if (F(3, 1) == 'C') cGlides += 1;
      if (F(3, 1) == 'D') g.dGlides += 1;
      if (isOneOf(F(2, 1), "BN")) p[5] = 0.5f;
      if (isOneOf(F(4, 1), "BN")) p[5] = p[5] + 0.5f;
    }
    if (F(4, 1) == '2') {
      if (F(4, 2) == '1') { p[3] = 0.5f; p[6] = 0.5f; screws += 1; }
    } else {
      planes += 1;
      if (F(4, 1) == 'M') mirrors += 1;
      if (F(4, 1) == 'A') aGlides += 1;
      if (F(4, 1) == 'B') bGlides += 1;
      if (F(4, 1) == 'D') g.dGlides += 1;
      if (isOneOf(F(2, 1), "CN")) p[9] = 0.5f;
      if (isOneOf(F(3, 1), "CN")) p[9] = p[9] + 0.5f;
    }
    if (planes != 3) {  // groups 222 and mm2
      int s = screws;
      if (s == 4 || s == 5 || s == 7) p[4] = 0.0f;
      if (s == 6 || s == 7) p[7] = 0.0f;
      if (s == 3) p[2] = 0.0f;
      if (s == 2 || s == 6 || s == 7) p[8] = 0.0f;
      if (s == 1 || s == 3 || s == 7) p[3] = 0.0f;
      if (s == 5) p[6] = 0.0f;
      if (mirrors == 1 && (s == 4 || s == 2) && p[9] != 0.0f) {
        p[9] = 0.0f;
        p[6] = p[6] + 0.5f;
      } else if (mirrors == 2 && (s == 4 || s == 1) && p[5] != 0.0f) {
        p[5] = 0.0f;
        p[2] = p[2] + 0.5f;
      } else if (mirrors == 4 && (s == 1 || s == 2) && p[1] != 0.0f) {
        p[1] = 0.0f;
        p[7] = p[7] + 0.5f;
      }
      return;
    }
    // Class mmm: a centred lattice moves the inversion centre to the origin.
    auto gain = [&](int a, int b) { p[a] = p[a] + 0.5f; p[b] = p[b] + 0.5f; };
    switch (g.lattice) {
      case kLatticeA:
        if (bGlides + cGlides == 1 && aGlides != 2) gain(5, 9);
        break;
      case kLatticeB:
        if (aGlides + cGlides == 1 && bGlides != 2) gain(1, 9);
        break;
      case kLatticeC:
        if (aGlides + bGlides == 1 && cGlides != 2) gain(1, 5);
        break;
      case kLatticeI:
        if (aGlides + bGlides + cGlides == 1) {
          gain(1, 5);
          p[9] = p[9] + 0.5f;
        }
        break;
      default:
        break;
    }
  }
};

// Fields of at most four characters; letters end a field by themselves.
int splitFields(std::string_view symbol, SymbolFields& fields) {
  int field = 1;
  int length = 0;
  for (char raw : symbol) {
    if (field >= 5) break;
    char c = canonical(raw);
    int code = raw == '\0' ? -1 : symbolCharacterCode(c);
    if (code < 0) return kIllegalCharacter;
    if (code == 1) {
      if (length > 0) { ++field; length = 0; }
      continue;
    }
    fields.text[field][++length] = c;
    if (code < kFirstDigitCode || length == 4) { ++field; length = 0; }
  }
  if (length > 0) ++field;  // a field still open at the end of the symbol
  fields.count = field - 1;
  return 0;
}

int latticeCode(char letter) {
  switch (letter) {
    case 'P': return kLatticeP;
    case 'A': return kLatticeA;
    case 'B': return kLatticeB;
    case 'C': return kLatticeC;
    case 'I': return kLatticeI;
    case 'F': return kLatticeF;
    default: return kLatticeR;
  }
}

// Field count, lattice letter, rotary inversions stored digit first.
int checkFields(SymbolClass& g) {
  SymbolFields& f = g.fields;
  if (f.count < 2) return kFewerThanTwoFields;
  int latticeLetter = symbolCharacterCode(f.at(1, 1));
  if (latticeLetter < 2 || latticeLetter > 8) return kIllegalLattice;
  for (int field = 2; field <= 4; ++field) {
    if (f.at(field, 1) != '-') continue;
    int digit = symbolCharacterCode(f.at(field, 2));
    if (digit < 12 || digit > 17) return kMinusWithoutDigit;
    std::swap(f.text[field][1], f.text[field][2]);
  }
  g.lattice = latticeCode(f.at(1, 1));
  return 0;
}

// A rhombohedral lattice on rhombohedral ("R") or hexagonal ("H") axes.
int rhombohedralAxes(SymbolClass& g) {
  SymbolFields& f = g.fields;
  if (f.at(2, 1) != '3') return kRhombohedralWithoutThreeAxis;
  char axes = f.at(f.count, 1);
  if (axes == 'R') {
    g.lattice = kLatticeP;
    g.laueClass = f.count + 3;
    f.count -= 1;
    g.cubic = true;
  } else {
    if (axes == 'H') f.count -= 1;
    g.laueClass = f.count + 6;
  }
  return 0;
}

}  // namespace

int symbolCharacterCode(char c) {
  if (c == SymbolFields::kEmpty) return 0;
  std::size_t at = kAlphabet.find(canonical(c));
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

int classifySymbol(std::string_view symbol, SymbolClass& result) {
  result = SymbolClass{};
  if (int error = splitFields(symbol, result.fields)) return error;
  if (int error = checkFields(result)) return error;
  if (result.lattice == kLatticeR) {
    result.rhombohedral = true;
    return rhombohedralAxes(result);
  }
  Classifier classifier(result);
  switch (result.fields.count) {
    case 2: return classifier.twoFields();
    case 3: return classifier.threeFields();
    default: return classifier.fourFields();
  }
}
