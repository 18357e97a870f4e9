// Numbered file units: the suite opens every file on a unit number, as the
// Fortran runtime did. Unit 5 is the terminal input, unit 6 standard output.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class UnitTable {
 public:
  static constexpr int kTerminalIn = 5;
  static constexpr int kTerminalOut = 6;
  static constexpr int kMaxUnit = 99;

  // Opens path on unit with an fopen mode ("r", "w", "a", "rb", "r+b", ...).
  // 0: opened; otherwise the errno of the failure (the unit stays closed).
  int open(int unit, const std::string& path, const char* mode);
  void close(int unit);
  bool isOpen(int unit) const;
  // The stream of an open unit; stdin/stdout for units 5 and 6; null otherwise.
  std::FILE* file(int unit) const;
  // The file name the unit was opened with ("stdin"/"stdout" for 5 and 6).
  std::string name(int unit) const;
  // Lines read so far on the unit through readLine (for error reports).
  long linesRead(int unit) const;

  // Reads one text line (without its line end, a trailing CR dropped).
  // 0: read; -1: end of file; otherwise errno of the failure.
  int readLine(int unit, std::string& line);
  // Writes text and a line end.
  void writeLine(int unit, std::string_view text);
  // Writes text without a line end.
  void write(int unit, std::string_view text);

 private:
  struct Slot {
    std::FILE* stream = nullptr;
    std::string name;
    long lines = 0;
  };
  Slot slots_[kMaxUnit + 1];
  Slot& slot(int unit);
  const Slot* find(int unit) const;
};

// The process's unit table.
UnitTable& unitTable();

// From the proposed unit (or from 11 when it lies outside 11 to 90) upwards,
// the first unit on which no file is open; returned in place.
void FindFreeUnit(int& unit);
