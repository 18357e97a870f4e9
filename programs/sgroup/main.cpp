// SGROUP: shows what the suite makes of a space-group symbol (the symmetry
// listing, or the interpreter's error report) and, for each point X,Y,Z given
// after it, the site symmetry, multiplicity and equivalent positions.
//
//   sgroup SYMBOL [X,Y,Z ...]
#include <string>
#include <string_view>
#include <vector>

#include "cryst/cell_metric.hpp"   // Vec3
#include "cryst/number_field.hpp"  // readNumberField
#include "cryst/site_symmetry.hpp"
#include "cryst/space_group.hpp"
#include "terminal/fortran_format.hpp"  // fmtF, fmtI, trimRight
#include "terminal/listing.hpp"         // setProgramInvocation
#include "terminal/run_stop.hpp"
#include "terminal/unit_table.hpp"

namespace {

constexpr int kScreen = UnitTable::kTerminalOut;

// One point as three comma-separated numbers (fractions such as 1/3 allowed).
// 0: read; 1: not three readable numbers.
int readPoint(std::string_view text, Vec3& point) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (parts.size() != 3) return 1;
  for (int i = 0; i < 3; ++i) {
    std::string_view part = parts[i];
    if (trimRight(part).find_first_not_of(' ') == std::string_view::npos) return 1;
    int position = 1;
    int status = 0;
    point[i] = readNumberField(part, position, static_cast<int>(part.size()), 0, 0.0f, status);
    // The whole part must be the number: nothing but blanks may follow it.
    if (status != 0) return 1;
    if (position <= static_cast<int>(part.size()) &&
        part.substr(position - 1).find_first_not_of(' ') != std::string_view::npos)
      return 1;
  }
  return 0;
}

// " Site" + x, y, z (F10.5) + two blanks + the site-symmetry name + the
// multiplicity (I5); then each distinct image: its code (I6) and x, y, z (F10.5).
void showPoint(const Vec3& point, const SpaceGroupInfo& info) {
  SiteSymmetry site = siteSymmetry(point, info);
  UnitTable& units = unitTable();
  units.writeLine(kScreen, " Site" + fmtF(point[0], 10, 5) + fmtF(point[1], 10, 5) + fmtF(point[2], 10, 5) +
                               "  " + site.name + fmtI(site.multiplicity, 5));
  EquivalentPositionList images = equivalentPositions(point, info, false);
  for (int n = 0; n < images.count(); ++n) {
    const Vec3& y = images.positions[n];
    units.writeLine(kScreen, fmtI(images.codes[n], 6) + fmtF(y[0], 10, 5) + fmtF(y[1], 10, 5) + fmtF(y[2], 10, 5));
  }
}

}  // namespace

int main(int argc, char** argv) {
  setProgramInvocation(argv[0]);
  if (argc < 2) stopRun("Usage: sgroup SYMBOL [X,Y,Z ...]", 1);
  std::string_view symbol = argv[1];
  if (symbol.size() > SpaceGroupInfo::kSymbolLength) stopRun("Space-group symbol longer than 20 characters", 1);

  // Every point is read before anything is written, so a typing error costs no output.
  std::vector<Vec3> points;
  for (int a = 2; a < argc; ++a) {
    Vec3 point{};
    if (readPoint(argv[a], point) != 0) stopRun("Not a point X,Y,Z: " + std::string(argv[a]), 1);
    points.push_back(point);
  }

  SpaceGroupInfo info;
  if (interpretSpaceGroup(symbol, kScreen, info) != 0) stopRun("", 1);
  for (const Vec3& point : points) showPoint(point, info);
  return 0;
}
