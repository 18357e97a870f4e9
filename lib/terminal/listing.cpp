// The listing: page headers, the page-break rule, the program banner, and the
// date and environment queries behind them.
#include "listing.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "fixed_field.hpp"     // readIntField
#include "fortran_format.hpp"  // fmtI, padRight
#include "unit_table.hpp"

namespace {

std::string& programInvocation() {
  static std::string invocation;
  return invocation;
}

// Credit box text: five lines of 63 characters, the fourth blank.
const char* const kCreditLines[5] = {
    "  TELK crystallographic structure analysis: distances, angles, ",
    "  reflection statistics, overlap factors and plotting, run from",
    "  one experiment file and answers from a terminal or a macro.  ",
    "                                                               ",
    "  Please report problems with the experiment file attached.    ",
};

std::string blanks(int n) { return std::string(n > 0 ? n : 0, ' '); }

// Splits text at "|".
std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '|') lines.emplace_back();
    else lines.back() += c;
  }
  return lines;
}

// "Www Mmm dd hh:mm:ss yyyy" in local time.
std::string timeStamp(std::time_t when) {
  std::tm local{};
  if (!localtime_r(&when, &local)) return std::string(24, ' ');
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return std::string(kDays[local.tm_wday]) + " " + kMonths[local.tm_mon] + " " + fmtI(local.tm_mday, 2) + " " +
         fmtI(local.tm_hour, 2, 2) + ":" + fmtI(local.tm_min, 2, 2) + ":" + fmtI(local.tm_sec, 2, 2) + " " +
         fmtI(local.tm_year + 1900, 4);
}

// The executable the program was started from: the name as given when it holds
// a "/", else the first match along PATH.
std::string executablePath() {
  const std::string& name = programInvocation();
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "";
  while (true) {
    const std::size_t colon = dirs.find(':');
    std::string dir(dirs.substr(0, colon));
    const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) break;
    dirs.remove_prefix(colon + 1);
  }
  return {};
}

}  // namespace

Listing& listing() {
  static Listing state;
  return state;
}

void setProgramInvocation(const char* argv0) { programInvocation() = argv0 ? argv0 : ""; }

void Listing::setTitle(std::string_view title) { title_ = padRight(title, kTitleLength); }

void Listing::pageHeader(int unit) {
  const int u = clampUnit(unit);
  lineCount_[u] = 2;
  ++pageCount_[u];
  unitTable().writeLine(unit, "1" + title_ + " " + programName_ + " Version " + platformTag_ + " " +
                                  CurrentDateTime() + " Page" + fmtI(pageCount_[u], 4));
  unitTable().writeLine(unit, "");
}

int Listing::reserve(int unit, int n) {
  int newPage = 0;
  if (pageLength_ < lineCount(unit) + n) {
    pageHeader(unit);
    newPage = 1;
  }
  lineCount(unit) += n;
  return newPage;
}

void Listing::banner(int unit, std::string_view programName, std::string_view description) {
  UnitTable& units = unitTable();
  platformTag_ = PlatformTag();
  // LENPAGE: its first two characters are the page length; anything that is
  // not a positive number there leaves the default of 60.
  std::string pageText(3, ' ');
  pageLength_ = 60;
  if (GetEnvValue("LENPAGE", pageText) > 0) {
    int lines = 0;
    if (readIntField(pageText.substr(0, 2), lines) == 0 && lines > 0) pageLength_ = lines;
  }
  programName_ = padRight(programName, 8);
  const std::string buildDate = BuildDate();

  const std::vector<std::string> lines = splitLines(description);
  int width = 0;
  for (const std::string& line : lines) width = std::max(width, static_cast<int>(line.size()));
  width = std::clamp(width, 39, 75);
  const std::string margin = blanks((77 - width) / 2);
  const std::string rule = margin + "|" + std::string(width + 2, '-') + "|";
  const int n = static_cast<int>(std::min<std::size_t>(programName.size(), 8));

  units.writeLine(unit, "");
  units.writeLine(unit, rule);
  int left = (width - n - 24) / 2 + 2;
  int right = width - left - n - 21;
  units.writeLine(unit, margin + "|" + blanks(left) + "Program " + std::string(programName.substr(0, n)) +
                            " Version " + platformTag_ + blanks(right) + "|");
  for (const std::string& line : lines) {
    const int m = std::min(static_cast<int>(line.size()), 76);
    left = (width - m + 1) / 2 + 1;
    right = width - left - m + 2;
    units.writeLine(unit, margin + "|" + blanks(left) + line.substr(0, m) + blanks(right) + "|");
    reserve(unit, 1);
  }
  left = (width - 39) / 2 + 1;
  right = width - left - 37;
  units.writeLine(unit, margin + "|" + blanks(left) + "Distributed on " + buildDate + blanks(right) + "|");
  units.writeLine(unit, rule);
  reserve(unit, 6);

  const std::string creditRule = blanks(8) + "|" + std::string(63, '-') + "|";
  units.writeLine(unit, "");
  units.writeLine(unit, creditRule);
  for (const char* credit : kCreditLines) units.writeLine(unit, blanks(8) + "|" + padRight(credit, 63) + "|");
  units.writeLine(unit, creditRule);
  units.writeLine(unit, "");
  reserve(unit, 8);
}

int GetEnvValue(std::string_view name, std::string& value) {
  const std::string key(trimRight(name));
  const char* found = std::getenv(key.c_str());
  value = padRight(found ? found : "", value.size());
  return trimRight(value).empty() ? 0 : static_cast<int>(value.size());
}

std::string BuildDate() {
  const std::string path = executablePath();
  struct stat info;
  if (path.empty() || stat(path.c_str(), &info) != 0) return std::string(24, ' ');
  return timeStamp(info.st_mtime);
}

std::string PlatformTag() { return "MacOSX"; }

std::string CurrentDateTime() { return timeStamp(std::time(nullptr)).substr(4); }
