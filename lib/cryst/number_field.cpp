// The free-format number scanner.
#include "cryst/number_field.hpp"

#include <cmath>

#include "cryst/cell_metric.hpp"  // sinDeg, cosDeg, tanDeg

namespace {

// Exponents beyond this already overflow or underflow a single-precision
// power; capping the count keeps the integer from overflowing.
constexpr int kExponentCap = 1000;

// What has been seen of the field so far.
struct FieldScan {
  float value = 0.0f;
  int digitCount = 0;
  int decimalCount = 0;
  bool pointSeen = false;
  bool exponentSeen = false;
  bool exponentSignSeen = false;
  bool exponentNegative = false;
  int exponent = 0;
  bool fractionSeen = false;
  float denominator = 0.0f;
  bool signSeen = false;
  bool negative = false;
  char trigonometric = ' ';  // 'S', 'C', 'T' or blank
};

enum class Step { Continue, End, Error };

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// 10**power by repeated squaring of 10 (or of 0.1 for a negative power), in
// single precision.
float powerOfTen(int power) {
  float base = power < 0 ? 0.1f : 10.0f;
  unsigned remaining = static_cast<unsigned>(power < 0 ? -power : power);
  float result = 1.0f;
  while (remaining != 0) {
    if (remaining & 1u) result *= base;
    base *= base;
    remaining >>= 1;
  }
  return result;
}

Step takeDigit(FieldScan& scan, int digit) {
  if (scan.exponentSeen) {
    if (scan.exponent < kExponentCap) scan.exponent = 10 * scan.exponent + digit;
  } else if (scan.fractionSeen) {
    scan.denominator = 10.0f * scan.denominator + static_cast<float>(digit);
  } else {
    scan.value = 10.0f * scan.value + static_cast<float>(digit);
    ++scan.digitCount;
    if (scan.pointSeen) ++scan.decimalCount;
  }
  return Step::Continue;
}

Step takeSign(FieldScan& scan, char c) {
  if (scan.digitCount == 0) {
    if (scan.signSeen) return Step::Error;
    scan.signSeen = true;
    scan.negative = c == '-';
    return Step::Continue;
  }
  // A sign after digits starts the exponent: "1.5-3" is 1.5E-3.
  if (scan.exponentSignSeen) return Step::Error;
  scan.exponentSeen = true;
  scan.exponentSignSeen = true;
  scan.exponentNegative = c == '-';
  return Step::Continue;
}

// One character, the fieldColumn-th of the field (1-based).
Step takeCharacter(FieldScan& scan, char c, int fieldColumn) {
  if (c >= '0' && c <= '9') return takeDigit(scan, c - '0');
  switch (c) {
    case ' ':
      return scan.digitCount > 0 ? Step::End : Step::Continue;
    case ',':
      return Step::End;
    case '.':
      if (scan.pointSeen || scan.exponentSeen || scan.fractionSeen) return Step::Error;
      scan.pointSeen = true;
      return Step::Continue;
    case 'E':
      if (scan.exponentSeen || scan.fractionSeen || scan.digitCount == 0) return Step::Error;
      scan.exponentSeen = true;
      return Step::Continue;
    case '+':
    case '-':
      return takeSign(scan, c);
    case '/':
      if (scan.pointSeen || scan.exponentSeen || scan.fractionSeen) return Step::Error;
      scan.fractionSeen = true;
      return Step::Continue;
    case 'S':
    case 'C':
    case 'T':
      if (fieldColumn > 2 || scan.trigonometric != ' ') return Step::Error;
      scan.trigonometric = c;
      return Step::Continue;
    default:  // "*" and everything not listed
      return Step::Error;
  }
}

// The value of a completed field. 0: read; 1: not a number.
int finishField(FieldScan& scan, int impliedDecimals, float defaultValue, float& result) {
  if (scan.trigonometric != ' ' && scan.digitCount == 0) return 1;
  if (scan.digitCount == 0) {
    result = defaultValue;
    return 0;
  }
  if (scan.fractionSeen && scan.denominator == 0.0f) return 1;
  if (!scan.pointSeen && !scan.exponentSeen && !scan.fractionSeen) scan.decimalCount = impliedDecimals;
  const int exponent = scan.exponentNegative ? -scan.exponent : scan.exponent;
  float value = scan.value * powerOfTen(exponent - scan.decimalCount);
  if (scan.fractionSeen) value /= scan.denominator;
  if (scan.trigonometric == 'S') value = sinDeg(value);
  if (scan.trigonometric == 'C') value = cosDeg(value);
  if (scan.trigonometric == 'T') value = tanDeg(value);
  if (scan.negative) value = -value;
  // A number beyond single precision is not a number the suite can use.
  if (!std::isfinite(value)) return 1;
  result = value;
  return 0;
}

}  // namespace

float readNumberField(std::string_view text, int& position, int maxChars, int impliedDecimals,
                      float defaultValue, int& status) {
  FieldScan scan;
  for (int column = 1; column <= maxChars; ++column) {
    const std::size_t index = static_cast<std::size_t>(position - 1);
    const char c = (position >= 1 && index < text.size()) ? upper(text[index]) : ' ';
    ++position;
    const Step step = takeCharacter(scan, c, column);
    if (step == Step::End) break;
    if (step == Step::Error) {
      status = 1;
      return 0.0f;
    }
  }
  float result = 0.0f;
  status = finishField(scan, impliedDecimals, defaultValue, result);
  return result;
}

float readNumber(std::string_view text, int maxChars, int& status) {
  int position = 1;
  return readNumberField(text, position, maxChars, 0, 0.0f, status);
}
