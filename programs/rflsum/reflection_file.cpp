// Reflection file access: naming, opening, byte-order and index-type detection,
// block reads and the masked hand-out of fields.
#include "reflection_file.hpp"

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "histogram_records.hpp"
#include "terminal/fortran_format.hpp"  // fmtI
#include "terminal/run_stop.hpp"        // StopOnIoError, stopRun
#include "terminal/term_input.hpp"      // termInput, UpperCase
#include "terminal/unit_table.hpp"

namespace {

constexpr int kWordBytes = 4;
constexpr int kSingleCrystalDefaultLength = 32;  // a histogram without "REFLEN"
constexpr int kGeneralDefaultLength = 36;        // the general opener's default
constexpr long kBlockBytes = 1 << 18;
constexpr int kEncodingSample = 32;  // records that decide the byte order
constexpr double kIndexLimit = 10000.0;

bool plausibleIntegers(const std::array<std::uint32_t, 3>& words) {
  long long sum = 0;
  for (std::uint32_t w : words) sum += std::llabs(static_cast<long long>(static_cast<std::int32_t>(w)));
  return sum < static_cast<long long>(kIndexLimit);
}

bool plausibleReals(const std::array<std::uint32_t, 3>& words) {
  for (std::uint32_t w : words) {
    const float v = std::bit_cast<float>(w);
    if (!std::isfinite(v)) return false;
    const double magnitude = std::fabs(static_cast<double>(v));
    if (magnitude != 0.0 && (magnitude < 0.5 || magnitude >= kIndexLimit)) return false;
  }
  return true;
}

std::array<std::uint32_t, 3> swappedWords(const std::array<std::uint32_t, 3>& words) {
  return {__builtin_bswap32(words[0]), __builtin_bswap32(words[1]), __builtin_bswap32(words[2])};
}

bool fits(const RecordEncoding& encoding, const std::array<std::uint32_t, 3>& raw) {
  const std::array<std::uint32_t, 3> words = encoding.swapped ? swappedWords(raw) : raw;
  return encoding.integerIndices ? plausibleIntegers(words) : plausibleReals(words);
}

// Valid single-crystal record lengths: the merged length up to the longest.
bool usableSingleCrystalLength(int words) { return words >= kMergedRecordLength && words <= kMaxRecordLength; }

void invalidateBlock(ReflectionFile& file) {
  file.blockFirstRecord = 0;
  file.blockRecords = 0;
}

// Reads record n into file.record, from the block or by reading a new block.
// 0: read; kReadPastEnd: beyond the last whole record; else errno.
int readRecord(ReflectionFile& file, long n) {
  const long recordBytes = static_cast<long>(file.recordLength) * kWordBytes;
  if (n < 1) return EINVAL;
  if (n < file.blockFirstRecord || n >= file.blockFirstRecord + file.blockRecords) {
    invalidateBlock(file);
    std::FILE* stream = unitTable().file(file.unit);
    if (!stream) return EBADF;
    const long perBlock = kBlockBytes / recordBytes;
    file.block.resize(static_cast<std::size_t>(perBlock * recordBytes));
    if (fseeko(stream, static_cast<off_t>(n - 1) * recordBytes, SEEK_SET) != 0) return errno ? errno : EIO;
    const std::size_t got = std::fread(file.block.data(), 1, file.block.size(), stream);
    if (got < file.block.size() && std::ferror(stream)) {
      std::clearerr(stream);
      return EIO;
    }
    std::clearerr(stream);
    file.blockFirstRecord = n;
    file.blockRecords = static_cast<long>(got) / recordBytes;
    if (file.blockRecords == 0) return kReadPastEnd;
  }
  const unsigned char* bytes = file.block.data() + (n - file.blockFirstRecord) * recordBytes;
  std::memcpy(file.record.data(), bytes, static_cast<std::size_t>(recordBytes));
  if (file.swapped)
    for (int i = 0; i < file.recordLength; ++i) file.record[i] = __builtin_bswap32(file.record[i]);
  return 0;
}

// Decides the byte order (and, for single-crystal files, the index type) from
// the first records of the freshly opened file.
void detectEncoding(ReflectionFile& file) {
  file.swapped = false;
  std::vector<std::array<std::uint32_t, 3>> indexWords;
  for (long n = 1; n <= kEncodingSample; ++n) {
    if (readRecord(file, n) != 0) break;
    indexWords.push_back({file.record[0], file.record[1], file.record[2]});
  }
  file.record.fill(0);  // the block keeps the raw bytes; reads convert them anew
  const RecordEncoding encoding = detectRecordEncoding(indexWords, file.powder);
  file.swapped = encoding.swapped;
  file.integerIndices = file.powder || encoding.integerIndices ? 1 : 0;
}

std::string experimentFileName(int experimentUnit) { return unitTable().name(experimentUnit); }

// Opens the histogram's file on a free unit from `unit` upwards; a failed open
// stops the run. A created file replaces an existing one.
void openOnFreeUnit(int experimentUnit, int create, int& unit, int histogram, char letter) {
  const std::string name = reflectionFileName(experimentFileName(experimentUnit), letter, histogram);
  closeReflectionFile();
  FindFreeUnit(unit);
  if (create != 0) std::remove(name.c_str());
  const int status = unitTable().open(unit, name, create != 0 ? "w+b" : "rb");
  if (status != 0) StopOnIoError(status, unit);
}

void makeCurrent(ReflectionFile& file, int histogram, int unit, int recordLength, bool powder, bool detect) {
  file.histogram = histogram;
  file.unit = unit;
  file.recordLength = recordLength;
  file.powder = powder;
  file.swapped = false;
  file.integerIndices = powder ? 1 : 0;
  file.record.fill(0);
  invalidateBlock(file);
  if (detect) detectEncoding(file);
}

// Ends the run when a single-crystal record length cannot be a reflection record.
void checkSingleCrystalLength(int experimentUnit, int histogram, int recordLength, char letter) {
  if (usableSingleCrystalLength(recordLength)) return;
  unitTable().writeLine(UnitTable::kTerminalOut,
                        " *** ERROR - Reflection record length" + fmtI(recordLength, 6) + " words for " +
                            reflectionFileName(experimentFileName(experimentUnit), letter, histogram) +
                            " is not 22 to 36");
  stopRun("Invalid reflection file record length", 1);
}

// Hands out the mask's fields from the held record.
void handOut(const ReflectionFile& file, std::uint32_t mask, int fieldCount, ReflectionFields& fields) {
  if (mask & 1u) {
    for (int i = 0; i < 3; ++i) {
      const std::uint32_t word = file.record[i];
      fields.hkl[i] = file.integerIndices ? static_cast<float>(static_cast<std::int32_t>(word))
                                          : std::bit_cast<float>(word);
    }
  }
  for (int f = 1; f <= fieldCount; ++f) {
    if (!(mask & (1u << f))) continue;
    const FieldWords where = file.powder ? powderFieldWords(f) : singleCrystalFieldWords(f, file.recordLength);
    if (where.words == 0 || where.firstWord + where.words - 1 > file.recordLength) continue;
    for (int w = 0; w < where.words; ++w) fields.field[f][w] = file.record[where.firstWord - 1 + w];
  }
}

int readReflection(int experimentUnit, int identifier, std::uint32_t mask, ReflectionFields& fields, bool powder) {
  ReflectionFile& file = reflectionFile();
  const int histogram = identifier / kIdentifierBase;
  const int number = identifier - kIdentifierBase * histogram;
  if (histogram != file.histogram || file.histogram == 0) {
    int unit = file.unit;
    int recordLength = 0;
    int integerIndices = 0;
    if (powder) {
      OpenPowderFile(experimentUnit, 0, unit, histogram, recordLength);
    } else {
      OpenSingleCrystalFile(experimentUnit, 0, unit, histogram, recordLength, integerIndices);
    }
  }
  const int status = readRecord(file, number);
  handOut(file, mask, powder ? kPowderFieldCount : kSingleCrystalFieldCount, fields);
  return status;
}

}  // namespace

