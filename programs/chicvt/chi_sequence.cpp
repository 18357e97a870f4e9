// CHI file names of a numbered sequence.
#include "chi_sequence.hpp"

#include <string>

#include "terminal/fortran_format.hpp"  // trimRight

namespace {

// Position (0-based) of the first "." of the file name, directories skipped
// so that "../run_1/scan_1.chi" splits at ".chi"; npos when there is none.
std::size_t firstDot(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  return name.find('.', slash == std::string_view::npos ? 0 : slash + 1);
}

// The data-set number: 1 to 3 digits, any other count reads as 0.
// 0: read; 1: 1 to 3 characters that are not all digits.
int sequenceNumber(std::string_view digits, int& number) {
  number = 0;
  if (digits.empty() || digits.size() > 3) return 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 1;
    number = 10 * number + (c - '0');
  }
  return 0;
}

}  // namespace

int parseFirstName(std::string_view name, ChiSequence& sequence, std::string& message) {
  name = trimRight(name);
  const std::size_t dot = firstDot(name);
  if (dot == std::string_view::npos) {
    message = " ERROR - no '.' in the file name " + std::string(name);
    return 1;
  }
  const std::size_t slash = name.rfind('/', dot);
  const std::size_t underscore = name.rfind('_', dot);
  if (underscore == std::string_view::npos || (slash != std::string_view::npos && underscore < slash)) {
    message = " ERROR - no '_' before the '.' in the file name " + std::string(name);
    return 1;
  }
  const std::string_view digits = name.substr(underscore + 1, dot - underscore - 1);
  if (sequenceNumber(digits, sequence.firstNumber) != 0) {
    message = " ERROR - no data set number before the '.' in the file name " + std::string(name);
    return 1;
  }
  sequence.prefix = std::string(name.substr(0, underscore + 1));
  sequence.suffix = std::string(name.substr(dot));
  // Only a number that was read sets the width (a 4-digit one reads as 0).
  sequence.minDigits = (digits.size() >= 1 && digits.size() <= 3) ? static_cast<int>(digits.size()) : 1;
  return 0;
}

int parseLastName(std::string_view name, ChiSequence& sequence, std::string& message) {
  name = trimRight(name);
  if (name.substr(0, sequence.prefix.size()) != sequence.prefix) {
    message = " ERROR - first & last files not from sequence";
    return 1;
  }
  const std::size_t dot = firstDot(name);
  if (dot == std::string_view::npos || dot < sequence.prefix.size()) {
    message = " ERROR - no '.' in the file name " + std::string(name);
    return 2;
  }
  const std::string_view digits = name.substr(sequence.prefix.size(), dot - sequence.prefix.size());
  if (sequenceNumber(digits, sequence.lastNumber) != 0) {
    message = " ERROR - no data set number before the '.' in the file name " + std::string(name);
    return 2;
  }
  return 0;
}

std::string sequenceName(const ChiSequence& sequence, int number) {
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) < sequence.minDigits) digits.insert(0, sequence.minDigits - digits.size(), '0');
  return sequence.prefix + digits + sequence.suffix;
}

std::string outputName(std::string_view chiName) {
  chiName = trimRight(chiName);
  return std::string(chiName.substr(0, firstDot(chiName))) + ".TLK";
}
