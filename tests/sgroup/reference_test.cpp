// Every setting of the reference table (made by an independent library, see
// tests/data/sgroup/make_reference.py) against the interpreter: the complete
// set of operations and the multiplicity of every Wyckoff position.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cryst/site_symmetry.hpp"
#include "cryst/space_group.hpp"

namespace {

struct WyckoffPosition {
  std::string letter;
  int multiplicity = 0;
  Vec3 point{};
};

struct ReferenceGroup {
  std::string kind;
  std::string symbol;
  std::set<std::string> centring;
  std::set<std::string> operations;
  std::vector<WyckoffPosition> wyckoff;
};

std::vector<ReferenceGroup> readReference() {
  std::ifstream in(std::string(TELK_TEST_DATA) + "/sgroup/reference_groups.txt");
  std::vector<ReferenceGroup> groups;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    if (key == "group") {
      groups.emplace_back();
      words >> groups.back().kind >> std::ws;
      std::getline(words, groups.back().symbol);
    } else if (key == "centring" || key == "ops") {
      auto& set = key == "ops" ? groups.back().operations : groups.back().centring;
      for (std::string item; words >> item;) set.insert(item);
    } else if (key == "wyckoff") {
      WyckoffPosition w;
      words >> w.letter >> w.multiplicity >> w.point[0] >> w.point[1] >> w.point[2];
      groups.back().wyckoff.push_back(w);
    }
  }
  return groups;
}

constexpr char kDigits[] = "0123456789ab";

std::string twelfthsText(const int t[3]) {
  std::string text;
  for (int i = 0; i < 3; ++i) text += kDigits[((t[i] % 12) + 12) % 12];
  return text;
}

using Twelfths = std::array<int, 3>;

// The operation (sigma*R, sigma*t) in the table's canonical form, seen from an
// origin moved by -shift (t + R*shift - shift): the translation is the
// smallest over all centring vectors.
std::string canonical(const SymOp& op, int sigma, const Twelfths& shift, const std::vector<Twelfths>& centring) {
  std::string text;
  for (const auto& row : op.rotation)
    for (int v : row) text += "-0+"[sigma * v + 1];
  std::string best;
  for (const auto& c : centring) {
    int t[3];
    for (int i = 0; i < 3; ++i) {
      int rotated = 0;
      for (int j = 0; j < 3; ++j) rotated += sigma * op.rotation[i][j] * shift[j];
      t[i] = sigma * op.translation[i] + rotated - shift[i] + c[i];
    }
    std::string candidate = twelfthsText(t);
    if (best.empty() || candidate < best) best = candidate;
  }
  return text + ":" + best;
}

// The complete set of operations of an interpreted group (seen from an origin
// moved by -shift), and the number of operations it holds with repetitions.
std::set<std::string> completeSet(const SpaceGroupInfo& info, const Twelfths& shift,
                                  std::set<std::string>& centringOut, int& counted) {
  std::vector<Twelfths> centring;
  for (int c = 0; c < info.centringCount; ++c) {
    Twelfths v;
    for (int i = 0; i < 3; ++i) v[i] = static_cast<int>(std::lround(12.0f * info.centring[c][i])) % 12;
    centring.push_back(v);
    centringOut.insert(twelfthsText(v.data()));
  }
  std::set<std::string> set;
  counted = 0;
  for (int c = 0; c < info.centringCount; ++c) {
    for (int sigma : {1, -1}) {
      if (sigma < 0 && !info.centric) continue;
      for (int k = 0; k < info.operatorCount; ++k) {
        ++counted;
        // One canonical form per coset of the centring translations.
        if (c == 0) set.insert(canonical(info.operators[k], sigma, shift, centring));
      }
    }
  }
  return set;
}

bool sameAsReference(const SpaceGroupInfo& info, const ReferenceGroup& group, const Twelfths& shift) {
  std::set<std::string> centring;
  int counted = 0;
  std::set<std::string> operations = completeSet(info, shift, centring, counted);
  return centring == group.centring && operations == group.operations &&
         counted == static_cast<int>(group.operations.size() * group.centring.size());
}

// An origin shift (in twelfths) that would make the sets agree, as text.
std::string fittingShift(const SpaceGroupInfo& info, const ReferenceGroup& group) {
  for (int x = 0; x < 12; ++x)
    for (int y = 0; y < 12; ++y)
      for (int z = 0; z < 12; ++z)
        if (sameAsReference(info, group, {x, y, z}))
          return "the same after an origin shift of (" + std::to_string(x) + ", " + std::to_string(y) + ", " +
                 std::to_string(z) + ")/12";
  return "not an origin shift";
}

// Settings whose symbols the construction rules themselves place at another
// origin than the International Tables: the operations are the Tables' seen
// from an origin moved by -shift.
struct KnownShift {
  const char* symbol;
  Twelfths shift;
};
constexpr KnownShift kKnownShifts[] = {
    {"P 21 n m", {0, 0, 3}},  // Pmn21 (31), setting -cba: 21 axis at z = 0, mirror at z = 1/4
    {"A b a m", {0, 3, 3}},   // Cmce (64), the other e-glide symbol of A c a m
};

TEST(ReferenceTable, EverySettingHasTheOperationsAndWyckoffMultiplicities) {
  std::vector<ReferenceGroup> groups = readReference();
  ASSERT_GE(groups.size(), 526u) << "reference table missing or incomplete";
  int failed = 0;
  for (const ReferenceGroup& group : groups) {
    SCOPED_TRACE(group.kind + " '" + group.symbol + "'");
    SpaceGroupInfo info;
    int status = interpretSpaceGroup(group.symbol, 0, info);
    EXPECT_EQ(status, 0);
    if (status != 0) { ++failed; continue; }
    Twelfths shift{0, 0, 0};
    for (const KnownShift& known : kKnownShifts)
      if (group.symbol == known.symbol) shift = known.shift;
    bool same = sameAsReference(info, group, shift);
    EXPECT_TRUE(same) << "operations differ from the reference; " << fittingShift(info, group);
    if (!same) { ++failed; continue; }
    for (const WyckoffPosition& reference : group.wyckoff) {
      WyckoffPosition w = reference;
      for (int i = 0; i < 3; ++i) w.point[i] += static_cast<float>(shift[i]) / 12.0f;
      SiteSymmetry site = siteSymmetry(w.point, info);
      EXPECT_EQ(site.multiplicity, w.multiplicity) << "Wyckoff " << w.letter;
      EXPECT_NE(site.tableIndex, SiteSymmetry::kNotFound) << "Wyckoff " << w.letter;
      EXPECT_EQ(equivalentPositions(w.point, info, false).count(), w.multiplicity) << "Wyckoff " << w.letter;
    }
  }
  EXPECT_EQ(failed, 0);
}

}  // namespace