float ReflectionFields::real(int fieldNumber) const { return std::bit_cast<float>(field[fieldNumber][0]); }

FieldWords powderFieldWords(int fieldNumber) {
  if (fieldNumber < 1 || fieldNumber > kPowderFieldCount) return {0, 0};
  return {3 + fieldNumber, 1};
}

FieldWords singleCrystalFieldWords(int fieldNumber, int recordLength) {
  if (fieldNumber >= 1 && fieldNumber <= 21) return {3 + fieldNumber, 1};
  if (fieldNumber == 22) return {25, 3};
  if (fieldNumber == 23) return {28, 3};
  // Fields 24 and 25 are single words in 32-word records, three in 36-word ones.
  const bool wide = recordLength > 32;
  if (fieldNumber == 24) return wide ? FieldWords{31, 3} : FieldWords{31, 1};
  if (fieldNumber == 25) return wide ? FieldWords{34, 3} : FieldWords{32, 1};
  return {0, 0};
}

RecordEncoding detectRecordEncoding(const std::vector<std::array<std::uint32_t, 3>>& indexWords, bool powder) {
  static const RecordEncoding kPowderOrder[] = {{false, true}, {true, true}};
  static const RecordEncoding kSingleCrystalOrder[] = {{false, true}, {false, false}, {true, true}, {true, false}};
  const RecordEncoding* begin = powder ? kPowderOrder : kSingleCrystalOrder;
  const RecordEncoding* end = begin + (powder ? 2 : 4);
  const RecordEncoding fallback{false, powder};
  if (indexWords.empty()) return fallback;
  for (const RecordEncoding* e = begin; e != end; ++e) {
    bool all = true;
    for (const auto& words : indexWords) all = all && fits(*e, words);
    if (all) return *e;
  }
  for (const RecordEncoding* e = begin; e != end; ++e)
    if (fits(*e, indexWords.front())) return *e;
  return fallback;
}

