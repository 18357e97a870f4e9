// Shared helpers of the experiment-file tests: a scratch directory per test,
// experiment files written record by record, and the bytes read back.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "expfile/exp_record.hpp"
#include "expfile/exp_store.hpp"
#include "terminal/unit_table.hpp"

using RecordList = std::vector<std::pair<std::string, std::string>>;

inline std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The bytes of a file holding these records, in this physical order.
inline std::string recordBytes(const RecordList& records) {
  std::string bytes;
  for (const auto& [key, value] : records) bytes += physicalRecord(key, value);
  return bytes;
}

// Runs each test in a fresh scratch directory and frees every store and unit
// it left open, so tests do not share slots when run in one process.
class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = std::filesystem::current_path();
    char pattern[] = "/tmp/expfile-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    for (int unit = 7; unit <= UnitTable::kMaxUnit; ++unit)
      if (unit != UnitTable::kTerminalIn && unit != UnitTable::kTerminalOut &&
          (expStore().isOpen(unit) || unitTable().isOpen(unit)))
        expStore().close(unit);
    std::filesystem::current_path(original_);
    std::filesystem::remove_all(dir_);
  }
  // Writes the records to path and opens it on unit (fopen mode as given).
  void openRecords(int unit, const std::string& path, const RecordList& records, const char* mode = "r+b") {
    writeBytes(path, recordBytes(records));
    ASSERT_EQ(unitTable().open(unit, path, mode), 0);
  }

  std::filesystem::path original_;
  std::string dir_;
};
