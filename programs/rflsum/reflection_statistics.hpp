// Reflection statistics: the nineteen index classes used to spot systematic
// absences, each split by parity, with the counts and F/sigma(F) strengths of
// their members, and the table lines that report them.
#pragma once

#include <array>
#include <string>

// One class of the table: a 12-character label and a six-digit code A B C D E F.
// Members: |A*h| + |B*k| + |C*l| = 0, or A = 2 and h = k, or A = 3 and h = k = l.
// Parity: of D*h + E*k + F*l.
struct ReflectionClass {
  const char* label;
  int code;
};

inline constexpr int kClassCount = 19;
extern const std::array<ReflectionClass, kClassCount> kReflectionClasses;

// The code split into its six digits (hundred-thousands first).
struct ClassDigits {
  int a, b, c, d, e, f;
};
ClassDigits decodeClass(int code);

// Accumulators of one class and parity.
struct ParitySet {
  float sum = 0.0f;  // sum of F/sigma(F)
  float max = 0.0f;  // largest F/sigma(F), from 0
  int count = 0;
  int over3 = 0;  // F/sigma(F) > 3
  int over9 = 0;  // F/sigma(F) > 9
};

class ReflectionStatistics {
 public:
  static constexpr int kEven = 0;
  static constexpr int kOdd = 1;

  ReflectionStatistics();
  void clear();
  // Counts one reflection in every class it belongs to. Indices are truncated
  // toward zero; a reflection with sigma <= 0 is ignored, and so is a damaged
  // one: indices not finite or beyond +-2**30, or F/sigma not finite.
  void add(float h, float k, float l, float f, float sigma);
  const ParitySet& set(int classIndex, int parity) const { return sets_[classIndex][parity]; }

 private:
  std::array<ClassDigits, kClassCount> digits_;
  ParitySet sets_[kClassCount][2];
};

// " Set     Parity      n  <F/sF>   n>3s  n>9s  Max(F/sF)"
std::string statisticsTableHeader();
// One table row (the caller prints only sets with count > 0).
std::string statisticsTableRow(int classIndex, int parity, const ParitySet& set);
