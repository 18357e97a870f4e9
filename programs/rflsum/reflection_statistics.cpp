// Reflection statistics by index class and parity.
#include "reflection_statistics.hpp"

#include <cmath>

#include "terminal/fixed_field.hpp"     // Field
#include "terminal/fortran_format.hpp"  // fmtI, fmtF

const std::array<ReflectionClass, kClassCount> kReflectionClasses = {{
    {"h00     h = ", 11100},  {"0k0     k = ", 101010}, {"00l     l = ", 110001}, {"hk0     h = ", 1100},
    {"hk0     k = ", 1010},   {"hk0   h+k = ", 1110},   {"h0l     h = ", 10100},  {"h0l     l = ", 10001},
    {"h0l   h+l = ", 10101},  {"0kl     k = ", 100010}, {"0kl     l = ", 100001}, {"0kl   k+l = ", 100011},
    {"hkl   h+k = ", 110},    {"hkl   h+l = ", 101},    {"hkl   k+l = ", 11},     {"hkl h+k+l = ", 111},
    {"hhl     l = ", 211001}, {"hhl   h+l = ", 211101}, {"hhh     h = ", 311100},
}};

namespace {

// The table row layout.
constexpr Field kLabel{2, 12}, kParity{14, 4}, kCount{18, 5}, kMean{23, 8}, kOver3{31, 6}, kOver9{37, 6},
    kMax{43, 10};
const char* const kParityLabels[2] = {"2n  ", "2n+1"};

// Indices come from binary files: anything a 32-bit integer cannot hold with
// room for the parity sums is a damaged record.
constexpr float kIndexLimit = 1073741824.0f;

bool usableIndex(float value) { return std::isfinite(value) && std::fabs(value) < kIndexLimit; }

}  // namespace

ClassDigits decodeClass(int code) {
  return {code / 100000 % 10, code / 10000 % 10, code / 1000 % 10, code / 100 % 10, code / 10 % 10, code % 10};
}

ReflectionStatistics::ReflectionStatistics() {
  for (int i = 0; i < kClassCount; ++i) digits_[i] = decodeClass(kReflectionClasses[i].code);
}

void ReflectionStatistics::clear() {
  for (auto& row : sets_) row[0] = row[1] = ParitySet{};
}

void ReflectionStatistics::add(float h, float k, float l, float f, float sigma) {
  if (!(sigma > 0.0f)) return;
  if (!usableIndex(h) || !usableIndex(k) || !usableIndex(l)) return;
  const long long ih = static_cast<long long>(h), ik = static_cast<long long>(k), il = static_cast<long long>(l);
  const float ratio = f / sigma;
  if (!std::isfinite(ratio)) return;  // a damaged F or sigma(F) would spoil every sum it joins
  for (int i = 0; i < kClassCount; ++i) {
    const ClassDigits& c = digits_[i];
    const bool member = std::llabs(c.a * ih) + std::llabs(c.b * ik) + std::llabs(c.c * il) == 0 ||
                        (c.a == 2 && ih == ik) || (c.a == 3 && ih == ik && ik == il);
    if (!member) continue;
    const long long parityValue = c.d * ih + c.e * ik + c.f * il;
    ParitySet& set = sets_[i][parityValue % 2 != 0 ? kOdd : kEven];
    set.sum += ratio;
    if (ratio > set.max) set.max = ratio;
    ++set.count;
    if (ratio > 3.0f) ++set.over3;
    if (ratio > 9.0f) ++set.over9;
  }
}

std::string statisticsTableHeader() { return " Set     Parity      n  <F/sF>   n>3s  n>9s  Max(F/sF)"; }

std::string statisticsTableRow(int classIndex, int parity, const ParitySet& set) {
  const float mean = set.count > 0 ? set.sum / static_cast<float>(set.count) : 0.0f;
  return " " + fmtA(kReflectionClasses[classIndex].label, kLabel.width) + fmtA(kParityLabels[parity], kParity.width) +
         fmtI(set.count, kCount.width) + fmtF(mean, kMean.width, 3) + fmtI(set.over3, kOver3.width) +
         fmtI(set.over9, kOver9.width) + fmtF(set.max, kMax.width, 2);
}
