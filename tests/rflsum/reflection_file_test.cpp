// Reflection file access: naming, switching files, record layouts, masks,
// byte orders, integer indices and damaged files.
#include <gtest/gtest.h>

#include "rflsum/reflection_file.hpp"
#include "test_files.hpp"

namespace {

using rflsum_test::integerWord;
using rflsum_test::powderRecord;
using rflsum_test::realWord;
using rflsum_test::singleCrystalRecord;
using rflsum_test::Records;
using rflsum_test::TestExperiment;

// Every test starts with no reflection file open.
class ReflectionFileTest : public ::testing::Test {
 protected:
  void TearDown() override { closeReflectionFile(); }
};

TEST_F(ReflectionFileTest, NamesFilesAfterTheExperiment) {
  EXPECT_EQ(reflectionFileName("/data/RUN.EXP", 'R', 2), "/data/RUN.R02");
  EXPECT_EQ(reflectionFileName("A.B.EXP", 'M', 13), "A.B.M13");
}

TEST_F(ReflectionFileTest, SwitchesFilesWhenAnotherHistogramIsAsked) {
  TestExperiment experiment(Records{{" EXPR  NHST ", "    2"}});
  std::vector<std::vector<std::uint32_t>> first, second;
  for (int i = 1; i <= 20; ++i) {
    first.push_back(powderRecord(i, 0, 0, 1.0f, 1.0f));
    second.push_back(powderRecord(0, i, 0, 2.0f * i, 1.0f));
  }
  experiment.writeReflections("T.R01", first);
  experiment.writeReflections("T.R02", second);

  ReflectionFields fields;
  ASSERT_EQ(ReadPowderReflection(experiment.unit(), 200015, kPowderMask, fields), 0);
  EXPECT_EQ(fields.hkl, (std::array<float, 3>{0.0f, 15.0f, 0.0f}));
  EXPECT_FLOAT_EQ(fields.real(6), 30.0f);
  EXPECT_FLOAT_EQ(fields.real(15), 115.0f);
  const int secondUnit = reflectionFile().unit;

  ASSERT_EQ(ReadPowderReflection(experiment.unit(), 100001, kPowderMask, fields), 0);
  EXPECT_EQ(fields.hkl, (std::array<float, 3>{1.0f, 0.0f, 0.0f}));
  EXPECT_EQ(reflectionFile().histogram, 1);
  EXPECT_FALSE(unitTable().isOpen(secondUnit) && unitTable().name(secondUnit) == experiment.path("T.R02"));
}

TEST_F(ReflectionFileTest, MasksSelectTheFieldsHandedOut) {
  TestExperiment experiment;
  experiment.writeReflections("T.R01", {powderRecord(1, 2, 3, 40.0f, 2.0f), powderRecord(4, 5, 6, 8.0f, 1.0f)});
  ReflectionFields fields;
  fields.field[6][0] = 77;
  ASSERT_EQ(ReadPowderReflection(experiment.unit(), 100001, 1, fields), 0);  // indices only
  EXPECT_EQ(fields.hkl, (std::array<float, 3>{1.0f, 2.0f, 3.0f}));
  EXPECT_EQ(fields.field[6][0], 77u);

  fields.hkl = {-1.0f, -1.0f, -1.0f};
  ASSERT_EQ(ReadPowderReflection(experiment.unit(), 100002, 0, fields), 0);  // nothing, but read
  EXPECT_EQ(fields.hkl, (std::array<float, 3>{-1.0f, -1.0f, -1.0f}));
  EXPECT_EQ(reflectionFile().record[0], integerWord(4));

  ASSERT_EQ(ReadPowderReflection(experiment.unit(), 100002, 1u << 7, fields), 0);  // sigma(F) alone
  EXPECT_FLOAT_EQ(fields.real(7), 1.0f);
  EXPECT_EQ(fields.field[6][0], 77u);
}

TEST_F(ReflectionFileTest, SingleCrystalRecordLayouts) {
  // Without "REFLEN" the histogram's file has 32-word records; with it, as given.
  struct Case {
    const char* reflen;
    int length;
  } cases[] = {{nullptr, 32}, {"   36", 36}, {"   32", 32}};
  for (const Case& c : cases) {
    Records records;
    if (c.reflen) records.push_back({"HST  1REFLEN", c.reflen});
    TestExperiment experiment(records);
    experiment.writeReflections("T.S01", {singleCrystalRecord(c.length, 1, 2, 3, 5.0f, 1.0f),
                                          singleCrystalRecord(c.length, -4, 5, -6, 7.0f, 0.5f)});
    OpenSingleCrystalReflections(experiment.unit(), 1);
    EXPECT_EQ(reflectionFile().recordLength, c.length);
    ReflectionFields fields;
    ASSERT_EQ(ReadSingleCrystalReflection(experiment.unit(), 100002, kSingleCrystalMask, fields), 0);
    EXPECT_EQ(fields.hkl, (std::array<float, 3>{-4.0f, 5.0f, -6.0f})) << c.length;
    EXPECT_FLOAT_EQ(fields.real(6), 7.0f);
    EXPECT_FLOAT_EQ(fields.real(7), 0.5f);
    EXPECT_FLOAT_EQ(fields.real(21), 1024.0f);
    EXPECT_EQ(fields.field[22], (std::array<std::uint32_t, 3>{realWord(1025), realWord(1026), realWord(1027)}));
    if (c.length == 36) {
      EXPECT_EQ(fields.field[25], (std::array<std::uint32_t, 3>{realWord(1034), realWord(1035), realWord(1036)}));
    } else {
      EXPECT_FLOAT_EQ(fields.real(24), 1031.0f);
      EXPECT_FLOAT_EQ(fields.real(25), 1032.0f);
    }
    closeReflectionFile();
  }
}

// Files from either byte order, with indices as integers or reals, read alike.
TEST_F(ReflectionFileTest, ReadsBothByteOrdersAndIntegerIndices) {
  struct Case {
    bool powder, swapped, integers;
    int h, k, l;  // of record 1
    const char* why;
  } cases[] = {
      {true, false, true, 1, 2, 3, "powder, this machine's order"},
      {true, true, true, 1, 2, 3, "powder from a big-endian machine"},
      {false, false, false, 1, 2, 3, "single crystal, reals"},
      {false, true, false, 1, 2, 3, "single crystal, big-endian reals"},
      {false, false, true, 1, 2, 3, "single crystal with integer indices"},
      {false, true, true, 1, 2, 3, "big-endian integer indices"},
      // Big-endian 2.0 reads as the small integer 64 in this order: the later
      // records settle it.
      {false, true, false, 2, 0, 0, "big-endian reals that look like integers in record 1"},
      {false, false, false, 0, 0, 0, "all-zero first record"},
  };
  for (const Case& c : cases) {
    TestExperiment experiment;
    std::vector<std::vector<std::uint32_t>> records;
    if (c.powder) {
      records = {powderRecord(c.h, c.k, c.l, 10.0f, 2.0f), powderRecord(-7, 8, 9, 30.0f, 3.0f)};
    } else {
      records = {singleCrystalRecord(32, c.h, c.k, c.l, 10.0f, 2.0f, c.integers),
                 singleCrystalRecord(32, -7, 8, 9, 30.0f, 3.0f, c.integers)};
    }
    experiment.writeReflections(c.powder ? "T.R01" : "T.S01", records, c.swapped);
    ReflectionFields fields;
    int status = 0;
    if (c.powder) {
      status = ReadPowderReflection(experiment.unit(), 100002, kPowderMask, fields);
    } else {
      OpenSingleCrystalReflections(experiment.unit(), 1);
      EXPECT_EQ(reflectionFile().integerIndices, c.integers ? 1 : 0) << c.why;
      status = ReadSingleCrystalReflection(experiment.unit(), 100002, kSingleCrystalMask, fields);
    }
    ASSERT_EQ(status, 0) << c.why;
    EXPECT_EQ(fields.hkl, (std::array<float, 3>{-7.0f, 8.0f, 9.0f})) << c.why;
    EXPECT_FLOAT_EQ(fields.real(6), 30.0f) << c.why;
    EXPECT_FLOAT_EQ(fields.real(7), 3.0f) << c.why;
    closeReflectionFile();
  }
}

TEST_F(ReflectionFileTest, DetectsEncodingFromIndexWords) {
  using Words = std::array<std::uint32_t, 3>;
  const Words ints123 = {1, 2, 3};
  const Words reals123 = {realWord(1), realWord(2), realWord(3)};
  const auto swap = [](Words w) { return Words{__builtin_bswap32(w[0]), __builtin_bswap32(w[1]), __builtin_bswap32(w[2])}; };
  struct Case {
    std::vector<Words> words;
    bool powder, swapped, integers;
  } cases[] = {
      {{ints123}, false, false, true},
      {{reals123}, false, false, false},
      {{swap(ints123)}, false, true, true},
      {{swap(reals123)}, false, true, false},
      {{swap(ints123)}, true, true, true},
      {{}, false, false, false},  // empty file: this machine's order, reals
      {{{0x12345678, 0x12345678, 0x12345678}}, true, false, true},  // nothing fits: native
  };
  for (const Case& c : cases) {
    const RecordEncoding e = detectRecordEncoding(c.words, c.powder);
    EXPECT_EQ(e.swapped, c.swapped);
    EXPECT_EQ(e.integerIndices, c.integers);
  }
}

// The general opener: 36 words without "REFLEN", the merged file whenever the
// histogram has one, and the record length kept in the experiment only by a run
// that makes the file.
TEST_F(ReflectionFileTest, GeneralSingleCrystalOpener) {
  TestExperiment experiment(Records{{"HST  2 NREFM", "    1"}}, "r+b");
  experiment.writeReflections("T.S01", {singleCrystalRecord(36, 1, 2, 3, 5.0f, 1.0f, true)});
  experiment.writeReflections("T.M02", {singleCrystalRecord(22, 4, 5, 6, 5.0f, 1.0f)});
  int unit = 0, recordLength = 0, integerIndices = 0;
  OpenSingleCrystalFile(experiment.unit(), 0, unit, 1, recordLength, integerIndices);
  EXPECT_EQ(recordLength, 36);
  EXPECT_EQ(integerIndices, 1);
  std::string value(68, ' ');
  EXPECT_EQ(expStore().read(experiment.unit(), "HST  1REFLEN", value), 1);  // not written

  recordLength = 0;
  OpenSingleCrystalFile(experiment.unit(), 0, unit, 2, recordLength, integerIndices);
  EXPECT_EQ(recordLength, 22);
  EXPECT_EQ(integerIndices, 0);
  EXPECT_EQ(unitTable().name(unit), experiment.path("T.M02"));

  recordLength = 0;
  OpenSingleCrystalFile(experiment.unit(), 1, unit, 3, recordLength, integerIndices);
  EXPECT_EQ(recordLength, 36);
  ASSERT_EQ(expStore().read(experiment.unit(), "HST  3REFLEN", value), 0);
  EXPECT_EQ(value.substr(0, 5), "   36");
  EXPECT_EQ(std::filesystem::file_size(experiment.path("T.S03")), 0u);
}

TEST_F(ReflectionFileTest, ShortAndRaggedFilesEndWithAStatus) {
  TestExperiment experiment;
  // Two whole records and 30 stray bytes: record 3 does not exist.
  experiment.writeReflections("T.R01", {powderRecord(1, 1, 1, 5.0f, 1.0f), powderRecord(2, 2, 2, 6.0f, 1.0f)},
                              false, 30);
  ReflectionFields fields;
  EXPECT_EQ(ReadPowderReflection(experiment.unit(), 100002, kPowderMask, fields), 0);
  EXPECT_EQ(ReadPowderReflection(experiment.unit(), 100003, kPowderMask, fields), kReadPastEnd);
  EXPECT_EQ(ReadPowderReflection(experiment.unit(), 199999, kPowderMask, fields), kReadPastEnd);
  // The fields handed out after a failure are those of the last record held.
  EXPECT_EQ(fields.hkl, (std::array<float, 3>{2.0f, 2.0f, 2.0f}));
  EXPECT_NE(ReadPowderReflection(experiment.unit(), 100000, kPowderMask, fields), 0);  // record 0
}

TEST_F(ReflectionFileTest, UnusableRecordLengthStopsWithAMessage) {
  TestExperiment experiment(Records{{"HST  1REFLEN", "99999"}});
  experiment.writeReflections("T.S01", {singleCrystalRecord(32, 1, 2, 3, 5.0f, 1.0f)});
  EXPECT_EXIT(OpenSingleCrystalReflections(experiment.unit(), 1), testing::ExitedWithCode(1),
              "Invalid reflection file record length");
}

TEST_F(ReflectionFileTest, MissingFileStopsThroughTheIoStop) {
  TestExperiment experiment;
  ReflectionFields fields;
  EXPECT_EXIT(ReadPowderReflection(experiment.unit(), 300001, kPowderMask, fields), testing::ExitedWithCode(1), "");
}

}  // namespace
