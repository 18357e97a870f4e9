// Readers of the version, history, phase-list and histogram-directory records,
// and the histogram key prefixes.
#include "expfile/directory_records.hpp"

#include "expfile/exp_store.hpp"
#include "terminal/fixed_field.hpp"
#include "terminal/fortran_format.hpp"  // fmtI
#include "terminal/listing.hpp"
#include "terminal/run_stop.hpp"        // ioErrorReport
#include "terminal/unit_table.hpp"

namespace {

// Value columns of the directory records (counted from 1 at record column 13).
constexpr Field kVersionField{1, 5};
constexpr Field kHistogramCountField{1, 5};
constexpr Field kOldLayoutMark{3, 1};  // blank in the 5-column phase list layout
constexpr Field kHistoryNumber{10, 3};  // record columns of the history number
constexpr int kTypesPerRecord = 12;
constexpr int kMaxHistograms = 99;  // the key layouts hold two digits

constexpr std::string_view kVersionKey = "     VERSION";
constexpr std::string_view kHistoryPrefix = "    HSTRY";
constexpr std::string_view kPhaseListKey = " EXPR NPHAS ";
constexpr std::string_view kHistogramCountKey = " EXPR  NHST ";
constexpr std::string_view kHistogramTypeKey = " EXPR  HTYP";

[[noreturn]] void badRecord(int expUnit, std::string_view key, std::string_view what) {
  ioErrorReport(expUnit, "record \"" + std::string(key) + "\": " + std::string(what));
}

}  // namespace

int ReadFileVersion(int expUnit, int& version) {
  std::string value;
  version = 0;
  if (expStore().read(expUnit, kVersionKey, value) != 0) return 1;
  if (readIntField(value, kVersionField, version) != 0) badRecord(expUnit, kVersionKey, "the version is not a number");
  return 0;
}

void ShowLastHistory(int expUnit, int listUnit, int& nextNumber) {
  // Only keys that begin with the history prefix and carry a number count, so
  // that no other record sorting near them is taken for a history line.
  std::string line;
  int lastNumber = 0;
  std::string value;
  std::string key;
  int status = expStore().read(expUnit, kHistoryPrefix, value);
  if (status == 0) {
    // The prefix read leaves the cursor on the first history record; step back
    // onto it through next by re-reading its full key.
    key = std::string(kHistoryPrefix) + value.substr(0, 3);
    value = std::string(kValueLength, ' ');
    expStore().read(expUnit, key, value);
  }
  while (status == 0 && key.compare(0, kHistoryPrefix.size(), kHistoryPrefix) == 0) {
    int number = 0;
    const std::string record = key + value;
    if (readIntField(record, kHistoryNumber, number) == 0) {
      line = record;
      lastNumber = number;
    }
    status = expStore().next(expUnit, key, value);
  }
  if (line.empty()) {
    nextNumber = 1;
    return;
  }
  listing().reserve(listUnit, 2);
  unitTable().writeLine(listUnit, " The last history record is :");
  unitTable().writeLine(listUnit, " " + line);
  nextNumber = lastNumber + 1;
}

int ParsePhaseList(std::string_view value, std::array<int, kPhaseSlots>& types) {
  types.fill(0);
  const int width = fieldText(value, kOldLayoutMark) == " " || fieldText(value, kOldLayoutMark).empty() ? 5 : 3;
  for (int phase = 0; phase < kPhaseSlots; ++phase)
    if (readIntField(value, Field{1 + phase * width, width}, types[phase]) != 0) return 1;
  return 0;
}

void ReadPhaseTypes(int expUnit, std::array<int, kPhaseSlots>& types) {
  std::string value;
  expStore().read(expUnit, kPhaseListKey, value);
  if (ParsePhaseList(value, types) != 0) badRecord(expUnit, kPhaseListKey, "a phase slot is not a number");
}

int ParseHistogramCount(std::string_view value, int& count) {
  count = 0;
  if (readIntField(value, kHistogramCountField, count) != 0) return 1;
  return count < 0 || count > kMaxHistograms ? 2 : 0;
}

void ReadHistogramDirectory(int expUnit, int& count, std::vector<std::string>& types) {
  count = 0;
  types.clear();
  std::string value;
  if (expStore().read(expUnit, kHistogramCountKey, value) != 0) return;
  switch (ParseHistogramCount(value, count)) {
    case 1: badRecord(expUnit, kHistogramCountKey, "the histogram count is not a number");
    case 2: badRecord(expUnit, kHistogramCountKey, "the histogram count " + std::to_string(count) + " is outside 0 to 99");
  }
  if (count == 0) return;
  const int groups = (count - 1) / kTypesPerRecord + 1;
  for (int group = 1; group <= groups; ++group) {
    value.assign(kValueLength, ' ');
    expStore().read(expUnit, std::string(kHistogramTypeKey) + std::to_string(group), value);
    for (int slot = 0; slot < kTypesPerRecord; ++slot) types.emplace_back(fieldText(value, Field{3 + 5 * slot, 4}));
  }
}

std::string HistogramKeyPrefix(int histogram) { return "HST " + fmtI(histogram, 2); }

std::string PhaseHistogramKeyPrefix(int phase, int histogram) {
  return "HAP" + fmtI(phase, 1) + fmtI(histogram, 2);
}
