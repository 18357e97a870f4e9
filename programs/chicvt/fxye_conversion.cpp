// CHI profiles in, FXYE powder-data files out.
#include "fxye_conversion.hpp"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "cryst/cell_metric.hpp"        // tanDeg
#include "terminal/fixed_field.hpp"     // Field, readIntField, readRealField
#include "terminal/fortran_format.hpp"  // fmtI, fmtE, fmtPE, padRight

namespace {

// The CHI file: title on line 1, lines 2 and 3 ignored, the count on line 4,
// then one point per line. Reals without a point take 7 implied decimals.
constexpr int kTitleLine = 1, kCountLine = 4;
constexpr Field kPointCount{7, 5};
constexpr Field kTwoTheta{1, 14}, kIntensity{15, 15};
constexpr int kChiImpliedDecimals = 7;

// The FXYE file: fixed records of 80 columns and CR LF.
constexpr std::size_t kRecordColumns = 80;
constexpr std::string_view kRecordEnd = "\r\n";

// BANK line: "BANK 1", N (I5), N (I5), " CONS", start and step in
// centidegrees (1PE13.6 each), " 0 0  FXYE".
std::string bankLine(int pointCount, float start, float step) {
  return "BANK 1" + fmtI(pointCount, 5) + fmtI(pointCount, 5) + " CONS" + fmtPE(start, 13, 6) + fmtPE(step, 13, 6) +
         " 0 0  FXYE";
}

// Data line: position in centidegrees, intensity, uncertainty (E15.6 each).
std::string dataLine(float position, float intensity, float uncertainty) {
  return fmtE(position, 15, 6) + fmtE(intensity, 15, 6) + fmtE(uncertainty, 15, 6);
}

void appendRecord(std::string& out, std::string_view text) {
  const std::size_t used = std::min(text.size(), kRecordColumns);
  out.append(text.substr(0, used));
  out.append(kRecordColumns - used, ' ');
  out.append(kRecordEnd);
}

// Splits text into lines (a trailing CR dropped, as text files from other
// systems end their lines in CR LF).
std::vector<std::string_view> splitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string lineText(int number) { return "line " + std::to_string(number); }

}  // namespace

int readChiProfile(std::string_view content, ChiProfile& profile, std::string& error) {
  const std::vector<std::string_view> lines = splitLines(content);
  if (lines.size() < static_cast<std::size_t>(kCountLine)) {
    error = "end of file before the point count in " + lineText(kCountLine);
    return 1;
  }
  profile.title = padRight(lines[kTitleLine - 1], kRecordColumns);
  int pointCount = 0;
  if (readIntField(lines[kCountLine - 1], kPointCount, pointCount) != 0 || pointCount < 0) {
    error = "bad point count in " + lineText(kCountLine) + ", columns 7-11";
    return 1;
  }
  const std::size_t available = lines.size() - kCountLine;
  if (static_cast<std::size_t>(pointCount) > available) {
    error = "end of file in " + lineText(kCountLine + 1 + static_cast<int>(available)) + ": " +
            std::to_string(pointCount) + " points expected, " + std::to_string(available) + " found";
    return 1;
  }
  profile.twoTheta.resize(pointCount);
  profile.intensity.resize(pointCount);
  for (int i = 0; i < pointCount; ++i) {
    const std::string_view line = lines[kCountLine + i];
    if (readRealField(line, kTwoTheta, kChiImpliedDecimals, profile.twoTheta[i]) != 0 ||
        readRealField(line, kIntensity, kChiImpliedDecimals, profile.intensity[i]) != 0) {
      error = "bad real number in " + lineText(kCountLine + 1 + i);
      return 1;
    }
  }
  return 0;
}

std::string fxyeRecords(const ChiProfile& profile) {
  const int pointCount = static_cast<int>(profile.twoTheta.size());
  const std::size_t recordBytes = kRecordColumns + kRecordEnd.size();
  std::string out;
  out.reserve(recordBytes * (pointCount + 2));
  appendRecord(out, profile.title);
  appendRecord(out, "");  // the BANK line, filled in when the step is known
  float start = 0.0f, last = 0.0f;
  for (int i = 0; i < pointCount; ++i) {
    const float twoTheta = profile.twoTheta[i];
    const float intensity = profile.intensity[i];
    // Counting-statistics estimate over tan(2-theta); |I| so that negative
    // (background-subtracted) intensities get a real uncertainty.
    const float squareRoot = static_cast<float>(std::sqrt(static_cast<double>(std::fabs(intensity))));
    const float uncertainty = 0.1f * squareRoot / tanDeg(twoTheta);
    const float position = 100.0f * twoTheta;  // centidegrees
    if (i == 0) start = position;
    last = position;
    appendRecord(out, dataLine(position, intensity, uncertainty));
  }
  // Fewer than two points have no step: 0 rather than a division by zero.
  const float step = pointCount > 1 ? (last - start) / static_cast<float>(pointCount - 1) : 0.0f;
  const std::string bank = bankLine(pointCount, start, step);
  std::string record2;
  appendRecord(record2, bank);
  out.replace(recordBytes, recordBytes, record2);
  return out;
}

int writeFileWhole(const std::string& path, std::string_view content, std::string& error) {
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    error = "cannot create " + temporary;
    return errno ? errno : EIO;
  }
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(temporary.c_str());
    error = "cannot write " + temporary;
    return writeErrno ? writeErrno : EIO;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameErrno = errno;
    std::remove(temporary.c_str());
    error = "cannot rename " + temporary + " to " + path;
    return renameErrno ? renameErrno : EIO;
  }
  return 0;
}
