// The record store: reads by key and prefix, walks, deletes, writes, the
// bytes it leaves on disk, its stops, and a model check against the original
// linear-scan algorithm on files full of duplicate and near-duplicate keys.
#include <sys/stat.h>

#include <algorithm>
#include <random>

#include "exp_test_files.hpp"
#include "expfile/exp_store.hpp"
#include "terminal/fortran_format.hpp"  // trimRight
#include "terminal/run_stop.hpp"

namespace {

constexpr int kUnit = 21;
const std::string kBlank68(68, ' ');

std::string pad(const std::string& text, std::size_t n) { return text + std::string(n - text.size(), ' '); }

class ExpStoreTest : public ScratchDirTest {};

const RecordList kSmallFile = {
    {"     VERSION", "    6"},
    {"CRS1  CELL  ", "   5.43100   5.43100   5.43100"},
    {"CRS1ATOM   1", "SI    0.125 0.125 0.125"},
    {"CRS1ATOM   2", "O     0.000 0.000 0.000"},
    {"HST  1  HNAM", "  powder pattern"},
    {"ZZZZZZZZZZZZ", "  Last EXP file record"},
};

TEST_F(ExpStoreTest, ReadsByExactKeyAndByPrefix) {
  openRecords(kUnit, "A.EXP", kSmallFile);
  std::string value;
  EXPECT_EQ(expStore().read(kUnit, "CRS1  CELL  ", value), 0);
  EXPECT_EQ(value, pad("   5.43100   5.43100   5.43100", 68));
  // A 4-character prefix: the first 8 characters are the rest of the first
  // matching key in key order (a blank sorts before letters), then the first
  // 60 of its value.
  value.clear();
  EXPECT_EQ(expStore().read(kUnit, "CRS1", value), 0);
  EXPECT_EQ(value, "  CELL  " + std::string("   5.43100   5.43100   5.43100").append(30, ' '));
  EXPECT_EQ(expStore().read(kUnit, "CRS1A", value), 0);
  EXPECT_EQ(value, "TOM   1" + pad("SI    0.125 0.125 0.125", 61));
  // The caller's buffer length cuts or pads.
  value.assign(5, '?');
  EXPECT_EQ(expStore().read(kUnit, "     VERSION", value), 0);
  EXPECT_EQ(value, "    6");
  // Not found: status 1 and a blank value of the buffer's length.
  value.assign(10, '?');
  EXPECT_EQ(expStore().read(kUnit, "CRS2", value), 1);
  EXPECT_EQ(value, std::string(10, ' '));
  value.clear();
  EXPECT_EQ(expStore().read(kUnit, "CRS1  CELL", value), 0) << "an 10-character prefix of an existing key";
  EXPECT_EQ(expStore().read(kUnit, "CRS1  CELLX ", value), 1);
}

TEST_F(ExpStoreTest, NextWalksInKeyOrderFromAKeyedRead) {
  // Physically out of order; the walk follows the keys.
  openRecords(kUnit, "A.EXP", {{"B           ", "b"}, {"A           ", "a"}, {"D           ", "d"},
                                {"C           ", "c"}});
  std::string key, value;
  ASSERT_EQ(expStore().read(kUnit, "A", value), 0);
  std::string walked;
  while (expStore().next(kUnit, key, value) == 0) walked += key.substr(0, 1) + value.substr(0, 1);
  EXPECT_EQ(walked, "BbCcDd");
  EXPECT_EQ(key, std::string(12, ' '));
  EXPECT_EQ(expStore().next(kUnit, key, value), 1) << "stays at the end";
  // After a failed read the cursor is at the end too.
  ASSERT_EQ(expStore().read(kUnit, "B", value), 0);
  ASSERT_EQ(expStore().read(kUnit, "X", value), 1);
  EXPECT_EQ(expStore().next(kUnit, key, value), 1);
}

TEST_F(ExpStoreTest, RemovedRecordIsGoneAndItsBytesAreTildes) {
  openRecords(kUnit, "A.EXP", kSmallFile);
  std::string value;
  EXPECT_EQ(expStore().remove(kUnit, "CRS1ATOM   1"), 0);
  // Removal through the read call with the value "DELETE", by prefix.
  value = "DELETE";
  EXPECT_EQ(expStore().read(kUnit, "HST  1", value), 0);
  value = "DELETE";
  EXPECT_EQ(expStore().read(kUnit, "HST  1", value), 1) << "nothing left to delete";
  EXPECT_EQ(expStore().read(kUnit, "CRS1ATOM   1", value), 1);
  EXPECT_EQ(expStore().read(kUnit, "HST", value), 1);
  std::string key, walked;
  ASSERT_EQ(expStore().read(kUnit, "     VERSION", value), 0);
  while (expStore().next(kUnit, key, value) == 0) walked += key + "|";
  EXPECT_EQ(walked, "CRS1  CELL  |CRS1ATOM   2|ZZZZZZZZZZZZ|");

  RecordList expected = kSmallFile;
  expected[2] = {"~~~~~~~~~~~~", ""};
  expected[4] = {"~~~~~~~~~~~~", ""};
  EXPECT_EQ(fileBytes("A.EXP"), recordBytes(expected));
}

TEST_F(ExpStoreTest, WritesReplaceInPlaceAndAppendAfterTheLastRecord) {
  // Deleted and blank-keyed records in the middle: on re-open they are not
  // reused; a new record goes after the last physical record.
  RecordList records = {{"A           ", "1"}, {"~~~~~~~~~~~~", ""}, {"            ", "blank key"},
                        {"C           ", "3"}};
  openRecords(kUnit, "A.EXP", records);
  std::string value;
  EXPECT_EQ(expStore().read(kUnit, "            ", value), 1) << "a blank key counts as deleted";
  WRITEXP(kUnit, "B", "new");
  WRITEXP(kUnit, "C           ", std::string("three") + std::string(63, ' ') + std::string("   \0\0", 5));
  EXPECT_EQ(expStore().lastRecordNumber(kUnit), 5);
  expStore().close(kUnit);
  ASSERT_EQ(unitTable().open(kUnit, "A.EXP", "r+b"), 0);
  WRITEXP(kUnit, "AA", "after re-open");
  records[3] = {"C           ", "three"};
  records.push_back({"B           ", "new"});
  records.push_back({"AA          ", "after re-open"});
  EXPECT_EQ(fileBytes("A.EXP"), recordBytes(records));
  std::string key;
  ASSERT_EQ(expStore().read(kUnit, "A           ", value), 0);
  std::string walked;
  while (expStore().next(kUnit, key, value) == 0) walked += std::string(trimRight(key)) + "=" + std::string(trimRight(value)) + " ";
  EXPECT_EQ(walked, "AA=after re-open B=new C=three ");
}

TEST_F(ExpStoreTest, EmptyFileGetsRecordOneAndValuesAreNeverStale) {
  openRecords(kUnit, "A.EXP", {});
  std::string key, value;
  EXPECT_EQ(expStore().next(kUnit, key, value), 1);
  EXPECT_EQ(expStore().entryCount(kUnit), 0);
  WRITEXP(kUnit, "K", "first");
  EXPECT_EQ(fileBytes("A.EXP"), physicalRecord("K", "first"));
  ASSERT_EQ(expStore().read(kUnit, "K           ", value), 0);
  WRITEXP(kUnit, "K", "second");
  value.clear();
  ASSERT_EQ(expStore().read(kUnit, "K           ", value), 0);
  EXPECT_EQ(value, pad("second", 68));
}

TEST_F(ExpStoreTest, ValueLengthLimit) {
  openRecords(kUnit, "A.EXP", {});
  WRITEXP(kUnit, "K", std::string(68, 'x') + "    ");  // trailing blanks do not count
  EXPECT_EQ(fileBytes("A.EXP"), physicalRecord("K", std::string(68, 'x')));
  EXPECT_EXIT(
      {
        dup2(2, 1);  // the report goes to standard output
        WRITEXP(kUnit, "K", std::string(69, 'y'));
      },
      ::testing::ExitedWithCode(1),
      " \\*\\*\\*\\*\\*  PROGRAMMER ERROR \\*\\*\\*\\*  String length greater than 68 characters\n\n"
      " The string length is  69\n KEYVAL : K           \n String : y+\n\n"
      "STOP \\*\\*\\*\\*\\* PROGRAMMER error detected in WRITEXP \\*\\*\\*\\*\\* statement executed");
}

TEST_F(ExpStoreTest, ThirdStoreHaltsTheRun) {
  openRecords(11, "A.EXP", kSmallFile);
  openRecords(12, "B.EXP", kSmallFile);
  openRecords(13, "C.EXP", kSmallFile);
  std::string value;
  EXPECT_EQ(expStore().read(11, "     VERSION", value), 0);
  EXPECT_EQ(expStore().read(12, "     VERSION", value), 0);
  EXPECT_EXIT(
      {
        dup2(2, 1);
        expStore().read(13, "     VERSION", value);
      },
      ::testing::ExitedWithCode(1),
      "No more ISAM style files can be opened\nSTOP Halt in STARTISAM statement executed");
  // Closing one frees its slot for the third file.
  expStore().close(11);
  EXPECT_EQ(expStore().read(13, "     VERSION", value), 0);
}

TEST_F(ExpStoreTest, MalformedFilesStopNamingTheFile) {
  const std::string good = recordBytes(kSmallFile);
  std::string noCarriageReturns = good;
  std::erase(noCarriageReturns, '\r');
  std::string lastWithoutLineEnd = good;
  lastWithoutLineEnd[good.size() - 2] = ' ';
  lastWithoutLineEnd[good.size() - 1] = ' ';
  const struct {
    std::string bytes;
    const char* message;
  } cases[] = {
      {good.substr(0, good.size() - 1), "file size 491 is not a whole number of 82-byte records"},
      {noCarriageReturns, "file size 486 is not a whole number"},
      {noCarriageReturns + std::string(6, '\n'), "record 1 does not end in CR LF"},  // 492 bytes: a whole number
      {lastWithoutLineEnd, "record 6 does not end in CR LF"},
  };
  for (const auto& c : cases) {
    writeBytes("BAD.EXP", c.bytes);
    ASSERT_EQ(unitTable().open(kUnit, "BAD.EXP", "rb"), 0);
    std::string value;
    EXPECT_EXIT(expStore().read(kUnit, "     VERSION", value), ::testing::ExitedWithCode(2),
                std::string("unit = 21, file = 'BAD.EXP'.*") + c.message);
    unitTable().close(kUnit);
  }
}

TEST_F(ExpStoreTest, ReadOnlyFileIsReadAndNeverChanged) {
  writeBytes("RO.EXP", recordBytes(kSmallFile));
  chmod("RO.EXP", 0444);
  ASSERT_EQ(unitTable().open(kUnit, "RO.EXP", "rb"), 0);
  std::string value;
  EXPECT_EQ(expStore().read(kUnit, "CRS1  CELL  ", value), 0);
  EXPECT_EXIT(WRITEXP(kUnit, "NEW", "x"), ::testing::ExitedWithCode(2), "RO.EXP.*open read-only");
  EXPECT_EXIT(expStore().remove(kUnit, "CRS1"), ::testing::ExitedWithCode(2), "RO.EXP.*open read-only");
  EXPECT_EQ(fileBytes("RO.EXP"), recordBytes(kSmallFile));
}

TEST_F(ExpStoreTest, ReadMandatoryStopsOnAMissingRecord) {
  openRecords(kUnit, "A.EXP", kSmallFile);
  std::string value;
  expStore().readMandatory(kUnit, "CRS1  CELL  ", value);
  EXPECT_EQ(value.substr(0, 10), "   5.43100");
  EXPECT_EXIT(
      {
        dup2(2, 1);
        expStore().readMandatory(kUnit, "CRS1  SG SYM", value);
      },
      ::testing::ExitedWithCode(1), "^ ISAM record with KEY = \"CRS1  SG SYM\" has problems.\n$");
}

TEST_F(ExpStoreTest, CloseWithDeleteRemovesTheFile) {
  openRecords(kUnit, "A.EXP", kSmallFile);
  std::string value;
  EXPECT_EQ(expStore().read(kUnit, "ZZZZZZZZZZZZ", value), 0);
  expStore().close(kUnit, "DELETE");
  EXPECT_FALSE(expStore().isOpen(kUnit));
  EXPECT_FALSE(std::filesystem::exists("A.EXP"));
}

// The store as first written: Shell sort of the whole index, lookups by a
// linear scan, removed keys overwritten by "~" in the index, inserts moving
// entries up from the end. Records live in memory.
class LinearModel {
 public:
  explicit LinearModel(const RecordList& records) {
    for (const auto& [key, value] : records) records_.push_back(physicalRecord(key, value).substr(0, 80));
    for (const std::string& record : records_) {
      std::string key = record.substr(0, 12);
      keys_.push_back(key == std::string(12, ' ') ? std::string(kDeletedKey) : key);
    }
    const long n = static_cast<long>(keys_.size());
    for (long i = 1; i <= n; ++i) order_.push_back(static_cast<int>(i));
    auto keyAt = [&](long p) -> const std::string& { return keys_[order_[p - 1] - 1]; };
    long gap = n, divisor = 8;
    for (;;) {
      if (gap == 15) divisor = 4;
      if (gap <= 1) break;
      gap = 2 * (gap / divisor) + 1;
      for (long j = 1; j <= n - gap; ++j)
        for (long k = j; k >= 1 && keyAt(k) > keyAt(k + gap); k -= gap) std::swap(order_[k - 1], order_[k + gap - 1]);
    }
    count_ = static_cast<int>(n);
    while (count_ > 0 && keys_[order_[count_ - 1] - 1] == kDeletedKey) --count_;
    order_.resize(count_);
  }
  int lookup(const std::string& prefix) {
    for (cursor_ = 1; cursor_ <= count_; ++cursor_)
      if (keys_[order_[cursor_ - 1] - 1].compare(0, prefix.size(), prefix) == 0) return cursor_;
    cursor_ = count_;
    return 0;
  }
  int read(const std::string& key, std::string& value) {
    const int p = lookup(key);
    value = p ? records_[order_[p - 1] - 1].substr(key.size(), 68) : kBlank68;
    return p ? 0 : 1;
  }
  int next(std::string& key, std::string& value) {
    if (cursor_ < count_) {
      ++cursor_;
      while (cursor_ <= count_ && keys_[order_[cursor_ - 1] - 1] == kDeletedKey) ++cursor_;
      if (cursor_ <= count_) {
        key = records_[order_[cursor_ - 1] - 1].substr(0, 12);
        value = records_[order_[cursor_ - 1] - 1].substr(12);
        return 0;
      }
    }
    cursor_ = count_;
    key = std::string(12, ' ');
    value = kBlank68;
    return 1;
  }
  int remove(const std::string& key) {
    const int p = lookup(key);
    if (!p) return 1;
    const int entry = order_[lookup(records_[order_[p - 1] - 1].substr(0, 12)) - 1];
    keys_[entry - 1] = kDeletedKey;
    records_[entry - 1] = physicalRecord(kDeletedKey, "").substr(0, 80);
    return 0;
  }
  void write(const std::string& key, const std::string& value) {
    int entry;
    if (const int p = lookup(key)) {
      entry = order_[p - 1];
    } else {
      records_.emplace_back();
      keys_.push_back(key);
      entry = static_cast<int>(records_.size());
      ++count_;
      order_.push_back(0);
      int j = count_;
      while (j > 1 && keys_[order_[j - 2] - 1] > key) {
        order_[j - 1] = order_[j - 2];
        --j;
      }
      order_[j - 1] = entry;
    }
    records_[entry - 1] = physicalRecord(key, value).substr(0, 80);
  }
  std::string bytes() const {
    std::string all;
    for (const std::string& record : records_) all += record + "\r\n";
    return all;
  }

