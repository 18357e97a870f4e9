// CHICVT: converts a numbered sequence of Fit2D CHI powder profiles into the
// suite's FXYE powder-data files (.TLK), one for each data set.
#include <cerrno>
#include <cstdio>
#include <string>

#include "chi_sequence.hpp"
#include "fxye_conversion.hpp"
#include "terminal/fortran_format.hpp"  // fmtI, trimRight
#include "terminal/listing.hpp"         // setProgramInvocation
#include "terminal/run_stop.hpp"
#include "terminal/term_input.hpp"
#include "terminal/unit_table.hpp"

namespace {

constexpr int kScreen = UnitTable::kTerminalOut;

void say(const std::string& line) { unitTable().writeLine(kScreen, line); }

std::string askName(const char* prompt) {
  std::string name(TermInput::kAnswerLineLength, ' ');
  termInput().nextItem(prompt, 1, name);
  return std::string(trimRight(name));
}

// Reads the whole of the file open on unit. 0: read; otherwise errno.
int readWholeFile(int unit, std::string& content) {
  std::FILE* file = unitTable().file(unit);
  content.clear();
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  return std::ferror(file) ? EIO : 0;
}

// One data set: the CHI file read whole, the FXYE file written whole. Bad
// input ends the run with the runtime's report and leaves no output file.
// The buffers are kept from one data set to the next.
void convertDataSet(const std::string& chiName) {
  static std::string content, records;
  static ChiProfile profile;
  int unit = 11;
  FindFreeUnit(unit);
  if (unitTable().open(unit, chiName, "r") != 0) {
    say(" Error opening file " + chiName);
    return;
  }
  say(" Processing file " + chiName);
  std::string error;
  if (readWholeFile(unit, content) != 0) ioErrorReport(unit, "read error");
  if (readChiProfile(content, profile, error) != 0) ioErrorReport(unit, error);
  unitTable().close(unit);
  const std::string fxyeName = outputName(chiName);
  fxyeRecords(profile, records);
  if (writeFileWhole(fxyeName, records, error) != 0) ioErrorReport(unit, error, fxyeName);
}

}  // namespace

int main(int, char** argv) {
  setProgramInvocation(argv[0]);
  ChiSequence sequence;
  std::string message;
  const std::string firstName = askName("Enter first Fit2D CHI datafile to process");
  if (parseFirstName(firstName, sequence, message) != 0) {
    say(message);
    stopRun({}, 1);
  }
  say(" First data set no:" + fmtI(sequence.firstNumber, 5));
  const std::string lastName = askName("Enter last Fit2D CHI datafile to process");
  if (parseLastName(lastName, sequence, message) != 0) {
    say(message);
    stopRun({}, 1);
  }
  say(" Process data nos." + fmtI(sequence.firstNumber, 5) + " to" + fmtI(sequence.lastNumber, 5));
  for (int number = sequence.firstNumber; number <= sequence.lastNumber; ++number)
    convertDataSet(number == sequence.firstNumber ? firstName : sequenceName(sequence, number));
  return 0;
}
