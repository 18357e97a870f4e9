// Opening an experiment on the read-only path: name, experiment file, version
// and end-record checks, and the listing choice.
#include "expfile/experiment_open.hpp"

#include <unistd.h>

#include <cerrno>

#include "expfile/directory_records.hpp"  // ReadFileVersion, kCurrentFileVersion
#include "expfile/exp_store.hpp"
#include "terminal/fortran_format.hpp"  // fmtI, trimRight
#include "terminal/run_stop.hpp"
#include "terminal/term_input.hpp"
#include "terminal/unit_table.hpp"

namespace {

constexpr int kArgumentLength = 255;
constexpr std::size_t kPromptNameLength = 20;
constexpr std::string_view kExtension = ".EXP";

void say(std::string_view line) { unitTable().writeLine(UnitTable::kTerminalOut, line); }

// Upper-cased, cut at the first blank (the text is first fitted to length).
std::string nameWord(std::string_view text, std::size_t length) {
  std::string word(text.substr(0, length));
  UpperCase(word, static_cast<int>(word.size()));
  const std::size_t blank = word.find(' ');
  if (blank != std::string::npos) word.resize(blank);
  return word;
}

std::string workingDirectory() {
  std::string buffer(4096, '\0');
  if (!getcwd(buffer.data(), buffer.size())) return std::string();
  buffer.resize(buffer.find('\0'));
  return std::string(trimRight(buffer));
}

bool isMode(std::string_view mode, std::string_view word) { return trimRight(mode) == word; }

void checkVersion(int unit) {
  int version = 0;
  ReadFileVersion(unit, version);
  if (version < kCurrentFileVersion) {
    say(" **** WARNING *****   This is an old EXP file");
    say("  It is version " + fmtI(version, 3) + " and current files are version " + fmtI(kCurrentFileVersion, 3));
    say(" Use SETUPR to convert it.");
  } else if (version > kCurrentFileVersion) {
    say(" ******\a  This file is from a later version of TELK than this one.");
    say(" \a It cannot be processed with this version of TELK.");
    stopRun("Program terminated in OPNEXP", 1);
  }
}

}  // namespace

void GetExperimentName(std::string_view programName, const std::vector<std::string>& arguments,
                       std::string& name, std::string& directory, int& asked) {
  if (!arguments.empty()) {
    name = nameWord(arguments.front(), kArgumentLength);
    // Only an extension at the end is dropped: "A.EXPB" stays as it is.
    if (name.size() >= kExtension.size() && name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) == 0)
      name.resize(name.size() - kExtension.size());
    asked = 0;
  } else {
    const std::string prompt = "Enter the experiment name for " + std::string(programName.substr(0, kPromptNameLength));
    do {
      std::string answer(TermInput::kAnswerLineLength, ' ');
      termInput().nextItem(prompt, 0, answer);
      name = nameWord(answer, answer.size());
    } while (name.empty());
    asked = 1;
  }
  directory = workingDirectory();
}

void OPNEXP(std::string_view mode, const std::string& fileName, int& unit, int& status) {
  FindFreeUnit(unit);
  const bool readOnly = isMode(mode, "READ") || isMode(mode, "NOTNEEDED");
  if (readOnly) {
    status = unitTable().open(unit, fileName, "rb");
  } else {
    status = unitTable().open(unit, fileName, "r+b");
    if (status == ENOENT && isMode(mode, "NEW")) status = unitTable().open(unit, fileName, "w+b");
  }
  if (status != 0) return;
  checkVersion(unit);
}

void OpenListing(const std::string& name, int asked, std::string_view listOption, int& listUnit) {
  if (asked != 0 || !isMode(listOption, "LIST")) {
    listUnit = UnitTable::kTerminalOut;
    return;
  }
  FindFreeUnit(listUnit);
  const std::string listName = name + ".LST";
  if (const int status = unitTable().open(listUnit, listName, "a"); status != 0) {
    say(" ERROR - File " + listName + " cannot be opened for the listing");
    StopOnIoError(status, listUnit);
  }
}

void STRTRN(std::string_view programName, std::string_view mode, std::string_view listOption,
            const std::vector<std::string>& arguments, OpenExperiment& experiment) {
  if (!isMode(mode, "READ") && !isMode(mode, "NOTNEEDED"))
    internalErrorStop("STRTRN: only the read-only modes READ and NOTNEEDED are supported");
  experiment.termUnit = UnitTable::kTerminalOut;
  GetExperimentName(programName, arguments, experiment.name, experiment.directory, experiment.asked);
  experiment.fileName = experiment.name + std::string(kExtension);

  int status = 0;
  OPNEXP("READ", experiment.fileName, experiment.expUnit, status);
  if (status != 0) {
    if (isMode(mode, "NOTNEEDED"))
      say(" ERROR - File " + experiment.fileName + " is in error or else not accessible");
    else
      say(" ERROR - File " + experiment.fileName + " does not exist - check your directory");
    StopOnIoError(status, experiment.expUnit);
  }
  std::string value;
  if (expStore().read(experiment.expUnit, kEndKey, value) != 0) {
    say(" *** ERROR - Experiment file is incomplete ***");
    if (trimRight(programName) != "SETUPR") stopRun(" Run terminated in STRTRN", 1);
  }
  OpenListing(experiment.name, experiment.asked, listOption, experiment.listUnit);
}
