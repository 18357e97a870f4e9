// The description and status of one histogram as RFLSUM shows it: number,
// bank and instrument values, title, and what the suite's other programs have
// left the histogram ready for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines for histogram `histogram` of type code `type` (4 characters:
// "P"/"S", instrument kind, status letter), without their line ends.
// Missing records read as a blank title and zero values.
std::vector<std::string> histogramStatusLines(int experimentUnit, int histogram, std::string_view type);

// Writes those lines to standard output.
void ShowHistogramStatus(int experimentUnit, int histogram, std::string_view type);
