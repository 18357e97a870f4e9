// Generator matrices built from the characters of a space-group symbol, closed
// under multiplication; conflicting translations are reported as they arise.
#include "cryst/space_group_operators.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "terminal/fortran_format.hpp"  // fmtI, fmtF
#include "terminal/unit_table.hpp"

namespace {

constexpr int kMaxMatrices = SpaceGroupInfo::kMaxOperators;
constexpr float kThird = 1.0f / 3.0f;
constexpr float kTwoThirds = 2.0f / 3.0f;

// Augmented operator: integer rotation and translation as fractions.
struct Matrix {
  int rotation[3][3] = {};
  float translation[3] = {};
  int rotationCode = 0;
  int translationCode = 0;  // 1728*t1 + 144*t2 + 12*t3, rounded
};

int rotationCodeOf(const int r[3][3]) {
  auto row = [&](int i) { return 2 * r[i][0] + 3 * r[i][1] + 4 * r[i][2]; };
  return 81 * row(0) + 9 * row(1) + row(2);
}

void formCodes(Matrix& m) {
  m.rotationCode = rotationCodeOf(m.rotation);
  const float* t = m.translation;
  m.translationCode = static_cast<int>(std::lround(1728.0f * t[0] + 144.0f * t[1] + 12.0f * t[2]));
}

// A rotation written as the images of (x, y, z), e.g. "-x+y,-x,-z".
void setRotation(Matrix& m, std::string_view images) {
  int row = 0;
  int sign = 1;
  for (char c : images) {
    if (c == ',') { ++row; sign = 1; }
    else if (c == '-') sign = -1;
    else if (c == '+') sign = 1;
    else { m.rotation[row][c - 'x'] = sign; sign = 1; }
  }
}

float half(bool condition) { return condition ? 0.5f : 0.0f; }

bool isOneOf(char c, std::string_view set) {
  return c != SymbolFields::kEmpty && set.find(c) != std::string_view::npos;
}

// Centring translations (twelfths) that two translations may differ by.
struct Candidates {
  int count;
  int vector[4][3];
};

Candidates conflictCandidates(int lattice) {
  switch (lattice) {
    case kLatticeA: return {2, {{0, 0, 0}, {0, 6, 6}}};
    case kLatticeB: return {2, {{0, 0, 0}, {6, 0, 6}}};
    case kLatticeC: return {2, {{0, 0, 0}, {6, 6, 0}}};
    case kLatticeI: return {2, {{0, 0, 0}, {6, 6, 6}}};
    case kLatticeF: return {4, {{0, 0, 0}, {0, 6, 6}, {6, 0, 6}, {6, 6, 0}}};
    default: return {1, {{0, 0, 0}}};
  }
}

class OperatorGenerator {
 public:
  OperatorGenerator(const SymbolClass& symbol, int messageUnit, SpaceGroupInfo& info)
      : g_(symbol), f_(symbol.fields), p_(symbol.shift), info_(info), messageUnit_(messageUnit) {}

  int run(bool& translationConflict) {
    startingMatrices();
    int error = generators();
    translationConflict = conflict_;
    if (error) return error;
    deliver();
    return 0;
  }

 private:
  const SymbolClass& g_;
  const SymbolFields& f_;
  const float* p_;
  SpaceGroupInfo& info_;
  int messageUnit_;
  Matrix held_[kMaxMatrices + 1];  // 1-based, as the messages number them
  int count_ = 0;
  int pos_ = 0;  // the operator field being worked on
  bool conflict_ = false;

  char F(int field, int position) const { return f_.at(field, position); }
  int laue() const { return g_.laueClass; }
  bool centredFC() const { return g_.lattice == kLatticeF || g_.lattice == kLatticeC; }

  // The starting matrices: the identity, and for cubic and rhombohedral
  // groups the three-fold axis along [111].
  void startingMatrices() {
    setRotation(held_[1], "x,y,z");
    formCodes(held_[1]);
    count_ = 1;
    if (!g_.cubic) return;
    setRotation(held_[2], "z,x,y");
    setRotation(held_[3], "y,z,x");
    formCodes(held_[2]);
    formCodes(held_[3]);
    count_ = 3;
  }

