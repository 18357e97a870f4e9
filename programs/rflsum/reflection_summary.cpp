// The histogram loop of RFLSUM and its terminal and listing output.
#include "reflection_summary.hpp"

#include "histogram_records.hpp"
#include "histogram_status.hpp"
#include "reflection_file.hpp"
#include "reflection_statistics.hpp"
#include "terminal/fortran_format.hpp"  // fmtI, padRight
#include "terminal/listing.hpp"
#include "terminal/term_input.hpp"
#include "terminal/unit_table.hpp"

namespace {

constexpr int kHistogramsPerLine = 8;
constexpr int kFieldF = 6;       // data field holding F
constexpr int kFieldSigmaF = 7;  // data field holding sigma(F)

class SummaryRun {
 public:
  SummaryRun(const SummaryUnits& units, const std::vector<std::string>& types)
      : units_(units), types_(types), separateListing_(units.listing != units.terminal) {}

  void run();

 private:
  void writeTerminal(const std::string& line) { unitTable().writeLine(units_.terminal, line); }
  void writeListing(const std::string& line) { unitTable().writeLine(units_.listing, line); }
  void showDirectory();
  bool askAllHistograms();
  bool processable(int histogram) const;
  void processHistogram(int histogram);
  int reflectionCount(int histogram);
  void readReflections(int histogram, int count);
  void writeTable();

  SummaryUnits units_;
  const std::vector<std::string>& types_;
  bool separateListing_;
  ReflectionStatistics statistics_;
};

void SummaryRun::showDirectory() {
  const int count = static_cast<int>(types_.size());
  unitTable().writeLine(UnitTable::kTerminalOut, " There are " + fmtI(count, 2) + " histograms");
  if (count < 2) return;
  std::string line;
  for (int i = 0; i < count; ++i) {
    line += "  " + fmtI(i + 1, 3) + " " + padRight(types_[i], 4);
    if ((i + 1) % kHistogramsPerLine == 0 || i + 1 == count) {
      unitTable().writeLine(UnitTable::kTerminalOut, line);
      line.clear();
    }
  }
}

// Anything but N, an empty answer too, means all.
bool SummaryRun::askAllHistograms() {
  std::string answer(1, ' ');
  termInput().nextItem("Do you wish to process all histograms? (<Y>,N)", 0, answer);
  UpperCase(answer, 1);
  return answer[0] != 'N';
}

bool SummaryRun::processable(int histogram) const {
  if (histogram < 1 || histogram > static_cast<int>(types_.size())) return false;
  const char kind = types_[histogram - 1].empty() ? ' ' : types_[histogram - 1][0];
  return kind == 'P' || kind == 'S';
}

// A histogram without its reflection-count record has no reflections.
int SummaryRun::reflectionCount(int histogram) {
  int count = 0;
  if (readHistogramInteger(units_.experiment, histogram, " NREF ", count) != 0) count = 0;
  return count;
}

void SummaryRun::readReflections(int histogram, int count) {
  const bool powder = types_[histogram - 1][0] == 'P';
  // Identifiers cannot express reflection numbers of 100000 or more.
  const int last = count < kIdentifierBase ? count : kIdentifierBase - 1;
  ReflectionFields fields;
  for (int i = 1; i <= last; ++i) {
    const int identifier = histogram * kIdentifierBase + i;
    const int status = powder ? ReadPowderReflection(units_.experiment, identifier, kPowderMask, fields)
                              : ReadSingleCrystalReflection(units_.experiment, identifier, kSingleCrystalMask, fields);
    if (status != 0) break;
    statistics_.add(fields.hkl[0], fields.hkl[1], fields.hkl[2], fields.real(kFieldF), fields.real(kFieldSigmaF));
  }
}

void SummaryRun::processHistogram(int histogram) {
  if (types_[histogram - 1][0] == 'S') OpenSingleCrystalReflections(units_.experiment, histogram);
  ShowHistogramStatus(units_.experiment, histogram, types_[histogram - 1]);
  const int count = reflectionCount(histogram);
  const std::string countLine = " Histogram" + fmtI(histogram, 2) + " has " + fmtI(count, 5) + " reflections";
  writeTerminal(countLine);
  writeTerminal("");
  if (separateListing_) {
    listing().reserve(units_.listing, 1);
    writeListing(countLine);
  }
  readReflections(histogram, count);
}

// The terminal gets the header at once; the listing gets it before its first
// row and again after every page break. When the listing is the terminal, each
// line is written once.
void SummaryRun::writeTable() {
  writeTerminal("");
  writeTerminal(statisticsTableHeader());
  bool listingHeaderDone = false;
  if (!separateListing_) {
    listing().reserve(units_.listing, 2);
    listingHeaderDone = true;
  }
  for (int row = 0; row < kClassCount; ++row) {
    for (int parity : {ReflectionStatistics::kEven, ReflectionStatistics::kOdd}) {
      const ParitySet& set = statistics_.set(row, parity);
      if (set.count <= 0) continue;
      const std::string line = statisticsTableRow(row, parity, set);
      // The first row reserves its line together with the header's two, so
      // that a page break never leaves the row counted on the page before.
      const int newPage = listing().reserve(units_.listing, listingHeaderDone ? 1 : 3);
      if (!listingHeaderDone || newPage == 1) {
        if (listingHeaderDone) listing().reserve(units_.listing, 2);
        writeListing("");
        writeListing(statisticsTableHeader());
        listingHeaderDone = true;
      }
      writeListing(line);
      if (separateListing_) writeTerminal(line);
    }
  }
  if (!listingHeaderDone) {  // a table without rows still shows its header
    listing().reserve(units_.listing, 2);
    writeListing("");
    writeListing(statisticsTableHeader());
  }
}

void SummaryRun::run() {
  const int count = static_cast<int>(types_.size());
  showDirectory();
  const bool allHistograms = count < 2 || askAllHistograms();
  bool anyProcessed = false;
  int current = 1;
  statistics_.clear();
  do {
    if (!allHistograms) {
      statistics_.clear();
      termInput().nextInteger("Examine reflections for Histogram? (0 to terminate)", 0, current);
    }
    if (processable(current)) {
      processHistogram(current);
      anyProcessed = true;
      if (!allHistograms) writeTable();
    }
    if (current > 0 && ++current > count) current = 0;
  } while (current > 0);
  if (allHistograms && anyProcessed) writeTable();
}

}  // namespace

void summariseReflections(const SummaryUnits& units, const std::vector<std::string>& types) {
  SummaryRun(units, types).run();
}
