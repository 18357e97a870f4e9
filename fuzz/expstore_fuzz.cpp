// Fuzz target of the experiment record store and the directory readers: any
// byte string as an experiment file must be rejected with a reason or read,
// walked, written and deleted without a crash, and leave a well-formed file.
// Built with libFuzzer by fuzz/build.sh, and run over a generated corpus by
// the expstore_fuzz_corpus test.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "expfile/directory_records.hpp"
#include "expfile/exp_store.hpp"
#include "terminal/fixed_field.hpp"
#include "terminal/unit_table.hpp"

namespace {

constexpr int kExpUnit = 41;
constexpr int kListUnit = 42;

// The scratch file, made once per process and removed when it ends.
char scratchName[] = "/tmp/expstore-fuzz-XXXXXX";

const char* scratchPath() {
  static const bool made = [] {
    const int fd = mkstemp(scratchName);
    if (fd >= 0) ::close(fd);
    std::atexit([] { std::remove(scratchName); });
    return fd >= 0;
  }();
  return made ? scratchName : "/nonexistent/expstore-fuzz";
}

[[noreturn]] void broken(const char* what) {
  std::fprintf(stderr, "expstore fuzz: %s\n", what);
  std::abort();
}

// The file under test: the raw input (mostly rejected by the scan), or, when
// the first byte is odd, the input cut into 80-byte records so that arbitrary
// keys (blanks, "~", NULs, bytes above "~", CR and LF inside) reach the index.
std::string fileFromInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  if (size == 0 || (data[0] & 1) == 0) return input;
  std::string bytes;
  for (std::size_t at = 1; at < size; at += 80) bytes += physicalRecord(input.substr(at, 12), input.size() > at + 12 ? input.substr(at + 12, 68) : "");
  return bytes;
}

void exerciseDirectoryRecords(std::string& value) {
  int nextNumber = 0;
  ShowLastHistory(kExpUnit, kListUnit, nextNumber);
  std::array<int, kPhaseSlots> types{};
  value.clear();
  expStore().read(kExpUnit, " EXPR NPHAS ", value);
  if (ParsePhaseList(value, types) == 0) ReadPhaseTypes(kExpUnit, types);
  int count = 0;
  value.clear();
  if (expStore().read(kExpUnit, " EXPR  NHST ", value) == 0 && ParseHistogramCount(value, count) == 0) {
    std::vector<std::string> codes;
    ReadHistogramDirectory(kExpUnit, count, codes);
    if (codes.size() < static_cast<std::size_t>(count)) broken("fewer type codes than histograms");
  }
  int version = 0;
  value.clear();
  expStore().read(kExpUnit, "     VERSION", value);
  if (readIntField(value, Field{1, 5}, version) == 0) ReadFileVersion(kExpUnit, version);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = fileFromInput(data, size);
  std::vector<ExpKey> keys;
  std::string fault;
  if (ScanExperimentRecords(bytes, keys, fault) != 0) {
    if (fault.empty()) broken("a rejected file without a reason");
    return 0;
  }
  { std::ofstream(scratchPath(), std::ios::binary | std::ios::trunc) << bytes; }
  if (unitTable().open(kExpUnit, scratchPath(), "r+b") != 0 || unitTable().open(kListUnit, "/dev/null", "w") != 0)
    broken("cannot open the scratch file");

  std::string value, key;
  const int records = static_cast<int>(keys.size());
  for (int i = 0; i < records; ++i) {
    value.clear();
    const int found = expStore().read(kExpUnit, keys[i].view(), value);
    if (value.size() != 68) broken("a read value is not 68 characters");
    if (!keys[i].isDeleted() && found != 0) broken("a live key was not found");
  }
  for (int i = 0; i < records; ++i) {
    const std::string keyText(keys[i].view());
    const std::size_t length = 1 + static_cast<unsigned char>(keyText[i % 12]) % 12;
    value.clear();
    expStore().read(kExpUnit, keyText.substr(0, length), value);
    if (i % 3 == 0) expStore().next(kExpUnit, key, value);
    if (i % 5 == 1) expStore().remove(kExpUnit, keyText.substr(0, length));
    if (i % 4 == 2 && !keys[i].isDeleted()) WRITEXP(kExpUnit, keyText.substr(0, 11) + "W", keyText);
  }
  exerciseDirectoryRecords(value);
  for (int steps = 0; expStore().next(kExpUnit, key, value) == 0; ++steps)
    if (steps > records * 2 + 2) broken("the walk does not end");

  const int lastRecord = expStore().lastRecordNumber(kExpUnit);
  expStore().close(kExpUnit);
  unitTable().close(kListUnit);
  std::ifstream in(scratchPath(), std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(in)), {});
  if (ScanExperimentRecords(after, keys, fault) != 0) broken("the store left a malformed file");
  if (static_cast<int>(keys.size()) != lastRecord) broken("the file and the index disagree on the record count");
  return 0;
}
