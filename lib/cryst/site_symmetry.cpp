// Equivalent positions of a point, its site symmetry from the operators that
// leave it in place, and the separation of two points.
#include "cryst/site_symmetry.hpp"

#include <cmath>
#include <cstdint>

#include "terminal/fortran_format.hpp"  // fmtI
#include "terminal/unit_table.hpp"

namespace {

constexpr float kCoincidence = 0.0002f;  // images closer than this in every coordinate coincide
constexpr long kHexagonalMarker = 1L << 30;

// Site-operator table: balanced-ternary rotation code and the bit it sets.
// Entries 31 to 38 are the hexagonal operators, reusing bits 4-7 and 18-21.
struct SiteOperator {
  int code;
  int bit;
};
constexpr SiteOperator kSiteOperators[] = {
    {-6643, 1},  {6479, 2},   {-6479, 3},  {6481, 4},   {-6481, 5},  {6641, 6},   {-6641, 7},
    {6591, 8},   {-6591, 9},  {6531, 10},  {-6531, 11}, {6537, 12},  {-6537, 13}, {975, 14},
    {6456, 15},  {-489, 16},  {483, 17},   {-969, 18},  {819, 19},   {-819, 20},  {2431, 21},
    {-2431, 22}, {-657, 23},  {657, 24},   {1943, 25},  {-1943, 26}, {-2429, 27}, {2429, 28},
    {639, 29},   {-639, 30},  {-6484, 4},  {6484, 5},   {-6668, 6},  {6668, 7},   {-6454, 18},
    {6454, 19},  {-6638, 20}, {6638, 21},
};

// Site-symmetry table: point-group name and flag word; rows 99 to 151 carry
// the hexagonal marker.
struct SiteName {
  const char* name;
  long flags;
};
constexpr SiteName kSiteNames[151] = {
    {"    1   ", 0x0},        {"   -1   ", 0x1},        {"  2(100)", 0x40},       {"  M(100)", 0x20},
    {"2/M(100)", 0x61},       {"  2(010)", 0x10},       {"  M(010)", 0x8},        {"2/M(010)", 0x19},
    {"  2(001)", 0x2},        {"  M(001)", 0x4},        {"2/M(001)", 0x7},        {"  2(011)", 0x8000000},
    {"  M(011)", 0x4000000},  {"2/M(011)", 0xC000001},  {"  2(0+-)", 0x200000},   {"  M(0+-)", 0x100000},
    {"2/M(0+-)", 0x300001},   {"  2(101)", 0x800000},   {"  M(101)", 0x400000},   {"2/M(101)", 0xC00001},
    {"  2(+0-)", 0x80000},    {"  M(+0-)", 0x40000},    {"2/M(+0-)", 0xC0001},    {"  2(110)", 0x400},
    {"  M(110)", 0x200},      {"2/M(110)", 0x601},      {"  2(+-0)", 0x100},      {"  M(+-0)", 0x80},
    {"2/M(+-0)", 0x181},      {"MM2(100)", 0x4C},       {"MM2(010)", 0x34},       {"MM2(001)", 0x2A},
    {"MM2(011)", 0x8100020},  {"MM2(0+-)", 0x4200020},  {"MM2(101)", 0x840008},   {"MM2(+0-)", 0x480008},
    {"MM2(110)", 0x484},      {"MM2(+-0)", 0x304},      {"  222   ", 0x52},       {"222(100)", 0x8200040},
    {"222(010)", 0x880010},   {"222(001)", 0x502},      {"  MMM   ", 0x7F},       {"MMM(100)", 0xC300061},
    {"MMM(010)", 0xCC0019},   {"MMM(001)", 0x787},      {"  4(100)", 0x2000040},  {" -4(100)", 0x1000040},
    {"4/M(100)", 0x3000061},  {"422(100)", 0xA200052},  {"-42M 100", 0x5100052},  {"4MM(100)", 0x610004C},
    {"4/MMM100", 0xF30007F},  {"  4(010)", 0x20000010}, {" -4(010)", 0x10000010}, {"4/M (10)", 0x30000019},
    {"422(010)", 0x20880052}, {"-42M 010", 0x10440052}, {"4MM(010)", 0x20440034}, {"4/MMM010", 0x30CC007F},
    {"  4(001)", 0x802},      {" -4(001)", 0x1002},     {"4/M(001)", 0x1807},     {"422(001)", 0xD52},
    {"-42M 001", 0x12D2},     {"4MM(001)", 0xAAA},      {"4/MMM001", 0x1FFF},     {"  3(111)", 0x2000},
    {" -3(111)", 0x2001},     {" 32(111)", 0x282100},   {" 3M(111)", 0x142080},   {"-3M(111)", 0x3C2181},
    {"  3(+--)", 0x8000},     {" -3(+--)", 0x8001},     {" 32(+--)", 0xA08400},   {" 3M(+--)", 0x508200},
    {"-3M(+--)", 0xF08601},   {"  3(-+-)", 0x10000},    {" -3(-+-)", 0x10001},    {" 32(-+-)", 0x8090400},
    {" 3M(-+-)", 0x4050200},  {"-3M(-+-)", 0xC0D0601},  {"  3(--+)", 0x20000},    {" -3(--+)", 0x20001},
    {" 32(--+)", 0x8820100},  {" 3M(--+)", 0x4420080},  {"-3M(--+)", 0xCC20181},  {"   23   ", 0x3A052},
    {"   M3   ", 0x3A07F},    {"   432  ", 0x2AABAD52}, {"  -43M  ", 0x1557B2D2}, {"   M3M  ", 0x3FFFBFFF},
    {" MM2d100", 0x4100040},  {" MM2d010", 0x440010},   {" MM2d001", 0x282},      {"-4M2 100", 0x920004C},
    {"-4M2 010", 0x10880034}, {"-4M2 001", 0x152A},     {"  6/MMM ", 0x401E47FF}, {"-6M2 100", 0x400A4354},
    {"-6M2 120", 0x401444AC}, {"   6MM  ", 0x401442D2}, {"   622  ", 0x400A452A}, {"   6/M  ", 0x40004007},
    {"   -6   ", 0x40004004}, {"    6   ", 0x40004002}, {"-3M(100)", 0x40004679}, {"-3M(120)", 0x401E4181},
    {" 3M(100)", 0x40004250}, {" 3M(120)", 0x40144080}, {" 32(100)", 0x40004428}, {" 32(120)", 0x400A4100},
    {"   -3   ", 0x40004001}, {"    3   ", 0x40004000}, {"MMM(100)", 0x40060067}, {"MMM(010)", 0x4018001F},
    {"MMM(110)", 0x40000787}, {" MM2z100", 0x40040042}, {" MM2z010", 0x40100012}, {" MM2z110", 0x40000282},
    {"MM2(100)", 0x40040024}, {"MM2(010)", 0x4010000C}, {"MM2(110)", 0x40000484}, {"MM2(120)", 0x40020044},
    {"MM2(210)", 0x40080014}, {"MM2(+-0)", 0x40000304}, {"222(100)", 0x40020022}, {"222(010)", 0x4008000A},
    {"222(110)", 0x40000502}, {"2/M(001)", 0x40000007}, {"2/M(100)", 0x40000061}, {"2/M(010)", 0x40000019},
    {"2/M(110)", 0x40000601}, {"2/M(120)", 0x40060001}, {"2/M(210)", 0x40180001}, {"2/M(+-0)", 0x40000181},
    {" M(001) ", 0x40000004}, {" M(100) ", 0x40000040}, {" M(010) ", 0x40000010}, {" M(110) ", 0x40000200},
    {" M(120) ", 0x40040000}, {" M(210) ", 0x40100000}, {" M(+-0) ", 0x40000080}, {" 2(001) ", 0x40000002},
    {" 2(100) ", 0x40000020}, {" 2(010) ", 0x40000008}, {" 2(110) ", 0x40000400}, {" 2(120) ", 0x40020000},
    {" 2(210) ", 0x40080000}, {" 2(+-0) ", 0x40000100}, {"   -1   ", 0x40000001},
};

// The image of x under centring vector c, sign sigma and operator k.
Vec3 image(const Vec3& x, const SpaceGroupInfo& info, int c, int sigma, int k) {
  const SymOp& op = info.operators[k];
  Vec3 y;
  for (int i = 0; i < 3; ++i) {
    float sum = 0.0f;
    for (int j = 0; j < 3; ++j) sum += static_cast<float>(op.rotation[i][j]) * x[j];
    y[i] = sum + static_cast<float>(op.translation[i]) / 12.0f;
  }
  for (int i = 0; i < 3; ++i) y[i] = static_cast<float>(sigma) * y[i] + info.centring[c][i];
  return y;
}

bool coincide(const Vec3& a, const Vec3& b) {
  for (int i = 0; i < 3; ++i)
    if (std::fabs(a[i] - b[i]) >= kCoincidence) return false;
  return true;
}

}  // namespace