  // The operator characters of every operator field, each a generator.
  int generators() {
    for (pos_ = 2; pos_ <= f_.count; ++pos_) {
      if (F(pos_, 1) == SymbolFields::kEmpty) return kEmptyOperatorField;
      int at = 1;
      while (true) {
        if (int error = operatorCharacter(at)) return error;
        // A further operator only follows a "/" (the plane of "2/m").
        int next = 0;
        for (++at; at <= 3; ++at) {
          char c = F(pos_, at);
          if (c == '/') {
            if (F(pos_, at + 1) == SymbolFields::kEmpty) return kNoMirrorAfterSlash;
            next = at + 1;
            break;
          }
          if (c == SymbolFields::kEmpty) break;
          if (symbolCharacterCode(c) < 12) return kLetterInRotation;
        }
        if (next == 0) break;
        at = next;
      }
    }
    return 0;
  }

  // Builds and stores the generator of the operator character at position
  // `at` of the field; a "-" that the rule reads is stepped over.
  int operatorCharacter(int& at) {
    int kind = std::abs(symbolCharacterCode(F(pos_, at)) - 5);
    if (kind < 1 || kind > 15) return kNotAnOperator;
    Matrix m;
    bool built = true;
    int error = 0;
    switch (kind) {
      case 1: case 2: case 3: case 4: case 5: error = plane(kind, m); break;
      case 6: error = dGlide(m); break;
      case 7:  // the identity: no generator
        built = false;
        stepOverInversion(at);
        break;
      case 8: error = twoFold(m); break;
      case 9: error = threeFold(m, built, at); break;
      case 10: error = fourFold(m, at); break;
      case 12: error = sixFold(m, at); break;
      default: return kNoOperatorRule;  // "5", "-", "/" or "H"
    }
    if (error || !built) return error;
    return store(m);
  }

  // A "-" after the axis: a rotary inversion, so the group is centric.
  void stepOverInversion(int& at) {
    if (F(pos_, 2) != '-') return;
    info_.centric = 1;
    ++at;
  }

  static void set(Matrix& m, std::string_view rotation, float t1, float t2, float t3) {
    setRotation(m, rotation);
    m.translation[0] = t1;
    m.translation[1] = t2;
    m.translation[2] = t3;
  }

  // Mirror and glide planes A, B, C, M, N (kinds 1 to 5).
  int plane(int k, Matrix& m) {
    const int S = laue();
    const int nf = f_.count;
    const char f21 = F(2, 1), f31 = F(3, 1);
    const bool glideX = k == 1 || k == 5, glideY = k == 2 || k == 5, glideZ = k == 3 || k == 5;
    if (pos_ == 2 && S < 4 && nf == 2) {
      if (k == 2) return kBGlideNormalToB;
      set(m, "x,-y,z", half(glideX), p_[5], half(glideZ));
    } else if (pos_ == 2 && S < 4) {
      if (k == 1) return kAGlideNormalToA;
      set(m, "-x,y,z", p_[1], half(glideY), half(glideZ));
    } else if (pos_ == 3 && S != 7 && (f21 == '3' || f21 == '6')) {
      set(m, "-x+y,y,z", 0.0f, 0.0f, half(k == 3));
    } else if (pos_ == 3 && S != 7 && f21 == '4') {
      if (k == 1) return kAGlideNormalToA;
      set(m, "-x,y,z", p_[1], half(glideY), half(glideZ));
    } else if (pos_ == 3 && S != 7) {
      if (k == 2) return kBGlideNormalToB;
      set(m, "x,-y,z", half(glideX), p_[5], half(glideZ));
    } else if ((pos_ == 4 || S == 7) && (f31 == '3' || isOneOf(f21, "346"))) {
      float t1 = p_[5], t2 = -p_[5];
      if (k == 1 || k == 2 || k == 5 || (S == 7 && k == 3)) {
        float gain = centredFC() ? 0.25f : 0.5f;
        t1 += gain;
        t2 += gain;
      }
      set(m, "y,x,z", t1, t2, half(k == 3 || k == 5));
    } else {
      if (k == 3) return kCGlideNormalToC;
      bool sixThree = pos_ == 2 && F(2, 1) == '6' && F(2, 2) == '3';
      set(m, "x,y,-z", half(glideX), half(glideY), sixThree ? 0.5f : p_[9]);
    }
    return 0;
  }

