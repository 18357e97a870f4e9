// The numbered sequence of CHI file names CHICVT walks: a prefix ending in
// "_", the data-set number, and the rest of the first name from its first ".".
#pragma once

#include <string>
#include <string_view>

struct ChiSequence {
  std::string prefix;  // the name up to and including the "_" before the number
  std::string suffix;  // the first name from its first "." to its end
  int firstNumber = 0;
  int lastNumber = 0;
  int minDigits = 1;   // digit count of the first number: zero padding is kept
};

// Splits the first name. Status 0: read; otherwise message holds the error
// line. A number of other than 1 to 3 digits reads as 0.
int parseFirstName(std::string_view name, ChiSequence& sequence, std::string& message);

// Reads the last number from the last name. Status 0: read; 1: the name is
// not from the sequence (another prefix); 2: other errors, in message.
int parseLastName(std::string_view name, ChiSequence& sequence, std::string& message);

// The name of data set number in the sequence: the prefix, the number in at
// least minDigits digits, the suffix.
std::string sequenceName(const ChiSequence& sequence, int number);

// The FXYE file written for a CHI file: its name up to the first "." of the
// file name, then ".TLK".
std::string outputName(std::string_view chiName);