EquivalentPositionList equivalentPositions(const Vec3& x, const SpaceGroupInfo& info, bool keepAll) {
  EquivalentPositionList list;
  std::vector<Vec3> reduced;  // reduced copies of the images kept
  const int inversions = info.centric ? 2 : 1;
  for (int c = 0; c < info.centringCount; ++c) {
    for (int half = 0; half < inversions; ++half) {
      const int sigma = half == 0 ? 1 : -1;
      for (int k = 0; k < info.operatorCount; ++k) {
        Vec3 y = image(x, info, c, sigma, k);
        Vec3 inCell;
        reduceToCellSnap(y, inCell);
        int code = (100 * c + k + 1) * sigma;
        std::size_t compared = keepAll ? (reduced.empty() ? 0 : 1) : reduced.size();
        for (std::size_t i = 0; i < compared; ++i)
          if (coincide(inCell, reduced[i])) { code = 0; break; }
        if (code == 0 && !keepAll) continue;
        list.positions.push_back(y);
        list.codes.push_back(code);
        reduced.push_back(inCell);
      }
    }
  }
  return list;
}

int ternaryRotationCode(const int rotation[3][3]) {
  int code = 0;
  for (int column = 2; column >= 0; --column)
    for (int row = 2; row >= 0; --row) code = 3 * code + rotation[row][column];
  return code;
}