  // The d-glide (kind 6): translations from half the centring vectors.
  int dGlide(Matrix& m) {
    if (g_.lattice == kLatticeP) return kDGlideInPrimitive;
    const int S = laue();
    const bool fourVectors = info_.centringCount == 4;
    const float quarterIfTwo = g_.dGlides == 2 ? 0.25f : 0.0f;
    auto cv = [&](int vector, int axis) { return 0.5f * info_.centring[vector - 1][axis - 1]; };
    if (pos_ == 2 && S < 4 && f_.count == 2) {
      int v = fourVectors ? 3 : 2;
      set(m, "x,-y,z", cv(v, 1), 0.0f, cv(v, 3));
    } else if (pos_ == 2 && S < 4) {
      set(m, "-x,y,z", quarterIfTwo, cv(2, 2), cv(2, 3));
    } else if (pos_ == 3) {
      int v = fourVectors ? 3 : 2;
      set(m, "x,-y,z", cv(v, 1), S == 5 ? p_[2] : quarterIfTwo, cv(v, 3));
    } else if (pos_ == 4 && (F(2, 1) == '4' || F(3, 1) == '3')) {
      if (F(3, 1) == '2') set(m, "y,x,z", 0.0f, 0.5f, 0.25f);
      else set(m, "y,x,z", 0.25f, 0.25f, 0.25f);
    } else {
      int v = fourVectors ? 4 : 2;
      set(m, "x,y,-z", cv(v, 1), cv(v, 2), quarterIfTwo);
    }
    return 0;
  }

  // Two-fold axes (kind 8); "21" is a screw axis.
  int twoFold(Matrix& m) {
    const char modifier = F(pos_, 2);
    if (modifier == '-') return kTwoBar;
    const char f21 = F(2, 1), f31 = F(3, 1), f41 = F(4, 1);
    const bool screw = modifier == '1';
    if (pos_ == 2 && f_.count == 2) {
      set(m, "-x,y,-z", p_[4], half(screw), p_[6]);
    } else if (pos_ == 2) {
      set(m, "x,-y,-z", half(screw || modifier == '3'), p_[2], p_[3]);
    } else if (pos_ == 3 && laue() == 7) {
      set(m, "-y,-x,-z", 0.0f, 0.0f, 0.0f);
    } else if (pos_ == 3 && f21 == '3') {
      set(m, "y,x,-z", p_[2] + half(screw), -p_[2], p_[3]);
    } else if (pos_ == 3 && f21 == '6' && f41 != '1') {
      set(m, "x-y,-y,-z", 0.0f, 0.0f, 0.0f);
    } else if (pos_ == 3) {
      set(m, "-x,y,-z", f21 == 'M' && f41 == 'N' ? 0.5f : p_[4], half(screw), p_[6]);
    } else if (f21 == '4') {
      set(m, "y,x,-z", p_[2] + half(screw), -p_[2], p_[3]);
    } else if (isOneOf(f21, "356") || f31 == '3') {
      set(m, "x,x-y,-z", 0.0f, 0.0f, 0.0f);
    } else {
      set(m, "-x,-y,z", p_[7], p_[8], half(isOneOf(modifier, "135")));
    }
    return 0;
  }

  // Three-fold axes (kind 9): only the trigonal and hexagonal c axis is a
  // generator; the [111] axes of cubic and rhombohedral groups are step 6's.
  int threeFold(Matrix& m, bool& built, int& at) {
    const char modifier = F(pos_, 2);
    if (pos_ == 2 && laue() > 7) {
      float t3 = modifier == '1' ? kThird : modifier == '2' ? kTwoThirds : 0.0f;
      set(m, "-y,x-y,z", 0.0f, 0.0f, t3);
      stepOverInversion(at);
      return 0;
    }
    if (pos_ != 3 && laue() > 7) return kThreeAxisOutOfPlace;
    built = false;
    stepOverInversion(at);
    return 0;
  }