ReflectionFile& reflectionFile() {
  static ReflectionFile file;
  return file;
}

std::string reflectionFileName(const std::string& experimentFileName, char letter, int histogram) {
  std::size_t dot = experimentFileName.rfind(".EXP");
  if (dot == std::string::npos) dot = experimentFileName.rfind('.');
  const std::string stem = dot == std::string::npos ? experimentFileName + "." : experimentFileName.substr(0, dot + 1);
  return stem + letter + fmtI(histogram, 2, 2);
}

void closeReflectionFile() {
  ReflectionFile& file = reflectionFile();
  if (file.histogram != 0 && file.unit != 0) unitTable().close(file.unit);
  file.histogram = 0;
  invalidateBlock(file);
}

void OpenSingleCrystalReflections(int experimentUnit, int histogram) {
  ReflectionFile& file = reflectionFile();
  closeReflectionFile();
  int recordLength = kSingleCrystalDefaultLength;
  readHistogramInteger(experimentUnit, histogram, "REFLEN", recordLength);
  char letter = 'S';
  std::string value;
  if (readHistogramRecord(experimentUnit, histogram, " NREFM", value) == 0) {
    std::string answer(1, ' ');
    termInput().nextItem("Open the merged reflection file? (<Y>,N)", 0, answer);
    UpperCase(answer, 1);
    if (answer[0] != 'N') {
      letter = 'M';
      recordLength = kMergedRecordLength;
    }
  }
  checkSingleCrystalLength(experimentUnit, histogram, recordLength, letter);
  int unit = file.unit;
  openOnFreeUnit(experimentUnit, 0, unit, histogram, letter);
  makeCurrent(file, histogram, unit, recordLength, false, true);
}

void OpenPowderFile(int experimentUnit, int create, int& unit, int histogram, int& recordLength) {
  recordLength = kPowderRecordLength;
  openOnFreeUnit(experimentUnit, create, unit, histogram, 'R');
  makeCurrent(reflectionFile(), histogram, unit, recordLength, true, create == 0);
}

void OpenSingleCrystalFile(int experimentUnit, int create, int& unit, int histogram, int& recordLength,
                           int& integerIndices) {
  if (recordLength != kMergedRecordLength) {
    recordLength = kGeneralDefaultLength;
    readHistogramInteger(experimentUnit, histogram, "REFLEN", recordLength);
  }
  std::string value;
  const bool merged = readHistogramRecord(experimentUnit, histogram, " NREFM", value) == 0;
  const char letter = merged ? 'M' : 'S';
  if (merged) {
    recordLength = kMergedRecordLength;
  } else if (create != 0) {
    recordLength = kGeneralDefaultLength;
  }
  checkSingleCrystalLength(experimentUnit, histogram, recordLength, letter);
  openOnFreeUnit(experimentUnit, create, unit, histogram, letter);
  // The record length is kept in the experiment only by a run that makes the
  // file: readers have the experiment open read-only and never write it.
  if (!merged && create != 0) {
    writeHistogramRecord(experimentUnit, histogram, "REFLEN", fmtI(recordLength, 5));
  }
  ReflectionFile& file = reflectionFile();
  makeCurrent(file, histogram, unit, recordLength, false, create == 0);
  integerIndices = file.integerIndices;
}

int ReadPowderReflection(int experimentUnit, int identifier, std::uint32_t mask, ReflectionFields& fields) {
  return readReflection(experimentUnit, identifier, mask, fields, true);
}

int ReadSingleCrystalReflection(int experimentUnit, int identifier, std::uint32_t mask, ReflectionFields& fields) {
  return readReflection(experimentUnit, identifier, mask, fields, false);
}
