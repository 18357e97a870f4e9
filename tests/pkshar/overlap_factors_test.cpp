// Overlap factors: pairs within the first list, separation by other lists,
// and identities that the packed keys of old could not tell apart.
#include <gtest/gtest.h>

#include "overlap_factors.hpp"

namespace {

ReflectionList listOf(std::initializer_list<ListedReflection> reflections) {
  ReflectionList list;
  list.reflections = reflections;
  return list;
}

TEST(OverlapFactors, PairsAreCountedOnlyForwardAndOtherListsSeparate) {
  const ReflectionList first = listOf({{{1, 0, 0, 0}, 10.0f, 1.0f}, {{1, 1, 0, 0}, 11.0f, 1.0f}, {{2, 0, 0, 0}, 20.0f, 1.0f}});
  const struct {
    const char* why;
    std::vector<ReflectionList> lists;
    float overlap1, overlap2;
  } cases[] = {
      {"first list alone", {first}, 0.5f, 0.5f},
      {"pair separated in a second list", {first, listOf({{{1, 0, 0, 0}, 10.0f, 1.0f}, {{1, 1, 0, 0}, 13.0f, 1.0f}})}, 0.5f, 0.0f},
      {"pair better resolved in a second list", {first, listOf({{{1, 1, 0, 0}, 11.5f, 1.0f}, {{1, 0, 0, 0}, 10.0f, 1.0f}})}, 0.5f, 0.25f},
      {"pair missing from the second list", {first, listOf({{{1, 0, 0, 0}, 10.0f, 1.0f}})}, 0.5f, 0.5f},
      {"last occurrence counts", {first, listOf({{{1, 1, 0, 0}, 13.0f, 1.0f}, {{1, 0, 0, 0}, 10.0f, 1.0f}, {{1, 1, 0, 0}, 10.0f, 1.0f}})}, 0.5f, 0.5f},
  };
  for (const auto& c : cases) {
    const std::vector<OverlapFactors> factors = computeOverlapFactors(c.lists);
    ASSERT_EQ(factors.size(), 3u) << c.why;
    EXPECT_FLOAT_EQ(factors[0].overlap1, c.overlap1) << c.why;
    EXPECT_FLOAT_EQ(factors[0].overlap2, c.overlap2) << c.why;
    EXPECT_EQ(factors[1].overlap1, 0.0f) << c.why;  // no later partner within reach
    EXPECT_EQ(factors[2].overlap1, 0.0f) << c.why;
  }
}

TEST(OverlapFactors, IndicesBeyondThePackedKeyRangeStayDistinct) {
  // 0 -1 64 and 0 0 0 had the same packed key; 64 0 0 and -64 1 0 too.
  const ReflectionList first = listOf({{{64, 0, 0, 0}, 10.0f, 1.0f}, {{0, -1, 64, 0}, 10.5f, 1.0f}});
  const ReflectionList second = listOf({{{-64, 1, 0, 0}, 10.0f, 1.0f}, {{0, 0, 0, 1}, 30.0f, 1.0f}});
  const std::vector<OverlapFactors> factors = computeOverlapFactors({first, second});
  EXPECT_FLOAT_EQ(factors[0].overlap1, 0.75f);
  EXPECT_FLOAT_EQ(factors[0].overlap2, 0.75f);  // neither reflection is in the second list
}

TEST(OverlapFactors, CoincidentPeaksOfZeroWidthCountFully) {
  const ReflectionList first = listOf({{{1, 0, 0, 0}, 10.0f, 0.0f}, {{0, 1, 0, 0}, 10.0f, 0.0f}});
  const std::vector<OverlapFactors> factors = computeOverlapFactors({first});
  EXPECT_EQ(factors[0].overlap1, 1.0f);
}

}  // namespace
