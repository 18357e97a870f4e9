// Histogram description and status lines.
#include "histogram_status.hpp"

#include "histogram_records.hpp"
#include "terminal/fixed_field.hpp"     // Field, readRealField
#include "terminal/fortran_format.hpp"  // fmtI, fmtF, padRight
#include "terminal/unit_table.hpp"

namespace {

// Value columns of the records read here (counted from 1 at record column 13).
constexpr Field kTitle{3, 66};
constexpr Field kBank{1, 5};
constexpr Field kBankTwoTheta{11, 10};  // "BNKPAR"
constexpr Field kFirstConstant{1, 10};  // " ICONS": two-theta or wavelength
constexpr Field kSecondConstant{11, 10};
constexpr std::size_t kTitleShown = 60;

struct StatusText {
  char letter;
  const char* line;
};

// Second line of a powder histogram that is not ready.
constexpr StatusText kPowderReasons[] = {
    {'R', " Histogram needs to be processed by DIFPREP"},
    {'E', " Minimum d-spacing must be set before processing by DIFPREP"},
    {'X', " Histogram is the VICTIM of an aborted DIFPREP run"},
};

constexpr StatusText kSingleCrystalStates[] = {
    {'R', " Histogram needs to be processed by SXCOR"},
    {'F', " Histogram peak positions have been determined by SPOTFN"},
    {'G', " Histogram peak positions determined by SPOTFN, but will NOT be used"},
    {'I', " Histogram intensity data has been generated with BOXTALLYR"},
    {'N', " New SCD histogram which has not been processed with either SPOTFN or BOXTALLYR"},
    {'X', " Histogram is the VICTIM of an aborted SXCOR run"},
};

float readReal(int experimentUnit, int histogram, std::string_view item, Field field) {
  std::string value;
  readHistogramRecord(experimentUnit, histogram, item, value);
  float number = 0.0f;
  if (readRealField(value, field, 0, number) != 0) number = 0.0f;
  return number;
}

int readBank(int experimentUnit, int histogram) {
  std::string value;
  readHistogramRecord(experimentUnit, histogram, " BANK ", value);
  int bank = 0;
  if (readIntField(value, kBank, bank) != 0) bank = 0;
  return bank;
}

void addStatusLines(std::vector<std::string>& lines, char kind, char status) {
  if (status == ' ') {
    lines.push_back(" **** Histogram will be used in least-squares");
  } else if (status == '*') {
    lines.push_back(" **** Histogram will not be used in least-squares");
  } else if (kind == 'P') {
    lines.push_back(" Histogram is not ready to be used in least-squares");
    for (const StatusText& reason : kPowderReasons)
      if (reason.letter == status) lines.push_back(reason.line);
  } else if (kind == 'S') {
    for (const StatusText& state : kSingleCrystalStates)
      if (state.letter == status) lines.push_back(state.line);
  }
}

}  // namespace

std::vector<std::string> histogramStatusLines(int experimentUnit, int histogram, std::string_view type) {
  const std::string code = padRight(type, 4);
  const std::string instrument = code.substr(0, 3);
  std::string record;
  readHistogramRecord(experimentUnit, histogram, "  HNAM", record);
  const std::string title = padRight(fieldText(record, kTitle), kTitle.width);
  const std::string numberText = " Histogram no. " + fmtI(histogram, 3);

  std::vector<std::string> lines;
  if (instrument == "PNT" || instrument == "PXE") {
    const int bank = readBank(experimentUnit, histogram);
    const float twoTheta = instrument[2] == 'T' ? readReal(experimentUnit, histogram, "BNKPAR", kBankTwoTheta)
                                                : readReal(experimentUnit, histogram, " ICONS", kFirstConstant);
    lines.push_back(numberText + " Bank no." + fmtI(bank, 3) + " Two-theta = " + fmtF(twoTheta, 8, 2));
  } else if (instrument == "PNC") {
    const int bank = readBank(experimentUnit, histogram);
    const float lambda = readReal(experimentUnit, histogram, " ICONS", kFirstConstant);
    lines.push_back(numberText + " Bank no." + fmtI(bank, 3) + " Lambda = " + fmtF(lambda, 8, 5));
  } else if (instrument == "PXC") {
    const int bank = readBank(experimentUnit, histogram);
    const float lambda1 = readReal(experimentUnit, histogram, " ICONS", kFirstConstant);
    const float lambda2 = readReal(experimentUnit, histogram, " ICONS", kSecondConstant);
    lines.push_back(numberText + " Bank no." + fmtI(bank, 3) + " Lambda1,lambda2 = " + fmtF(lambda1, 8, 5) +
                    fmtF(lambda2, 8, 5));
  } else {
    lines.push_back(numberText);
  }
  lines.push_back(" Title: " + title.substr(0, kTitleShown));
  addStatusLines(lines, code[0], code[3]);
  return lines;
}

void ShowHistogramStatus(int experimentUnit, int histogram, std::string_view type) {
  for (const std::string& line : histogramStatusLines(experimentUnit, histogram, type))
    unitTable().writeLine(UnitTable::kTerminalOut, line);
}
