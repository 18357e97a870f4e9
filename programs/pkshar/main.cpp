// PKSHAR: overlap factors of the reflections of a first .RFL file, alone and
// over up to nine further reflection lists; written to a .TXT file.
#include <cstdio>
#include <string>
#include <vector>

#include "overlap_factors.hpp"
#include "reflection_list.hpp"
#include "terminal/fortran_format.hpp"
#include "terminal/listing.hpp"
#include "terminal/run_stop.hpp"
#include "terminal/term_input.hpp"
#include "terminal/unit_table.hpp"

namespace {

constexpr std::size_t kMaxFiles = 10;
constexpr int kScreen = UnitTable::kTerminalOut;

// The first file's name up to and including its first "." (within the file
// name, not its directories), followed by "TXT".
std::string outputName(const std::string& firstFile) {
  const std::size_t nameStart = firstFile.rfind('/') == std::string::npos ? 0 : firstFile.rfind('/') + 1;
  const std::size_t dot = firstFile.find('.', nameStart);
  return (dot == std::string::npos ? firstFile.substr(0, nameStart) : firstFile.substr(0, dot + 1)) + "TXT";
}

ReflectionList readFile(const std::string& name, int fileNumber) {
  int unit = 20;
  FindFreeUnit(unit);
  const int status = unitTable().open(unit, name, "r");
  if (status != 0) ioErrorReport(unit, "cannot open the reflection list", name);
  ReflectionList list = readReflectionList(unit);
  unitTable().close(unit);
  unitTable().writeLine(kScreen, fmtI(static_cast<long long>(list.reflections.size()), 5) +
                                     " reflections read for .RFL file no. " + fmtI(fileNumber, 2));
  if (list.truncated) unitTable().writeLine(kScreen, " No more than 10000 reflections can be read");
  return list;
}

// Asks for the files and reads them; returns the lists and the first name.
std::vector<ReflectionList> readAllFiles(std::string& firstName) {
  std::vector<ReflectionList> lists;
  std::string answer(TermInput::kAnswerLineLength, ' ');
  termInput().nextItem("Enter name of first .RFL file to read", 0, answer);
  firstName = std::string(trimRight(answer));
  lists.push_back(readFile(firstName, 1));
  while (lists.size() < kMaxFiles) {
    answer.assign(TermInput::kAnswerLineLength, ' ');
    termInput().nextItem("Enter name of next .RFL file to read (blank to finish)", 0, answer);
    const std::string name(trimRight(answer));
    if (name.empty()) break;
    lists.push_back(readFile(name, static_cast<int>(lists.size()) + 1));
  }
  unitTable().writeLine(kScreen, fmtI(static_cast<long long>(lists.size()), 3) + " .RFL files read");
  unitTable().writeLine(kScreen, "");
  unitTable().writeLine(kScreen, "");
  return lists;
}

// Writes the .TXT file under a temporary name and renames it when complete.
void writeFactors(const std::string& outName, const ReflectionList& first,
                  const std::vector<OverlapFactors>& factors) {
  const std::string partName = outName + ".part";
  int unit = 20;
  FindFreeUnit(unit);
  if (unitTable().open(unit, partName, "w") != 0) ioErrorReport(unit, "cannot create the output file", partName);
  for (std::size_t k = 0; k < factors.size(); ++k) {
    const long long number = static_cast<long long>(k) + 1;
    unitTable().writeLine(unit, fmtI(number, 5) + fmtF(first.reflections[k].position, 10, 4) +
                                    fmtG(factors[k].overlap1, 15, 6) + fmtG(factors[k].overlap2, 15, 6));
    if (number % 100 == 0) {
      unitTable().write(kScreen, fmtI(number, 5) + " reflections processed\r");
      std::fflush(stdout);
    }
  }
  const bool written = std::fflush(unitTable().file(unit)) == 0 && !std::ferror(unitTable().file(unit));
  unitTable().close(unit);
  if (!written || std::rename(partName.c_str(), outName.c_str()) != 0) {
    std::remove(partName.c_str());
    ioErrorReport(unit, "cannot write the output file", outName);
  }
}

}  // namespace

int main(int, char** argv) {
  setProgramInvocation(argv[0]);
  listing().banner(kScreen, "PKSHAR", "Computes reflection overlap factor");
  std::string firstName;
  const std::vector<ReflectionList> lists = readAllFiles(firstName);
  writeFactors(outputName(firstName), lists.front(), computeOverlapFactors(lists));
  stopRun("PKSHAR terminated successfully");
}
