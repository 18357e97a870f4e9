// Fortran-style reading of fixed-column numeric fields.
#include "fixed_field.hpp"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Normalises a real field into text strtod/strtof can read exactly.
// false: not a number.
bool normaliseReal(std::string_view text, int impliedDecimals, std::string& out) {
  std::string packed;
  for (char c : text)
    if (!isBlank(c)) packed += c;
  if (packed.empty()) {
    out = "0";
    return true;
  }
  std::size_t i = 0;
  std::string sign;
  if (packed[i] == '+' || packed[i] == '-') sign = packed[i++] == '-' ? "-" : "";
  std::string integerDigits, fractionDigits;
  bool hasPoint = false;
  while (i < packed.size() && std::isdigit(static_cast<unsigned char>(packed[i]))) integerDigits += packed[i++];
  if (i < packed.size() && packed[i] == '.') {
    hasPoint = true;
    ++i;
    while (i < packed.size() && std::isdigit(static_cast<unsigned char>(packed[i]))) fractionDigits += packed[i++];
  }
  if (integerDigits.empty() && fractionDigits.empty()) return false;
  long exponent = 0;
  if (i < packed.size()) {
    char marker = packed[i];
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd' || marker == 'Q' || marker == 'q') ++i;
    else if (marker != '+' && marker != '-') return false;
    std::string exponentText;
    if (i < packed.size() && (packed[i] == '+' || packed[i] == '-')) exponentText += packed[i++];
    std::size_t digitsStart = i;
    while (i < packed.size() && std::isdigit(static_cast<unsigned char>(packed[i]))) exponentText += packed[i++];
    if (i == digitsStart || i != packed.size()) return false;
    exponent = std::strtol(exponentText.c_str(), nullptr, 10);
    if (exponent > 100000) exponent = 100000;
    if (exponent < -100000) exponent = -100000;
  }
  if (!hasPoint) exponent -= impliedDecimals;
  out = sign + (integerDigits.empty() ? "0" : integerDigits) + "." + fractionDigits + "e" + std::to_string(exponent);
  return true;
}

}  // namespace

std::string_view fieldText(std::string_view line, Field field) {
  const std::size_t start = static_cast<std::size_t>(field.start - 1);
  if (field.start < 1 || start >= line.size()) return {};
  return line.substr(start, static_cast<std::size_t>(field.width));
}

int readIntField(std::string_view text, int& value) {
  std::string packed;
  for (char c : text)
    if (!isBlank(c)) packed += c;
  if (packed.empty()) {
    value = 0;
    return 0;
  }
  std::size_t i = (packed[0] == '+' || packed[0] == '-') ? 1 : 0;
  if (i == packed.size()) return 1;
  for (std::size_t j = i; j < packed.size(); ++j)
    if (!std::isdigit(static_cast<unsigned char>(packed[j]))) return 1;
  errno = 0;
  const long long parsed = std::strtoll(packed.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed > INT_MAX || parsed < INT_MIN) return 1;
  value = static_cast<int>(parsed);
  return 0;
}

int readRealField(std::string_view text, int impliedDecimals, float& value) {
  std::string normalised;
  if (!normaliseReal(text, impliedDecimals, normalised)) return 1;
  value = std::strtof(normalised.c_str(), nullptr);
  return 0;
}

int readDoubleField(std::string_view text, int impliedDecimals, double& value) {
  std::string normalised;
  if (!normaliseReal(text, impliedDecimals, normalised)) return 1;
  value = std::strtod(normalised.c_str(), nullptr);
  return 0;
}