  // Four-fold axes (kind 10), only in the first operator field.
  int fourFold(Matrix& m, int& at) {
    if (pos_ != 2) return kFourAxisOutOfPlace;
    const char modifier = F(pos_, 2);
    if (modifier == '-') {
      set(m, "y,-x,-z", p_[7], p_[8], p_[9]);
      ++at;
      return 0;
    }
    float t3 = modifier == '1' ? 0.25f : modifier == '2' ? 0.5f : modifier == '3' ? 0.75f : 0.0f;
    set(m, "-y,x,z", p_[7], p_[8], t3);
    return 0;
  }

  // Six-fold axes (kind 12), only in the first operator field.
  int sixFold(Matrix& m, int& at) {
    if (pos_ != 2) return kSixAxisOutOfPlace;
    const char modifier = F(pos_, 2);
    if (modifier == '-') {
      set(m, "-x+y,-x,-z", 0.0f, 0.0f, half(F(3, 1) == 'C' || F(4, 1) == 'C'));
      ++at;
      return 0;
    }
    float t3 = modifier >= '1' && modifier <= '5' ? static_cast<float>(modifier - '0') / 6.0f : 0.0f;
    set(m, "x-y,x,z", 0.0f, 0.0f, t3);
    return 0;
  }

  // A new generator is stored unless its rotation (or minus it) is
  // held already, and the set is closed again.
  int store(Matrix& generator) {
    for (float& t : generator.translation) t = std::fmod(t + 7.0f, 1.0f);
    formCodes(generator);
    if (matchHeld(generator, true)) return 0;
    if (count_ == kMaxMatrices) return kTooManyGenerators;
    held_[++count_] = generator;
    return closeSet(count_);
  }

  // Multiplies the new matrices from `first` on by the held ones until no
  // product is new.
  int closeSet(int first) {
    int last = first;
    while (true) {
      for (int i = first; i <= last; ++i) {
        for (int j = 2; j <= i; ++j) {
          Matrix product = multiply(held_[j], held_[i]);
          if (matchHeld(product, false)) continue;
          if (count_ == kMaxMatrices) return kTooManyProducts;
          held_[++count_] = product;
        }
      }
      if (count_ == last) return 0;
      first = last + 1;
      last = count_;
    }
  }

  // a*b as augmented matrices, the translation snapped to twelfths.
  static Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix product;
    for (int i = 0; i < 3; ++i) {
      float t = 0.0f;
      for (int k = 0; k < 3; ++k) {
        int r = 0;
        for (int l = 0; l < 3; ++l) r += a.rotation[i][l] * b.rotation[l][k];
        product.rotation[i][k] = r;
        t += static_cast<float>(a.rotation[i][k]) * b.translation[k];
      }
      t += a.translation[i];
      float twelfths = static_cast<float>(std::lround((t + 7.0f) * 12.0f));
      product.translation[i] = std::fmod(twelfths / 12.0f, 1.0f);
    }
    formCodes(product);
    return product;
  }

  // Whether a held matrix has the same rotation (a repetition) or minus it
  // (the pair differ by the inversion, so the group is centric). Differing
  // translations are tested for a conflict, for a generator also against an
  // inverse.
  bool matchHeld(const Matrix& candidate, bool generator) {
    for (int i = 1; i <= count_; ++i) {
      const Matrix& held = held_[i];
      bool same = held.rotationCode == candidate.rotationCode;
      bool inverse = held.rotationCode == -candidate.rotationCode;
      if (!same && !inverse) continue;
      if (inverse) info_.centric = 1;
      if ((same || generator) && held.translationCode != candidate.translationCode)
        testTranslations(candidate, i);
      return true;
    }
    return false;
  }

