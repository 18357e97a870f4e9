// A reflection list (.RFL file): reflections with a peak position and width,
// as one of PKSHAR's input files.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A reflection's identity: Miller indices and the code of columns 13-20.
struct ReflectionId {
  int h = 0, k = 0, l = 0, code = 0;
  bool operator==(const ReflectionId&) const = default;
};

struct ListedReflection {
  ReflectionId id;
  float position = 0.0f;
  float width = 0.0f;
};

struct ReflectionList {
  static constexpr std::size_t kMaxReflections = 10000;
  std::vector<ListedReflection> reflections;  // the kept ones, in file order
  bool truncated = false;                     // the limit was reached
};

// Reads a .RFL file on the given unit (already open): the header line is
// skipped, reflections with a non-zero flag are skipped, the list ends at
// 0 0 0 with code 0 or when the limit is reached. A missing end-of-list line
// or a line out of layout ends the run with the input/output error report.
ReflectionList readReflectionList(int unit);
