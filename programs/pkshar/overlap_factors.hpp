// Overlap factors of the reflections of the first reflection list: how strongly
// each peak overlaps the peaks after it, in the first list alone (overlap1) and
// as far as the other lists fail to separate the pair (overlap2).
#pragma once

#include <vector>

#include "reflection_list.hpp"

struct OverlapFactors {
  float overlap1 = 0.0f;
  float overlap2 = 0.0f;
};

// One factor pair per reflection of lists[0]; lists holds 1 to 10 lists.
std::vector<OverlapFactors> computeOverlapFactors(const std::vector<ReflectionList>& lists);
