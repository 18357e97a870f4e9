// The version, history, phase-list and histogram-directory readers and the
// histogram key prefixes.
#include "expfile/directory_records.hpp"

#include "exp_test_files.hpp"

namespace {

constexpr int kUnit = 21;
constexpr int kListUnit = 30;

class DirectoryRecordsTest : public ScratchDirTest {
 protected:
  // Runs ShowLastHistory on a file of these records; returns the listing text.
  std::string lastHistory(const RecordList& records, int& nextNumber) {
    openRecords(kUnit, "H.EXP", records);
    EXPECT_EQ(unitTable().open(kListUnit, "H.LST", "w"), 0);
    ShowLastHistory(kUnit, kListUnit, nextNumber);
    unitTable().close(kListUnit);
    return fileBytes("H.LST");
  }
};

std::string historyKey(int number) {
  std::string digits = std::to_string(number);
  return "    HSTRY" + std::string(3 - digits.size(), ' ') + digits;
}

TEST_F(DirectoryRecordsTest, LastHistoryRecord) {
  const RecordList base = {{"     VERSION", "    6"}, {"      DESCR ", "title"}, {"ZZZZZZZZZZZZ", "end"}};
  int nextNumber = 0;
  EXPECT_EQ(lastHistory(base, nextNumber), "");
  EXPECT_EQ(nextNumber, 1);
  expStore().close(kUnit);

  // Records 1 to 12 written out of order: record 12 sorts last (blank-padded
  // numbers keep numeric order), so it is shown and the next number is 13.
  RecordList records = base;
  for (int number : {3, 12, 1, 10, 2, 4, 5, 6, 7, 8, 9, 11})
    records.push_back({historyKey(number), "run " + std::to_string(number)});
  records.push_back({"    HSTRYxyz", "not a history number"});
  const std::string record12 = physicalRecord(historyKey(12), "run 12").substr(0, 80);
  EXPECT_EQ(lastHistory(records, nextNumber), " The last history record is :\n " + record12 + "\n");
  EXPECT_EQ(nextNumber, 13);
}

TEST_F(DirectoryRecordsTest, HistoryWithoutVersionRecordIsStillFound) {
  int nextNumber = 0;
  const std::string listing = lastHistory({{historyKey(7), "run 7"}}, nextNumber);
  EXPECT_NE(listing.find("HSTRY  7run 7"), std::string::npos);
  EXPECT_EQ(nextNumber, 8);
}

TEST_F(DirectoryRecordsTest, PhaseListInBothLayouts) {
  using Types = std::array<int, kPhaseSlots>;
  const struct {
    const char* value;
    Types expected;
  } cases[] = {
      {"    1    0    1    0    0    0    0    0    1", {1, 0, 1, 0, 0, 0, 0, 0, 1}},
      {"  1  0  0  0  0  0  0  0  0", {1, 0, 0, 0, 0, 0, 0, 0, 0}},  // old 3-column layout
      {"  1  0  2  0  0  0  0  0  0  0  0  0  0  0  0", {1, 0, 2, 0, 0, 0, 0, 0, 0}},  // 15 old fields
      {"   12    3", {12, 3, 0, 0, 0, 0, 0, 0, 0}},  // 5-column: a 2-digit entry keeps column 3 blank
      {"", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    openRecords(kUnit, "P.EXP", {{" EXPR NPHAS ", c.value}});
    Types types{};
    ReadPhaseTypes(kUnit, types);
    EXPECT_EQ(types, c.expected) << c.value;
    expStore().close(kUnit);
  }
  openRecords(kUnit, "P.EXP", {{"     VERSION", "    6"}});
  Types types{};
  types.fill(7);
  ReadPhaseTypes(kUnit, types);
  EXPECT_EQ(types, Types{}) << "a missing phase list means no phases";
  expStore().close(kUnit);

  openRecords(kUnit, "P.EXP", {{" EXPR NPHAS ", "    1    x"}});
  EXPECT_EXIT(ReadPhaseTypes(kUnit, types), ::testing::ExitedWithCode(2), "P.EXP.* EXPR NPHAS .*not a number");
}

TEST_F(DirectoryRecordsTest, HistogramDirectory) {
  // 13 histograms: two type records; codes 14 to 24 come from the second
  // record too and are blank.
  openRecords(kUnit, "D.EXP", {{" EXPR  NHST ", "   13"},
                               {" EXPR  HTYP1", "  PNTR PXC  PNC* SNCN PXE  P1 2 P3 4 P5 6 P7 8 P9 0 PA B PC D"},
                               {" EXPR  HTYP2", "  PXCD"}});
  int count = 0;
  std::vector<std::string> types;
  ReadHistogramDirectory(kUnit, count, types);
  EXPECT_EQ(count, 13);
  ASSERT_EQ(types.size(), 24u);
  EXPECT_EQ(types[0], "PNTR");
  EXPECT_EQ(types[1], "PXC ");
  EXPECT_EQ(types[2], "PNC*");
  EXPECT_EQ(types[3], "SNCN");
  EXPECT_EQ(types[11], "PC D");
  EXPECT_EQ(types[12], "PXCD");
  for (int h = 14; h <= 24; ++h) EXPECT_EQ(types[h - 1], "    ") << h;
  expStore().close(kUnit);

  openRecords(kUnit, "D.EXP", {{"     VERSION", "    6"}});
  ReadHistogramDirectory(kUnit, count, types);
  EXPECT_EQ(count, 0) << "no count record means no histograms";
  EXPECT_TRUE(types.empty());
  expStore().close(kUnit);

  for (const char* bad : {"  100", "   -1", "  1x "}) {
    openRecords(kUnit, "D.EXP", {{" EXPR  NHST ", bad}});
    EXPECT_EXIT(ReadHistogramDirectory(kUnit, count, types), ::testing::ExitedWithCode(2),
                "D.EXP.*histogram count") << bad;
    expStore().close(kUnit);
  }
}

TEST_F(DirectoryRecordsTest, VersionRecord) {
  int version = -1;
  openRecords(kUnit, "V.EXP", {{"     VERSION", "    5     Fri Dec 11 05:51:43 2026"}});
  EXPECT_EQ(ReadFileVersion(kUnit, version), 0);
  EXPECT_EQ(version, 5);
  expStore().close(kUnit);
  openRecords(kUnit, "V.EXP", {{"ZZZZZZZZZZZZ", ""}});
  EXPECT_EQ(ReadFileVersion(kUnit, version), 1);
  EXPECT_EQ(version, 0);
}

TEST(KeyPrefixes, HistogramAndPhaseHistogram) {
  EXPECT_EQ(HistogramKeyPrefix(1), "HST  1");
  EXPECT_EQ(HistogramKeyPrefix(12), "HST 12");
  EXPECT_EQ(PhaseHistogramKeyPrefix(1, 3), "HAP1 3");
  EXPECT_EQ(PhaseHistogramKeyPrefix(9, 99), "HAP999");
  // Blank-padded numbers keep numeric order as text: 9 before 10.
  EXPECT_LT(HistogramKeyPrefix(9), HistogramKeyPrefix(10));
}

}  // namespace
