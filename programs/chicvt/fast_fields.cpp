// Fast field editing for CHICVT's bulk conversion.
#include "fast_fields.hpp"

#include <charconv>
#include <cmath>

#include "terminal/fixed_field.hpp"     // readRealField
#include "terminal/fortran_format.hpp"  // fmtE

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool isPlainNumberCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '.' || c == 'E' || c == 'e' || c == '+' || c == '-';
}

}  // namespace

int readRealFieldFast(std::string_view text, int impliedDecimals, float& value) {
  std::size_t first = 0, end = text.size();
  while (first < end && isBlank(text[first])) ++first;
  while (end > first && isBlank(text[end - 1])) --end;
  std::string_view number = text.substr(first, end - first);
  // The common case: one unbroken number with a decimal point and no leading
  // "+", which from_chars reads with the same correct rounding as strtof.
  // Everything else (implied decimals, inner blanks, bare-sign or D exponents,
  // a leading "+", errors) takes the general reader.
  bool plain = !number.empty() && number[0] != '+' && number.find('.') != std::string_view::npos;
  for (char c : number) plain = plain && isPlainNumberCharacter(c);
  if (plain) {
    float parsed = 0.0f;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (error == std::errc() && end == number.data() + number.size()) {
      value = parsed;
      return 0;
    }
  }
  return readRealField(text, impliedDecimals, value);
}

void appendE6(std::string& out, float value, int width) {
  if (!std::isfinite(value) || width < 13) {
    out += fmtE(value, width, 6);
    return;
  }
  // d.ddddde+XX, correctly rounded to 6 digits (ties to even, as the runtime).
  char digits[32];
  const double magnitude = std::fabs(static_cast<double>(value));
  const auto result = std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::scientific, 5);
  const std::string_view text(digits, static_cast<std::size_t>(result.ptr - digits));
  int exponent = 0;
  std::from_chars(text.data() + 8 + (text[8] == '+' ? 1 : 0), text.data() + text.size(), exponent);
  if (magnitude != 0.0) ++exponent;  // 0.dddddd form
  const bool negative = std::signbit(value);
  const int used = negative ? 13 : 12;
  out.append(static_cast<std::size_t>(width - used), ' ');
  if (negative) out += '-';
  out += "0.";
  out += text[0];
  out.append(text.substr(2, 5));
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  const int absExponent = exponent < 0 ? -exponent : exponent;
  out += static_cast<char>('0' + absExponent / 10);
  out += static_cast<char>('0' + absExponent % 10);
}
