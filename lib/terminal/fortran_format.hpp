// Numbers and texts written the way Fortran edit descriptors write them: every
// column of the suite's listings and files is built with these helpers.
#pragma once

#include <string>
#include <string_view>

// Iw (and Iw.m): right-justified integer; asterisks when it does not fit.
std::string fmtI(long long value, int width, int minDigits = 1);

// Fw.d: fixed point, rounded to nearest (ties to even on exact binary ties);
// the leading "0" is dropped when there is no room for it; a negative value that
// rounds to zero keeps its sign ("-0.00").
std::string fmtF(double value, int width, int decimals);

// Ew.d (Ew.dEe when exponentDigits > 0): 0.ddddddE+xx.
std::string fmtE(double value, int width, int decimals, int exponentDigits = 0);

// 1PEw.d: one digit before the point, d.ddddddE+xx.
std::string fmtPE(double value, int width, int decimals, int exponentDigits = 0);

// Gw.d: fixed point with d significant digits and 4 trailing blanks for
// magnitudes from 0.1 to 10**d, else Ew.d.
std::string fmtG(double value, int width, int decimals, int exponentDigits = 0);

// Aw: text cut to its leftmost w characters, or right-justified in w columns.
std::string fmtA(std::string_view text, int width);

// Text cut or blank-padded on the right to exactly width characters (a
// fixed-length character variable).
std::string padRight(std::string_view text, std::size_t width);

// Text without its trailing blanks.
std::string_view trimRight(std::string_view text);
