// The records that describe the experiment file itself: the version record,
// the run history, the phase list and the histogram directory, and the key
// prefixes of the per-histogram and per-phase-and-histogram records.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The current version of the experiment file layout.
constexpr int kCurrentFileVersion = 6;
constexpr int kPhaseSlots = 9;

// Reads "     VERSION" (value columns 1-5). 0: read; 1: no version record
// (version is then 0). A version field that is not a number ends the run with
// the input/output error report naming the file.
int ReadFileVersion(int expUnit, int& version);

// Writes the experiment's last history record ("    HSTRY" + number) to the
// listing: " The last history record is :" and the record after one blank, with
// 2 lines reserved first. nextNumber gets the number the next history record
// would take (1 when there is none; nothing is written then).
void ShowLastHistory(int expUnit, int listUnit, int& nextNumber);

// The phase list " EXPR NPHAS" in either layout (9 fields of 5 columns, or the
// old 9 of 3): types[p-1] > 0 when phase p is present. A missing record gives 9
// zeros; a field that is not a number ends the run with the error report.
void ReadPhaseTypes(int expUnit, std::array<int, kPhaseSlots>& types);

// The phase list from the value of " EXPR NPHAS": 5-column fields when value
// column 3 is blank, else the old 3-column fields. 0: read; 1: a field is not a
// number (types then hold the fields read before it, zeros after).
int ParsePhaseList(std::string_view value, std::array<int, kPhaseSlots>& types);

// The histogram count from the value of " EXPR  NHST ". 0: read; 1: not a
// number; 2: outside 0 to 99 (histogram numbers have two key columns).
int ParseHistogramCount(std::string_view value, int& count);

// The histogram directory: count from " EXPR  NHST " (0 when missing) and the
// 4-character type codes from the " EXPR  HTYP<g>" records: types[h-1] is the
// code of histogram h; types holds 12 codes per record read (missing codes are
// blank). A count that is not a number or lies outside 0 to 99 ends the run with
// the input/output error report naming the file.
void ReadHistogramDirectory(int expUnit, int& count, std::vector<std::string>& types);

// "HST " and the histogram number right-justified in 2 columns (6 characters).
std::string HistogramKeyPrefix(int histogram);
// "HAP", the phase number in 1 column and the histogram number in 2 columns.
std::string PhaseHistogramKeyPrefix(int phase, int histogram);
