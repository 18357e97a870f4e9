// The symmetry listing written for every interpreted space group, and the
// polar axes it reports.
#include "cryst/symmetry_listing.hpp"

#include <string_view>

#include "terminal/fortran_format.hpp"  // fmtI
#include "terminal/unit_table.hpp"

namespace {

constexpr std::string_view kLatticeText[] = {"  primitive ", "  A-centered", "  B-centered", "  C-centered",
                                             "  I-centered", "  F-centered", "  R-centered"};
constexpr std::string_view kSystemText[] = {"triclinic   ", "monoclinic  ", "orthorhombic", "tetragonal  ",
                                            "trigonal    ", "trigonal    ", "hexagonal   ", "cubic       "};
// Crystal system (1 to 8) of each Laue class 1 to 14.
constexpr int kSystemOfLaueClass[] = {1, 2, 3, 4, 4, 5, 5, 6, 6, 6, 7, 7, 8, 8};
constexpr std::string_view kLaueText[] = {"1bar  ", "2/m   ", "mmm   ", "4/m   ", "4/mmm ", "3bar  ", "3bar m",
                                          "3bar  ", "3barm1", "3bar1m", "6/m   ", "6/mmm ", "m 3   ", "m3m   "};
constexpr std::string_view kPolarText[] = {"x  ", "y  ", "x y", "z  ", "x z", "y z", "xyz", "111"};
// Coordinate texts for 2*R(i,1) + 3*R(i,2) + 4*R(i,3) = -4 ... 4.
constexpr std::string_view kCoordinateText[] = {"-Z ", "-Y ", "-X ", "X-Y", "ERR", "Y-X", " X ", " Y ", " Z "};
constexpr std::string_view kSignedCoordinateText[] = {"+X ", "+Y ", "+Z "};
// Fraction texts for translations of 0 ... 11 twelfths.
constexpr std::string_view kFractionText[] = {"   ", "ERR", "1/6", "1/4", "1/3", "ERR",
                                              "1/2", "ERR", "2/3", "3/4", "5/6", "ERR"};

std::string_view tableText(const std::string_view* table, int size, int index) {
  return index >= 0 && index < size ? table[index] : std::string_view("ERR");
}

}  // namespace

int polarAxesOf(const SpaceGroupInfo& info) {
  int x = 1, y = 2, z = 4, diagonal = 0, noNegativeR13 = 1;
  for (int k = 0; k < info.operatorCount; ++k) {
    const auto& r = info.operators[k].rotation;
    if (r[0][0] < 1) x = 0;
    if (r[1][1] < 1) y = 0;
    if (r[2][2] < 1) z = 0;
    if (r[0][2] > 0) diagonal = 8;
    if (r[0][2] < 0) noNegativeR13 = 0;
  }
  return (x + y + z + diagonal * noNegativeR13) * (1 - info.centric);
}

std::string operatorText(const SymOp& op, int number) {
  std::string text = " (" + fmtI(number, 2) + ")";
  for (int i = 0; i < 3; ++i) {
    const int* row = op.rotation[i];
    int c = 2 * row[0] + 3 * row[1] + 4 * row[2];
    int t = op.translation[i];
    text += ' ';
    text += tableText(kFractionText, 12, t);
    if (t != 0 && c >= 2 && c <= 4) text += kSignedCoordinateText[c - 2];
    else text += tableText(kCoordinateText, 9, c + 4);
  }
  return text;
}

void writeSymmetryListing(SpaceGroupInfo& info, int unit) {
  info.polarAxes = polarAxesOf(info);
  if (unit <= 0) return;
  UnitTable& units = unitTable();
  auto write = [&](std::string_view line) { units.writeLine(unit, line); };
  int laue = info.laueClass >= 1 && info.laueClass <= 14 ? info.laueClass : 1;
  int lattice = info.lattice >= 1 && info.lattice <= 7 ? info.lattice : 1;

  write("");
  write(" Space group " + info.symbol);
  write(std::string(" The lattice is") + (info.centric ? " " : " a") + "centric " +
        std::string(kLatticeText[lattice - 1]) + std::string(kSystemText[kSystemOfLaueClass[laue - 1] - 1]) +
        "  Laue symmetry " + std::string(kLaueText[laue - 1]));
  write("  Multiplicity of a general site is" + fmtI(info.generalMultiplicity(), 4));
  if (info.uniqueAxis >= 1 && info.uniqueAxis <= 3)
    write(std::string("  The unique axis is ") + "abc"[info.uniqueAxis - 1]);
  if (info.centric) write("  The symmetry of the point 0,0,0 contains 1bar");
  if (info.polarAxes > 0 && info.polarAxes <= 8)
    write("  The location of the origin is arbitrary in " + std::string(kPolarText[info.polarAxes - 1]));
  write("");
  write(" The equivalent positions are:");
  write("");

  const int perLine = laue <= 5 ? 2 : 3;
  std::string line;
  int onLine = 0;
  for (int k = 0; k < info.operatorCount; ++k) {
    line += operatorText(info.operators[k], k + 1);
    if (++onLine == perLine) {
      write(line);
      line.clear();
      onLine = 0;
    }
  }
  // The triclinic operator, and any short last line, on a line of its own.
  if (onLine > 0) write(line);
  write(" ");
}
