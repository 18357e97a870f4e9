// The free-format number scanner for answers and control records: integers,
// reals, exponents with "E" or a bare sign ("1.5-3"), fractions ("1/3") and
// a leading S, C or T that takes the sine, cosine or tangent of degrees.
#pragma once

#include <string_view>

// Reads one field of text starting at position (1-based, in/out), at most
// maxChars characters; characters past the end of text read as blanks. The
// field ends at a blank after digits, at a comma, or after maxChars characters;
// position is left after the last character taken. A real written without
// ".", exponent or "/" takes impliedDecimals decimals; a field without digits
// gives defaultValue.
// status 0: read; 1: not a number, or a value beyond single precision
// (result 0, position just after the offending character).
float readNumberField(std::string_view text, int& position, int maxChars, int impliedDecimals,
                      float defaultValue, int& status);

// readNumberField from position 1 with no implied decimals and a default of 0.
float readNumber(std::string_view text, int maxChars, int& status);
