// Fixed-column fields of records and input lines, read the way formatted
// Fortran input reads them: blanks ignored, an all-blank field is zero, a real
// without a decimal point takes the field's implied decimals.
#pragma once

#include <string_view>

// One field of a fixed-column layout: 1-based first column and width.
struct Field {
  int start;
  int width;
};

// The field's text; columns past the end of the line read as nothing (blanks).
std::string_view fieldText(std::string_view line, Field field);

// Iw input. 0: read; 1: not an integer (value unchanged).
int readIntField(std::string_view text, int& value);

// Fw.d input (also accepts E, D or a bare sign before the exponent).
// 0: read; 1: not a number (value unchanged).
int readRealField(std::string_view text, int impliedDecimals, float& value);
int readDoubleField(std::string_view text, int impliedDecimals, double& value);

// Convenience forms over a line and a field.
inline int readIntField(std::string_view line, Field field, int& value) {
  return readIntField(fieldText(line, field), value);
}
inline int readRealField(std::string_view line, Field field, int impliedDecimals, float& value) {
  return readRealField(fieldText(line, field), impliedDecimals, value);
}
