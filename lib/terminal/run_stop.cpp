// The ways a run ends: the stop convention, the input/output failure stop and
// the runtime's error report.
#include "run_stop.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fortran_format.hpp"  // fmtI
#include "unit_table.hpp"

namespace {

[[noreturn]] void endProcess(int status) {
  std::fflush(nullptr);
  std::exit(status);
}

}  // namespace

void stopRun(std::string_view text, int exitStatus) {
  std::fflush(stdout);
  if (!trimRight(text).empty())
    std::fprintf(stderr, "STOP %.*s statement executed\n", static_cast<int>(text.size()), text.data());
  endProcess(exitStatus);
}

void missingRecordStop(std::string_view key) {
  while (!key.empty() && (key.back() == ' ' || key.back() == '\0')) key.remove_suffix(1);
  unitTable().writeLine(UnitTable::kTerminalOut, " ISAM record with KEY = \"" + std::string(key) + "\" has problems.");
  endProcess(1);
}

void StopOnIoError(int status, int unit) {
  unitTable().writeLine(UnitTable::kTerminalOut, " FORTRAN error number" + fmtI(status, 4) + " on unit" + fmtI(unit, 3));
  // A failed open, read or write is not a success: the exit status says so.
  endProcess(1);
}

void ioErrorReport(int unit, std::string_view what, std::string_view fileName) {
  std::fflush(stdout);
  const std::string name = fileName.empty() ? unitTable().name(unit) : std::string(fileName);
  std::fprintf(stderr, "Input/output error (unit = %d, file = '%s'): %.*s\n", unit, name.c_str(),
               static_cast<int>(what.size()), what.data());
  endProcess(2);
}

void internalErrorStop(std::string_view what) {
  std::fflush(stdout);
  std::fprintf(stderr, "Internal error: %.*s\n", static_cast<int>(what.size()), what.data());
  endProcess(3);
}
