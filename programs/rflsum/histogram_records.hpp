// Per-histogram records of the experiment ("HST " + histogram number in two
// columns + a 6-character item), read and written through the experiment store.
#pragma once

#include <string>
#include <string_view>

// 0: found, value = the record's 68 value columns; 1: missing, value blank.
int readHistogramRecord(int experimentUnit, int histogram, std::string_view item, std::string& value);

// The integer in value columns 1-5. 0: read; 1: missing or not a number
// (value unchanged).
int readHistogramInteger(int experimentUnit, int histogram, std::string_view item, int& value);

// Writes (replaces or adds) one histogram record.
void writeHistogramRecord(int experimentUnit, int histogram, std::string_view item, std::string_view value);
