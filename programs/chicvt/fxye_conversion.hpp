// A Fit2D CHI powder profile (2-theta in degrees against intensity) and its
// conversion into the suite's FXYE powder-data file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ChiProfile {
  std::string title;              // line 1, blank-padded to 80 columns
  std::vector<float> twoTheta;    // degrees
  std::vector<float> intensity;
};

// Reads a CHI file's text into profile (its storage reused). 0: read; 1: bad input, described in error (with
// the line number): a file shorter than its point count, a field that is not
// a number, a negative count.
int readChiProfile(std::string_view content, ChiProfile& profile, std::string& error);

// The FXYE file of a profile into out (its storage reused): the title, the
// BANK line, one line per point; every record 80 columns followed by CR LF.
void fxyeRecords(const ChiProfile& profile, std::string& out);

// Writes content to path through a temporary file renamed into place, so that
// path is either the complete new file or untouched (a longer old file is
// replaced, not overwritten in part). 0: written; otherwise errno, with the
// failing operation in error.
int writeFileWhole(const std::string& path, std::string_view content, std::string& error);
