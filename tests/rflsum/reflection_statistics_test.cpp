// Class membership, parity and table rows of the reflection statistics.
#include <gtest/gtest.h>

#include <set>

#include "rflsum/reflection_statistics.hpp"

namespace {

// Rows (1-based) whose sets a single reflection reached, with the parity used.
std::set<std::pair<int, int>> touchedSets(const ReflectionStatistics& statistics) {
  std::set<std::pair<int, int>> touched;
  for (int row = 0; row < kClassCount; ++row)
    for (int parity : {0, 1})
      if (statistics.set(row, parity).count > 0) touched.insert({row + 1, parity});
  return touched;
}

TEST(ReflectionStatistics, MembershipAndParityOfSingleReflections) {
  struct Case {
    float h, k, l;
    std::set<std::pair<int, int>> expected;  // (row, 0 even / 1 odd)
  } cases[] = {
      // 0 0 4: 00l, h0l, 0kl, hkl and hhl rows (h = k = 0), all even.
      {0, 0, 4, {{3, 0}, {7, 0}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {12, 0}, {13, 0}, {14, 0}, {15, 0}, {16, 0},
                 {17, 0}, {18, 0}}},
      // -3 0 0: negative odd values are odd; h00, hk0, h0l and hkl rows.
      {-3, 0, 0, {{1, 1}, {4, 1}, {5, 0}, {6, 1}, {7, 1}, {8, 0}, {9, 1}, {13, 1}, {14, 1}, {15, 0}, {16, 1}}},
      // 2 2 2: hhl and hhh as well as the general rows.
      {2, 2, 2, {{13, 0}, {14, 0}, {15, 0}, {16, 0}, {17, 0}, {18, 0}, {19, 0}}},
      // 1 2 3: general rows only; h+k+l = 6 even.
      {1, 2, 3, {{13, 1}, {14, 0}, {15, 1}, {16, 0}}},
      // 1.9 -0.7 0: indices truncate toward zero, so this is 1 0 0.
      {1.9f, -0.7f, 0, {{1, 1}, {4, 1}, {5, 0}, {6, 1}, {7, 1}, {8, 0}, {9, 1}, {13, 1}, {14, 1}, {15, 0}, {16, 1}}},
  };
  for (const Case& c : cases) {
    ReflectionStatistics statistics;
    statistics.add(c.h, c.k, c.l, 10.0f, 1.0f);
    EXPECT_EQ(touchedSets(statistics), c.expected) << c.h << " " << c.k << " " << c.l;
  }
}

TEST(ReflectionStatistics, AccumulatesStrengthsAndIgnoresUnusableReflections) {
  ReflectionStatistics statistics;
  statistics.add(0, 0, 4, 10.0f, 1.0f);  // r = 10: over 3 and over 9
  statistics.add(0, 0, 2, 9.0f, 1.0f);   // r = 9: over 3 only (strictly greater)
  statistics.add(0, 0, 6, 3.0f, 1.0f);   // r = 3: neither
  statistics.add(0, 0, 8, 5.0f, 0.0f);   // sigma 0: ignored
  statistics.add(0, 0, 8, 5.0f, -1.0f);  // negative sigma: ignored
  statistics.add(0, 0, 1e20f, 5.0f, 1.0f);  // damaged indices: ignored
  const ParitySet& even = statistics.set(2, ReflectionStatistics::kEven);
  EXPECT_EQ(even.count, 3);
  EXPECT_EQ(even.over3, 2);
  EXPECT_EQ(even.over9, 1);
  EXPECT_FLOAT_EQ(even.sum, 22.0f);
  EXPECT_FLOAT_EQ(even.max, 10.0f);
  EXPECT_EQ(statistics.set(2, ReflectionStatistics::kOdd).count, 0);
  statistics.clear();
  EXPECT_EQ(statistics.set(2, ReflectionStatistics::kEven).count, 0);
}

TEST(ReflectionStatistics, TableLines) {
  EXPECT_EQ(statisticsTableHeader(), " Set     Parity      n  <F/sF>   n>3s  n>9s  Max(F/sF)");
  ParitySet set;
  set.count = 3;
  set.sum = 22.0f;
  set.max = 10.0f;
  set.over3 = 2;
  set.over9 = 1;
  EXPECT_EQ(statisticsTableRow(2, 0, set), " 00l     l = 2n      3   7.333     2     1     10.00");
  set.count = 123456;  // too wide for its 5 columns
  set.max = 12345678.0f;
  EXPECT_EQ(statisticsTableRow(15, 1, set), " hkl h+k+l = 2n+1*****   0.000     2     1**********");
}

TEST(ReflectionStatistics, DecodesClassCodes) {
  const ClassDigits d = decodeClass(211101);
  EXPECT_EQ(d.a, 2);
  EXPECT_EQ(d.b, 1);
  EXPECT_EQ(d.c, 1);
  EXPECT_EQ(d.d, 1);
  EXPECT_EQ(d.e, 0);
  EXPECT_EQ(d.f, 1);
}

}  // namespace
