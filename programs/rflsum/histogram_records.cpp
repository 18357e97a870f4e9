// Per-histogram records through the experiment store.
#include "histogram_records.hpp"

#include "expfile/directory_records.hpp"  // HistogramKeyPrefix
#include "expfile/exp_store.hpp"
#include "terminal/fixed_field.hpp"  // readIntField

namespace {

constexpr Field kIntegerValue{1, 5};

std::string histogramKey(int histogram, std::string_view item) {
  return HistogramKeyPrefix(histogram) + std::string(item);
}

}  // namespace

int readHistogramRecord(int experimentUnit, int histogram, std::string_view item, std::string& value) {
  value.assign(68, ' ');
  return expStore().read(experimentUnit, histogramKey(histogram, item), value);
}

int readHistogramInteger(int experimentUnit, int histogram, std::string_view item, int& value) {
  std::string text;
  if (readHistogramRecord(experimentUnit, histogram, item, text) != 0) return 1;
  return readIntField(text, kIntegerValue, value);
}

void writeHistogramRecord(int experimentUnit, int histogram, std::string_view item, std::string_view value) {
  WRITEXP(experimentUnit, histogramKey(histogram, item), value);
}
