// The RFLSUM run after the experiment is open: the histogram list, the
// questions, and for each chosen histogram its status, its reflections and the
// statistics table on the terminal and the listing.
#pragma once

#include <string>
#include <vector>

struct SummaryUnits {
  int experiment;
  int listing;
  int terminal;
};

// Works through the histograms of the directory (types[i] is the code of
// histogram i + 1). In the all-histograms mode one table at the end covers
// every processed histogram; one at a time, each histogram gets its own.
void summariseReflections(const SummaryUnits& units, const std::vector<std::string>& types);
