// Fast forms of the two field editings CHICVT spends its time in: reading a
// real from a fixed field and writing Ew.6. They give exactly what the shared
// readRealField and fmtE give (and fall back to them for unusual text).
#pragma once

#include <string>
#include <string_view>

// Fw.d input of one field, as readRealField. 0: read; 1: not a number.
int readRealFieldFast(std::string_view text, int impliedDecimals, float& value);

// Appends value in Ew.6 (0.ddddddE+xx right-justified in width columns), as fmtE.
void appendE6(std::string& out, float value, int width);