  // The translation-conflict test: the translations may differ by a centring
  // vector, and freely along axes the operators reverse.
  void testTranslations(const Matrix& candidate, int heldNumber) {
    const Matrix& held = held_[heldNumber];
    int d[3];
    for (int i = 0; i < 3; ++i)
      d[i] = static_cast<int>(12.0f * std::fmod(candidate.translation[i] - held.translation[i], 1.0f));
    int reference[3];  // diagonal of the reference matrix
    bool inverse = candidate.rotationCode + held.rotationCode == 0;
    for (int i = 0; i < 3; ++i) reference[i] = inverse ? 1 : held.rotation[i][i];
    auto reversed = [&](int i) { return candidate.rotation[i][i] + reference[i] <= 0; };
    Candidates centring = conflictCandidates(g_.lattice);
    for (int c = 0; c < centring.count; ++c) {
      int e[3];
      for (int i = 0; i < 3; ++i) e[i] = (centring.vector[c][i] + d[i]) % 12;
      if (reversed(2)) e[2] = 0;
      if (laue() < 4 || pos_ != 4) {
        if (reversed(0)) e[0] = 0;
        if (reversed(1)) e[1] = 0;
      } else {
        e[0] = (e[0] + e[1]) % 12;
        e[1] = 0;
      }
      if (144 * e[0] + 12 * e[1] + e[2] == 0) return;
    }
    conflict_ = true;
    if (messageUnit_ <= 0) return;
    UnitTable& units = unitTable();
    units.writeLine(messageUnit_, " Operator " + fmtI(pos_, 2) + " generates Matrix" + fmtI(count_ + 1, 3) +
                                      " which has a translation conflict with matrix " + fmtI(heldNumber, 2));
    units.writeLine(messageUnit_, describe(candidate, count_ + 1));
    units.writeLine(messageUnit_, describe(held, heldNumber));
  }

  // "  Matrix  n is" + the rotation rows (I4, I3, I3) + translations (F5.2) +
  // translation code (F8.1).
  static std::string describe(const Matrix& m, int number) {
    std::string line = "  Matrix" + fmtI(number, 3) + " is";
    for (const auto& row : m.rotation) line += fmtI(row[0], 4) + fmtI(row[1], 3) + fmtI(row[2], 3);
    for (float t : m.translation) line += fmtF(t, 5, 2);
    return line + fmtF(static_cast<float>(m.translationCode), 8, 1);
  }

  // The held matrices become the group's operators.
  void deliver() {
    info_.operatorCount = count_;
    for (int n = 1; n <= count_; ++n) {
      const Matrix& m = held_[n];
      SymOp& op = info_.operators[n - 1];
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) op.rotation[i][j] = m.rotation[i][j];
        op.translation[i] = static_cast<int>(12.0f * m.translation[i] + 144.1f) % 12;
      }
      op.rotationCode = m.rotationCode;
      const float* t = m.translation;
      op.translationCode =
          static_cast<int>(std::lround(144.0f * (12.0f * t[0]) + 12.0f * (12.0f * t[1]) + 12.0f * t[2]));
      op.operatorClass = operatorClassOf(op.rotationCode);
      if (op.operatorClass < 0)
        unitTable().writeLine(UnitTable::kTerminalOut, " ***** ERROR in defining operation flags " + fmtI(n, 3));
    }
  }
};

// Rotation code -> operator class, searched in this order.
constexpr int kOperatorClasses[64][2] = {
    {193, 0},   {-193, 7},  {185, 1},   {-185, 6},  {139, 2},   {-139, 5},  {-131, 4},  {131, 3},
    {-257, 98}, {257, 99},  {265, 8},   {-265, 12}, {-299, 8},  {299, 12},  {353, 8},   {-353, 12},
    {123, 8},   {-123, 12}, {201, 8},   {-201, 12}, {-221, 16}, {221, 23},  {229, 16},  {-229, 23},
    {-295, 16}, {295, 23},  {349, 16},  {-349, 23}, {129, 16},  {-129, 23}, {195, 16},  {-195, 23},
    {345, 0},   {-345, 7},  {281, 0},   {-281, 7},  {-309, 0},  {309, 7},   {205, 0},   {-205, 7},
    {303, 0},   {-303, 7},  {-277, 0},  {277, 7},   {-339, 0},  {339, 7},   {-209, 0},  {209, 7},
    {-248, 0},  {248, 7},   {67, 0},    {-67, 7},   {-59, 16},  {59, 23},   {256, 16},  {-256, 23},
    {112, 4},   {-112, 3},  {157, 4},   {-157, 3},  {-149, 8},  {149, 12},  {-104, 8},  {104, 12},
};

}  // namespace

int operatorClassOf(int rotationCode) {
  for (const auto& entry : kOperatorClasses)
    if (entry[0] == rotationCode) return entry[1];
  return -1;
}

int generateOperators(const SymbolClass& symbol, int messageUnit, SpaceGroupInfo& info,
                      bool& translationConflict) {
  OperatorGenerator generator(symbol, messageUnit, info);
  return generator.run(translationConflict);
}
