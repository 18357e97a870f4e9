// Benchmark driver of the record store: makes an experiment file of N records
// in a scratch directory, then times building the index, exact-key reads and
// prefix reads. Arguments: records, exact reads, prefix reads.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "expfile/exp_store.hpp"
#include "terminal/fortran_format.hpp"  // fmtI
#include "terminal/unit_table.hpp"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 30000;
  const int exactReads = argc > 2 ? std::atoi(argv[2]) : 100000;
  const int prefixReads = argc > 3 ? std::atoi(argv[3]) : 10000;
  char pattern[] = "/tmp/expstore-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::string path = std::string(pattern) + "/BENCH.EXP";

  // Keys as an experiment has them: phase atoms, histogram and
  // phase-in-histogram items, written in scrambled order.
  static const char* const kGroups[] = {"CRS1AT", "CRS2AT", "HST  1", "HST 12", "HAP1 1", "HAP2 3", " EXPR ", "LNCN  "};
  std::vector<std::string> keys;
  for (int i = 0; i < records; ++i) keys.push_back(kGroups[i % 8] + fmtI(i / 8 + 1, 6));
  std::mt19937 random(42);
  std::shuffle(keys.begin(), keys.end(), random);
  {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& key : keys) out << physicalRecord(key, "   0.123456   0.234567   0.345678  " + key);
  }

  const int unit = 11;
  if (unitTable().open(unit, path, "rb") != 0) return 1;
  std::string value;
  const auto start = std::chrono::steady_clock::now();
  STARTISAM(unit);
  const double indexTime = secondsSince(start);
  int missing = 0;
  for (int i = 0; i < exactReads; ++i) {
    value.clear();
    missing += expStore().read(unit, keys[random() % keys.size()], value);
  }
  const double exactTime = secondsSince(start) - indexTime;
  for (int i = 0; i < prefixReads; ++i) {
    const std::string& key = keys[random() % keys.size()];
    value.clear();
    missing += expStore().read(unit, key.substr(0, 6 + random() % 5), value);
  }
  const double total = secondsSince(start);
  expStore().close(unit);
  std::filesystem::remove_all(pattern);
  std::printf("records %d: index %.4f s, %d exact reads %.4f s, %d prefix reads %.4f s, total %.4f s%s\n", records,
              indexTime, exactReads, exactTime, prefixReads, total - indexTime - exactTime, total,
              missing ? " (LOOKUPS FAILED)" : "");
  return missing ? 1 : 0;
}
