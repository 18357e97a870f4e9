// Reflection files of histograms: the binary files beside the experiment file
// that hold one fixed-length record per reflection ("R" powder, "S" single
// crystal, "M" merged single crystal, followed by the histogram number). One
// file is open at a time; a request for a reflection of another histogram
// switches files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Reflection identifier: histogram number * 100000 + reflection (record) number.
inline constexpr int kIdentifierBase = 100000;

inline constexpr int kPowderRecordLength = 18;   // words
inline constexpr int kMergedRecordLength = 22;   // words
inline constexpr int kMaxRecordLength = 36;      // words
inline constexpr int kPowderFieldCount = 15;
inline constexpr int kSingleCrystalFieldCount = 25;

// Field masks RFLSUM asks with: indices and every data field.
inline constexpr std::uint32_t kPowderMask = 0x0000FFFF;
inline constexpr std::uint32_t kSingleCrystalMask = 0x03FFFFFF;

// Status of a read beyond the end of the file (or of a last record cut short).
inline constexpr int kReadPastEnd = -1;

// What the readers hand out: h, k, l as reals (mask bit 0) and data fields 1 to
// 25 as raw 32-bit words (mask bit i), in this machine's byte order. Fields 22
// to 25 of single-crystal records may be three words long.
struct ReflectionFields {
  std::array<float, 3> hkl{};
  std::array<std::array<std::uint32_t, 3>, kSingleCrystalFieldCount + 1> field{};  // [0] unused

  float real(int fieldNumber) const;
};

// Where one data field lies in a record: first word (1-based) and word count.
struct FieldWords {
  int firstWord;
  int words;
};
// Layout of the data fields for a record length; words = 0 when the field is
// not in records of that length.
FieldWords powderFieldWords(int fieldNumber);
FieldWords singleCrystalFieldWords(int fieldNumber, int recordLength);

// How the writing machine stored the records, decided from the first records.
struct RecordEncoding {
  bool swapped = false;         // written with the other byte order
  bool integerIndices = false;  // h, k, l stored as 32-bit integers
};
// Index words (the first three words of records 1, 2, ... as read from the
// file) decide the encoding: the first plausible reading, in the order native
// integers, native reals, swapped integers, swapped reals (integers only for
// powder files), that fits every sampled record; failing that, the first that
// fits record 1; failing that, native. Integers are plausible when the sum of
// their absolute values is below 10000; reals when each is 0 or between 0.5
// and 10000 in magnitude.
RecordEncoding detectRecordEncoding(const std::vector<std::array<std::uint32_t, 3>>& indexWords, bool powder);

// The one open reflection file.
struct ReflectionFile {
  int histogram = 0;     // histogram whose file is open; 0 when none
  int unit = 0;          // its unit; 0 when none has been opened
  int recordLength = 0;  // words
  std::array<std::uint32_t, kMaxRecordLength> record{};  // last record read
  int integerIndices = 0;
  bool swapped = false;
  bool powder = false;

  // Records read ahead in one block, so that a sequential pass costs one
  // system call per block rather than per record.
  std::vector<unsigned char> block;
  long blockFirstRecord = 0;
  long blockRecords = 0;
};

// The process's reflection file state.
ReflectionFile& reflectionFile();

// Name of a histogram's file: the experiment file name up to and including the
// "." of ".EXP", the letter and the histogram number in two digits.
std::string reflectionFileName(const std::string& experimentFileName, char letter, int histogram);

// Opens a single-crystal histogram's file and makes it current; asks whether
// the merged file is wanted when the histogram has one. A failed open stops
// the run through StopOnIoError.
void OpenSingleCrystalReflections(int experimentUnit, int histogram);

// Read reflection `identifier`, handing out the fields selected by mask.
// 0: read; kReadPastEnd: no such record; otherwise the errno of the failed read.
// Fields come from the last record held, even after a failed read.
int ReadPowderReflection(int experimentUnit, int identifier, std::uint32_t mask, ReflectionFields& fields);
int ReadSingleCrystalReflection(int experimentUnit, int identifier, std::uint32_t mask, ReflectionFields& fields);

// The openers the readers use on a change of histogram. create = 0 opens an
// existing file, otherwise a new (emptied) file is made. unit is in/out (the
// proposal for FindFreeUnit); recordLength out (in for the single-crystal
// opener: 22 asks for the merged file's length). A failed open stops the run.
void OpenPowderFile(int experimentUnit, int create, int& unit, int histogram, int& recordLength);
void OpenSingleCrystalFile(int experimentUnit, int create, int& unit, int histogram, int& recordLength,
                           int& integerIndices);

// Closes the open reflection file, if any.
void closeReflectionFile();
