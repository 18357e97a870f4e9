// The listing: page and line counts per unit, page headers, the program banner,
// and the small date and environment queries they use.
#pragma once

#include <string>
#include <string_view>

class Listing {
 public:
  static constexpr int kTitleLength = 66;

  // The banner box: program name, platform tag, description lines (split at
  // "|"), build date, and the credit box.
  void banner(int unit, std::string_view programName, std::string_view description);
  // Starts a new page: the header line and an empty line.
  void pageHeader(int unit);
  // Reserves n lines on the unit's current page; returns 1 when a page header
  // was written first, else 0. n may be negative.
  int reserve(int unit, int n);

  void setTitle(std::string_view title);
  const std::string& title() const { return title_; }
  int pageLength() const { return pageLength_; }
  void setPageLength(int lines) { pageLength_ = lines; }
  int& lineCount(int unit) { return lineCount_[clampUnit(unit)]; }
  int pageCount(int unit) const { return pageCount_[clampUnit(unit)]; }

 private:
  static int clampUnit(int unit) { return unit < 0 || unit > 99 ? 0 : unit; }
  int pageCount_[100] = {};
  int lineCount_[100] = {};
  int pageLength_ = 60;
  std::string title_ = std::string(kTitleLength, ' ');
  std::string programName_ = std::string(8, ' ');
  std::string platformTag_ = std::string(6, ' ');
};

// The process's listing state.
Listing& listing();

// Remembers how the program was started (argv[0]) so that BuildDate can find
// the executable. Every main calls it first.
void setProgramInvocation(const char* argv0);

// Copies the environment variable's value into value (blank-padded to its
// size); returns that length when the value is not blank, else 0.
int GetEnvValue(std::string_view name, std::string& value);

// Modification time of the program's executable, "Www Mmm dd hh:mm:ss yyyy"
// (24 characters); blanks when it cannot be had.
std::string BuildDate();

// "MacOSX": the platform tag the suite's files carry.
std::string PlatformTag();

// Current local time, "Mmm dd hh:mm:ss yyyy" (20 characters).
std::string CurrentDateTime();
