// Overlap factors over one to ten reflection lists.
#include "overlap_factors.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace {

struct IdHash {
  std::size_t operator()(const ReflectionId& id) const {
    std::uint64_t x = static_cast<std::uint32_t>(id.h);
    x = x * 0x9E3779B97F4A7C15ULL + static_cast<std::uint32_t>(id.k);
    x = x * 0x9E3779B97F4A7C15ULL + static_cast<std::uint32_t>(id.l);
    x = x * 0x9E3779B97F4A7C15ULL + static_cast<std::uint32_t>(id.code);
    return static_cast<std::size_t>(x ^ (x >> 29));
  }
};

constexpr int kMissing = -1;

// For each reflection of the first list, its row in the other list (the last
// occurrence of the same reflection counts), or kMissing.
std::vector<int> rowsInList(const ReflectionList& first, const ReflectionList& other) {
  std::unordered_map<ReflectionId, int, IdHash> lastRow;
  lastRow.reserve(other.reflections.size() * 2);
  for (std::size_t row = 0; row < other.reflections.size(); ++row)
    lastRow[other.reflections[row].id] = static_cast<int>(row);
  std::vector<int> rows(first.reflections.size(), kMissing);
  for (std::size_t i = 0; i < first.reflections.size(); ++i) {
    const auto found = lastRow.find(first.reflections[i].id);
    if (found != lastRow.end()) rows[i] = found->second;
  }
  return rows;
}

}  // namespace

std::vector<OverlapFactors> computeOverlapFactors(const std::vector<ReflectionList>& lists) {
  const std::vector<ListedReflection>& first = lists.front().reflections;
  std::vector<std::vector<int>> rows;  // rows[j-1][i]: row of first-list reflection i in list j
  for (std::size_t j = 1; j < lists.size(); ++j) rows.push_back(rowsInList(lists.front(), lists[j]));

  std::vector<OverlapFactors> factors(first.size());
  for (std::size_t k = 0; k < first.size(); ++k) {
    float overlap1 = 0.0f, overlap2 = 0.0f;
    for (std::size_t m = k + 1; m < first.size(); ++m) {
      const float d = std::fabs(first[k].position - first[m].position);
      const float s = first[k].width + first[m].width;
      float r = 1.0f, c = 1.0f;
      if (d <= s) {
        // Two coincident peaks of zero width overlap fully (not 0/0).
        r = s > 0.0f ? d / s : 0.0f;
        c = r;
        for (std::size_t j = 1; j < lists.size(); ++j) {
          const int a = rows[j - 1][k], b = rows[j - 1][m];
          if (a == kMissing || b == kMissing) continue;
          const std::vector<ListedReflection>& other = lists[j].reflections;
          const float dj = std::fabs(other[a].position - other[b].position);
          const float sj = other[a].width + other[b].width;
          c = dj <= sj ? std::max(c, sj > 0.0f ? dj / sj : 0.0f) : 1.0f;
        }
      }
      overlap1 += 1.0f - r;
      overlap2 += 1.0f - c;
    }
    factors[k] = {overlap1, overlap2};
  }
  return factors;
}
