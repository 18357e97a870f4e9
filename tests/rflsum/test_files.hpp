// Small experiment and reflection files made inside a test's own directory.
#pragma once

#include <bit>
#include <cstdint>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "expfile/exp_store.hpp"
#include "terminal/fortran_format.hpp"  // padRight
#include "terminal/unit_table.hpp"

namespace rflsum_test {

inline std::uint32_t realWord(float value) { return std::bit_cast<std::uint32_t>(value); }
inline std::uint32_t integerWord(int value) { return static_cast<std::uint32_t>(value); }

// A fresh directory holding "T.EXP" (records given as key, value) open
// read-only on a unit as an experiment store; closed and removed at the end.
using Records = std::vector<std::pair<std::string, std::string>>;

class TestExperiment {
 public:
  explicit TestExperiment(const Records& records = {}, const char* openMode = "rb") {
    directory_ = std::filesystem::temp_directory_path() /
                 ("rflsum_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter()++));
    std::filesystem::create_directories(directory_);
    std::ofstream file(path("T.EXP"), std::ios::binary);
    for (const auto& [key, value] : records) file << padRight(key, 12) << padRight(value, 68) << "\r\n";
    file << padRight("ZZZZZZZZZZZZ", 80) << "\r\n";
    file.close();
    unit_ = 20;
    FindFreeUnit(unit_);
    unitTable().open(unit_, path("T.EXP"), openMode);
  }
  TestExperiment(const TestExperiment&) = delete;
  TestExperiment& operator=(const TestExperiment&) = delete;
  ~TestExperiment() {
    expStore().close(unit_);
    std::filesystem::remove_all(directory_);
  }
  int unit() const { return unit_; }
  std::string path(const std::string& name) const { return (directory_ / name).string(); }

  // Writes a reflection file of whole records (words in this machine's order,
  // byte-swapped when swapped), plus extraBytes stray bytes at its end.
  void writeReflections(const std::string& name, const std::vector<std::vector<std::uint32_t>>& records,
                        bool swapped = false, int extraBytes = 0) const {
    std::ofstream file(path(name), std::ios::binary);
    for (const auto& record : records)
      for (std::uint32_t word : record) {
        const std::uint32_t stored = swapped ? __builtin_bswap32(word) : word;
        file.write(reinterpret_cast<const char*>(&stored), 4);
      }
    for (int i = 0; i < extraBytes; ++i) file.put('\x7f');
  }

 private:
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::filesystem::path directory_;
  int unit_ = 0;
};

// A powder record: integer h k l, then fields 1-15 with F and sigma(F) in 6, 7
// and field i = 100 + i elsewhere.
inline std::vector<std::uint32_t> powderRecord(int h, int k, int l, float f, float sigma) {
  std::vector<std::uint32_t> words = {integerWord(h), integerWord(k), integerWord(l)};
  for (int i = 1; i <= 15; ++i) words.push_back(realWord(i == 6 ? f : i == 7 ? sigma : 100.0f + i));
  return words;
}

// A single-crystal record of `length` words: h k l as reals (or integers), then
// word w (4 and up) holding the real 1000 + w, with F and sigma(F) in words 9, 10.
inline std::vector<std::uint32_t> singleCrystalRecord(int length, int h, int k, int l, float f, float sigma,
                                                      bool integers = false) {
  std::vector<std::uint32_t> words;
  for (int index : {h, k, l})
    words.push_back(integers ? integerWord(index) : realWord(static_cast<float>(index)));
  for (int w = 4; w <= length; ++w) words.push_back(realWord(w == 9 ? f : w == 10 ? sigma : 1000.0f + w));
  return words;
}

}  // namespace rflsum_test
