// Reading the .RFL reflection-list layout.
#include "reflection_list.hpp"

#include "terminal/fixed_field.hpp"
#include "terminal/run_stop.hpp"  // ioErrorReport
#include "terminal/unit_table.hpp"

namespace {

// One reflection line of a .RFL file (line 1 is a header).
constexpr Field kH{1, 4}, kK{5, 4}, kL{9, 4}, kCode{13, 8};
constexpr Field kPosition{31, 10}, kWidth{41, 10}, kFlag{81, 4};

[[noreturn]] void badField(int unit, const char* columns) {
  ioErrorReport(unit, std::string("bad value in columns ") + columns + " of line " +
                          std::to_string(unitTable().linesRead(unit)));
}

int intField(int unit, const std::string& line, Field field, const char* columns) {
  int value = 0;
  if (readIntField(line, field, value) != 0) badField(unit, columns);
  return value;
}

float realField(int unit, const std::string& line, Field field, const char* columns) {
  float value = 0.0f;
  if (readRealField(line, field, 0, value) != 0) badField(unit, columns);
  return value;
}

// Reads the next line or ends the run: the list must end with its end line.
void nextLine(int unit, std::string& line) {
  const int status = unitTable().readLine(unit, line);
  if (status == -1) ioErrorReport(unit, "end of file before the end-of-list line");
  if (status != 0) ioErrorReport(unit, "read error after line " + std::to_string(unitTable().linesRead(unit)));
}

}  // namespace

ReflectionList readReflectionList(int unit) {
  ReflectionList list;
  std::string line;
  nextLine(unit, line);  // header
  while (list.reflections.size() < ReflectionList::kMaxReflections) {
    nextLine(unit, line);
    ListedReflection reflection;
    reflection.id = {intField(unit, line, kH, "1-4"), intField(unit, line, kK, "5-8"),
                     intField(unit, line, kL, "9-12"), intField(unit, line, kCode, "13-20")};
    if (reflection.id == ReflectionId{}) return list;
    reflection.position = realField(unit, line, kPosition, "31-40");
    reflection.width = realField(unit, line, kWidth, "41-50");
    if (intField(unit, line, kFlag, "81-84") != 0) continue;
    list.reflections.push_back(reflection);
  }
  list.truncated = true;
  return list;
}