std::vector<int> ternaryRotationCodes(const SpaceGroupInfo& info) {
  std::vector<int> codes;
  for (int k = 0; k < info.operatorCount; ++k) codes.push_back(ternaryRotationCode(info.operators[k].rotation));
  return codes;
}

SiteSymmetry siteSymmetry(const Vec3& x, const SpaceGroupInfo& info) {
  Vec3 point = x;
  reduceToCell(point);
  long flags = info.laueClass >= 8 && info.laueClass <= 12 ? kHexagonalMarker : 0;
  EquivalentPositionList images = equivalentPositions(point, info, true);
  const int imageCount = images.count();
  const int inversions = info.centric ? 2 : 1;

  SiteSymmetry site;
  site.invariantOps.push_back(1);
  int invariant = 1;
  for (int p = 1; p < imageCount; ++p) {
    if (images.codes[p] != 0) continue;
    ++invariant;
    // The operator and the sign follow from the place in the list.
    int k = p % info.operatorCount;
    int sigma = (p / info.operatorCount) % inversions == 0 ? 1 : -1;
    int code = sigma * ternaryRotationCode(info.operators[k].rotation);
    for (const SiteOperator& entry : kSiteOperators) {
      if (entry.code != code) continue;
      flags += 1L << (entry.bit - 1);
      site.invariantOps.push_back(p + 1);
      break;
    }
  }
  if (flags == kHexagonalMarker) flags = 0;
  site.flags = flags;
  site.multiplicity = imageCount / invariant;
  for (int row = 0; row < 151; ++row) {
    if (kSiteNames[row].flags != flags) continue;
    site.name = kSiteNames[row].name;
    site.tableIndex = row + 1;
    return site;
  }
  unitTable().writeLine(UnitTable::kTerminalOut,
                        " *** ISYM =" + fmtI(flags, 11) + " is not in the table.  ***");
  return site;
}

float separation(const Vec3& a, const Vec3& b, const Vec3& shift, const Mat3& toCartesian, Vec3& direction) {
  Vec3 difference;
  for (int i = 0; i < 3; ++i) difference[i] = a[i] - (b[i] + shift[i]);
  rowTimesMatrix(difference, toCartesian, direction);
  float length = 0.0f;
  normalise(direction, length);
  return length;
}
