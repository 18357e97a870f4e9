// Fortran-style output editing: I, F, E, 1PE, G and A.
#include "fortran_format.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::string stars(int width) { return std::string(width > 0 ? width : 0, '*'); }

std::string rightJustify(const std::string& text, int width) {
  if (static_cast<int>(text.size()) > width) return stars(width);
  return std::string(width - text.size(), ' ') + text;
}

// Infinity and NaN as the runtime writes them.
std::string nonFinite(double value, int width) {
  std::string text;
  if (std::isnan(value)) {
    text = "NaN";
  } else {
    const char* sign = value < 0 ? "-" : (width > 8 ? "+" : "");
    text = std::string(sign) + (width >= 8 + (value < 0) ? "Infinity" : "Inf");
  }
  return rightJustify(text, width);
}

// Exponent part for E editing: "E+dd", "+ddd" beyond 99 when no digit count is
// given; "E+" and exactly e digits when it is. Empty when it cannot be written.
bool exponentText(int exponent, int exponentDigits, std::string& out) {
  const char sign = exponent < 0 ? '-' : '+';
  const int magnitude = std::abs(exponent);
  char digits[16];
  if (exponentDigits > 0) {
    std::string text = std::to_string(magnitude);
    if (static_cast<int>(text.size()) > exponentDigits) return false;
    out = std::string("E") + sign + std::string(exponentDigits - text.size(), '0') + text;
    return true;
  }
  if (magnitude <= 99) {
    std::snprintf(digits, sizeof digits, "%02d", magnitude);
    out = std::string("E") + sign + digits;
  } else if (magnitude <= 999) {
    std::snprintf(digits, sizeof digits, "%03d", magnitude);
    out = std::string(1, sign) + digits;
  } else {
    return false;
  }
  return true;
}

// Shared body of E and 1PE editing; scale is 0 or 1.
std::string editE(double value, int width, int decimals, int exponentDigits, int scale) {
  if (!std::isfinite(value)) return nonFinite(value, width);
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  const int significant = scale == 0 ? decimals : decimals + 1;
  if (significant <= 0) return stars(width);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, magnitude);
  // buffer: d.ddddde+XX
  std::string text(buffer);
  const std::size_t ePos = text.find('e');
  std::string mantissaDigits = text.substr(0, 1) + (ePos > 1 ? text.substr(2, ePos - 2) : "");
  int exponent = std::atoi(text.c_str() + ePos + 1);
  if (magnitude == 0.0) exponent = scale == 0 ? 0 : 0;
  else exponent += 1 - scale;
  std::string exponentPart;
  if (!exponentText(exponent, exponentDigits, exponentPart)) return stars(width);
  std::string body;
  if (scale == 0) {
    body = "0." + mantissaDigits + exponentPart;
  } else {
    body = mantissaDigits.substr(0, 1) + "." + mantissaDigits.substr(1) + exponentPart;
  }
  if (negative) body = "-" + body;
  if (static_cast<int>(body.size()) > width && scale == 0) {
    const std::size_t zero = negative ? 1 : 0;
    body.erase(zero, 1);
  }
  return rightJustify(body, width);
}

}  // namespace

std::string fmtI(long long value, int width, int minDigits) {
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string digits = std::to_string(magnitude);
  if (minDigits == 0 && value == 0) digits.clear();
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  if (value < 0) digits.insert(0, 1, '-');
  return rightJustify(digits, width);
}

std::string fmtF(double value, int width, int decimals) {
  if (!std::isfinite(value)) return nonFinite(value, width);
  const bool negative = std::signbit(value);
  char buffer[512];
  const int written = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(value));
  if (written < 0 || written >= static_cast<int>(sizeof buffer)) return stars(width);
  std::string body(buffer);
  if (decimals == 0) body += '.';
  if (negative) body.insert(0, 1, '-');
  if (static_cast<int>(body.size()) > width) {
    const std::size_t zero = negative ? 1 : 0;
    if (body.compare(zero, 2, "0.") == 0) body.erase(zero, 1);
  }
  return rightJustify(body, width);
}

std::string fmtE(double value, int width, int decimals, int exponentDigits) {
  return editE(value, width, decimals, exponentDigits, 0);
}

std::string fmtPE(double value, int width, int decimals, int exponentDigits) {
  return editE(value, width, decimals, exponentDigits, 1);
}

std::string fmtG(double value, int width, int decimals, int exponentDigits) {
  if (!std::isfinite(value)) return nonFinite(value, width);
  const int trailing = exponentDigits > 0 ? exponentDigits + 2 : 4;
  if (value == 0.0) {
    return fmtF(value, width - trailing, decimals > 0 ? decimals - 1 : 0) + std::string(trailing, ' ');
  }
  if (decimals <= 0) return editE(value, width, decimals, exponentDigits, 0);
  // Decimal exponent of the value rounded to d significant digits.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", decimals - 1, std::fabs(value));
  const int exponent = std::atoi(std::string_view(buffer).substr(std::string_view(buffer).find('e') + 1).data());
  if (exponent < -1 || exponent >= decimals) return editE(value, width, decimals, exponentDigits, 0);
  const int digitsBeforePoint = exponent + 1;
  return fmtF(value, width - trailing, decimals - digitsBeforePoint) + std::string(trailing, ' ');
}

std::string fmtA(std::string_view text, int width) {
  if (static_cast<int>(text.size()) >= width) return std::string(text.substr(0, width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string padRight(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, std::min(text.size(), width)));
  out.resize(width, ' ');
  return out;
}

std::string_view trimRight(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}
