// Fuzz driver of the reflection reader: the input's first byte picks a
// histogram (powder; single crystal with 32-, 36- or 22-word records), the rest
// becomes that histogram's reflection file, which is then opened (byte order
// and index type detected) and read through to the end into the statistics.
// Built for libFuzzer with clang (target fuzz_reflection_reader); the replay
// driver runs the same entry on a fixed set of mutated inputs under ctest.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "expfile/exp_store.hpp"
#include "rflsum/reflection_file.hpp"
#include "rflsum/reflection_statistics.hpp"
#include "terminal/fortran_format.hpp"  // padRight
#include "terminal/unit_table.hpp"

namespace {

struct FuzzExperiment {
  std::filesystem::path directory;
  int unit = 0;

  FuzzExperiment() {
    directory = std::filesystem::temp_directory_path() / ("rflsum_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    std::ofstream file(directory / "F.EXP", std::ios::binary);
    const char* const records[][2] = {
        {"HST  2REFLEN", "   32"}, {"HST  3REFLEN", "   36"}, {"ZZZZZZZZZZZZ", "  Last EXP file record"}};
    for (const auto& record : records) file << padRight(record[0], 12) << padRight(record[1], 68) << "\r\n";
    file.close();
    unit = 20;
    FindFreeUnit(unit);
    unitTable().open(unit, (directory / "F.EXP").string(), "rb");
  }
};

// Made on first use and never destroyed by static destructors, which may run
// after the store's own; rflsumFuzzCleanup removes the files.
FuzzExperiment*& fuzzExperimentSlot() {
  static FuzzExperiment* experiment = nullptr;
  return experiment;
}

// At exit (a libFuzzer run ends there) only the files are removed: the store
// may already be gone.
void removeFuzzFiles() {
  if (FuzzExperiment* experiment = fuzzExperimentSlot()) std::filesystem::remove_all(experiment->directory);
}

FuzzExperiment& fuzzExperiment() {
  FuzzExperiment*& slot = fuzzExperimentSlot();
  if (!slot) {
    slot = new FuzzExperiment;
    std::atexit(removeFuzzFiles);
  }
  return *slot;
}

}  // namespace

extern "C" void rflsumFuzzCleanup() {
  FuzzExperiment*& slot = fuzzExperimentSlot();
  if (!slot) return;
  closeReflectionFile();
  expStore().close(slot->unit);
  std::filesystem::remove_all(slot->directory);
  delete slot;
  slot = nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  FuzzExperiment& experiment = fuzzExperiment();
  const int histogram = data[0] % 4 + 1;
  const bool powder = histogram == 1;
  const char letter = powder ? 'R' : 'S';
  closeReflectionFile();
  const std::string name = reflectionFileName((experiment.directory / "F.EXP").string(), letter, histogram);
  {
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  if (histogram == 2 || histogram == 3) {
    OpenSingleCrystalReflections(experiment.unit, histogram);
  } else if (histogram == 4) {
    int unit = 0, recordLength = kMergedRecordLength, integerIndices = 0;
    OpenSingleCrystalFile(experiment.unit, 0, unit, histogram, recordLength, integerIndices);
  }
  ReflectionStatistics statistics;
  ReflectionFields fields;
  for (int i = 1; i < kIdentifierBase; ++i) {
    const int identifier = histogram * kIdentifierBase + i;
    const int status = powder ? ReadPowderReflection(experiment.unit, identifier, kPowderMask, fields)
                              : ReadSingleCrystalReflection(experiment.unit, identifier, kSingleCrystalMask, fields);
    if (status != 0) break;
    statistics.add(fields.hkl[0], fields.hkl[1], fields.hkl[2], fields.real(6), fields.real(7));
  }
  for (int row = 0; row < kClassCount; ++row)
    for (int parity : {0, 1}) statisticsTableRow(row, parity, statistics.set(row, parity));
  return 0;
}
