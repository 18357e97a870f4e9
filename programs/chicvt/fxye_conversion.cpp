// CHI profiles in, FXYE powder-data files out.
#include "fxye_conversion.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "cryst/cell_metric.hpp"        // tanDeg
#include "fast_fields.hpp"
#include "terminal/fixed_field.hpp"     // Field, fieldText, readIntField
#include "terminal/fortran_format.hpp"  // fmtI, fmtPE, padRight

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

// Data record: position in centidegrees, intensity, uncertainty (E15.6 each),
// blanks to column 80. Appended in place: this is the bulk of the file.
constexpr int kDataFieldWidth = 15;
void appendDataRecord(std::string& out, float position, float intensity, float uncertainty) {
  appendE6(out, position, kDataFieldWidth);
  appendE6(out, intensity, kDataFieldWidth);
  appendE6(out, uncertainty, kDataFieldWidth);
  out.append(kRecordColumns - 3 * kDataFieldWidth, ' ');
  out.append(kRecordEnd);
}

void appendRecord(std::string& out, std::string_view text) {
  const std::size_t used = std::min(text.size(), kRecordColumns);
  out.append(text.substr(0, used));
  out.append(kRecordColumns - used, ' ');
  out.append(kRecordEnd);
}

// Walks the lines of a text (a trailing CR dropped, as text files from other
// systems end their lines in CR LF).
class LineCursor {
 public:
  explicit LineCursor(std::string_view content) : content_(content) {}
  // false at the end of the text.
  bool next(std::string_view& line) {
    if (start_ >= content_.size()) return false;
    std::size_t end = content_.find('\n', start_);
    if (end == std::string_view::npos) end = content_.size();
    line = content_.substr(start_, end - start_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start_ = end + 1;
    ++lineNumber_;
    return true;
  }
  int lineNumber() const { return lineNumber_; }

 private:
  std::string_view content_;
  std::size_t start_ = 0;
  int lineNumber_ = 0;
};

std::string lineText(int number) { return "line " + std::to_string(number); }

}  // namespace

int readChiProfile(std::string_view content, ChiProfile& profile, std::string& error) {
  LineCursor lines(content);
  std::string_view line;
  for (int header = 1; header <= kCountLine; ++header) {
    if (!lines.next(line)) {
      error = "end of file in the header, " + lineText(header);
      return 1;
    }
    if (header == kTitleLine) profile.title = padRight(line, kRecordColumns);
  }
  int pointCount = 0;
  if (readIntField(line, kPointCount, pointCount) != 0 || pointCount < 0) {
    error = "bad point count in " + lineText(kCountLine) + ", columns 7-11";
    return 1;
  }
  profile.twoTheta.clear();
  profile.intensity.clear();
  for (int i = 0; i < pointCount; ++i) {
    if (!lines.next(line)) {
      error = "end of file in " + lineText(lines.lineNumber() + 1) + ": " + std::to_string(pointCount) +
              " points expected, " + std::to_string(i) + " found";
      return 1;
    }
    float twoTheta = 0.0f, intensity = 0.0f;
    if (readRealFieldFast(fieldText(line, kTwoTheta), kChiImpliedDecimals, twoTheta) != 0 ||
        readRealFieldFast(fieldText(line, kIntensity), kChiImpliedDecimals, intensity) != 0) {
      error = "bad real number in " + lineText(lines.lineNumber());
      return 1;
    }
    profile.twoTheta.push_back(twoTheta);
    profile.intensity.push_back(intensity);
  }
  return 0;
}

void fxyeRecords(const ChiProfile& profile, std::string& out) {
  const int pointCount = static_cast<int>(profile.twoTheta.size());
  const std::size_t recordBytes = kRecordColumns + kRecordEnd.size();
  out.clear();
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
    appendDataRecord(out, position, intensity, uncertainty);
  }
  // Fewer than two points have no step: 0 rather than a division by zero.
  const float step = pointCount > 1 ? (last - start) / static_cast<float>(pointCount - 1) : 0.0f;
  const std::string bank = bankLine(pointCount, start, step);
  std::string record2;
  appendRecord(record2, bank);
  out.replace(recordBytes, recordBytes, record2);
}

int writeFileWhole(const std::string& path, std::string_view content, std::string& error) {
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  auto fail = [&](const std::string& what, int status) {
    std::remove(temporary.c_str());
    error = what + ": " + std::strerror(status);
    return status;
  };
  errno = 0;
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return fail("cannot create " + temporary, errno ? errno : EIO);
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  int status = written ? 0 : (errno ? errno : EIO);
  if (std::fclose(file) != 0 && status == 0) status = errno ? errno : EIO;
  if (status != 0) return fail("cannot write " + temporary, status);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) return fail("cannot rename " + temporary + " to " + path, errno ? errno : EIO);
  return 0;
}