 private:
  std::vector<std::string> records_, keys_;
  std::vector<int> order_;
  int count_ = 0, cursor_ = 0;
};

// Keys from a tiny alphabet give many duplicates and shared prefixes.
std::string randomKey(std::mt19937& random, bool allowSpecial) {
  static const std::string letters = "AB 1";
  std::string key(12, ' ');
  for (int i = 0; i < 12; i += 4) key[i] = letters[random() % letters.size()];
  key[2] = "HC"[random() % 2];
  if (allowSpecial && random() % 12 == 0) return random() % 2 ? std::string(12, ' ') : std::string(kDeletedKey);
  return key;
}

TEST_F(ExpStoreTest, MatchesTheLinearScanStoreOperationForOperation) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 60; ++round) {
    RecordList records;
    const int size = static_cast<int>(random() % (round < 10 ? 5 : 120));
    for (int i = 0; i < size; ++i) records.push_back({randomKey(random, true), "record " + std::to_string(i + 1)});
    openRecords(kUnit, "M.EXP", records);
    LinearModel model(records);
    for (int step = 0; step < 200; ++step) {
      std::string key = randomKey(random, false);
      key.resize(1 + random() % 12);  // prefixes of every length
      std::string value, modelValue, nextKey, modelKey;
      const int operation = static_cast<int>(random() % 10);
      SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step) + " op " +
                   std::to_string(operation) + " key '" + key + "'");
      if (operation < 4) {
        ASSERT_EQ(expStore().read(kUnit, key, value), model.read(key, modelValue));
        ASSERT_EQ(value, modelValue);
      } else if (operation < 7) {
        ASSERT_EQ(expStore().next(kUnit, nextKey, value), model.next(modelKey, modelValue));
        ASSERT_EQ(nextKey + value, modelKey + modelValue);
      } else if (operation < 8) {
        ASSERT_EQ(expStore().remove(kUnit, key), model.remove(key));
      } else if (!trimRight(key).empty()) {
        key.resize(12, ' ');
        const std::string text = "written at step " + std::to_string(step);
        WRITEXP(kUnit, key, text);
        model.write(key, text);
      }
    }
    ASSERT_EQ(fileBytes("M.EXP"), model.bytes()) << "round " << round;
    expStore().close(kUnit);
  }
}

}  // namespace
