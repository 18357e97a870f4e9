// Command texts of the HP-GL/2 and PostScript hardcopy writers.
#include "plot/hardcopy_language.hpp"

#include <algorithm>
#include <cmath>

#include "cryst/cell_metric.hpp"       // cosDeg, sinDeg
#include "terminal/fortran_format.hpp"  // fmtI, fmtF

namespace {

constexpr PageSize kLaserJetPage{10364, 7961};
constexpr PageSize kPostScriptPage{3299, 2549};

// Red, green and blue of the plotting library's colour indices 1 to 7, as the
// colour PostScript options print them.
struct Rgb {
  float red, green, blue;
};
constexpr Rgb kColourTable[7] = {
    {0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f},
    {0.0f, 0.8f, 0.8f}, {0.8f, 0.0f, 0.8f}, {0.8f, 0.4f, 0.0f},
};

// Line styles 1-5: solid, dashed, long dash, dash, dash-dot.
constexpr const char* kHpglStyles[5] = {"LT", "LT1,0.5,1", "LA1,1;LT2,2,1", "LA1,1;LT3,4,1",
                                        "LA1,1;LT4,4,1"};
constexpr const char* kPostScriptStyles[5] = {"[] 0 sd", "[8 8] 0 sd", "[32 8] 16 sd", "[16 8] 8 sd",
                                              "[32 8 8 8] 16 sd"};

// The prolog's procedure definitions: the short names the plot lines use.
constexpr const char* kProcedures[] = {
    "/CBf {/Courier-Bold findfont} bind def", "/Cf {/Courier findfont} bind def",
    "/ABf {/Arial-Bold findfont} bind def",   "/Af {/Arial findfont} bind def",
    "/TBf {/TimesNewRoman-Bold findfont} bind def", "/Tf {/TimesNewRoman findfont} bind def",
    "/sf {scalefont setfont} bind def",       "/r {rotate} bind def",
    "/gct {gsave currentpoint transform} bind def", "/gr {grestore} bind def",
    "/s {show} bind def",                     "/ms {moveto show} bind def",
    "/m {moveto} bind def",                   "/n {newpath} bind def",
    "/l {lineto} bind def",                   "/st {gsave stroke grestore} bind def",
    "/sd {setdash} bind def",                 "/slw {setlinewidth} bind def",
    "/srgb {setrgbcolor} bind def",           "/t {translate} bind def",
};

constexpr int kMaxPostScriptText = 128;
constexpr char kEndOfLabel = '\x03';
constexpr char kEscape = '\x1b';

// The largest and smallest values an I5 field holds.
constexpr float kFieldMax = 99999.0f;
constexpr float kFieldMin = -9999.0f;

// Truncation toward zero of a page coordinate computed in single precision.
int truncatedToField(float value) {
  if (!(value == value)) return 0;  // NaN from an empty window
  if (value > kFieldMax) return static_cast<int>(kFieldMax);
  if (value < kFieldMin) return static_cast<int>(kFieldMin);
  return static_cast<int>(value);
}

// A PostScript string body: parentheses and backslashes escaped so that any
// label gives a valid file.
std::string postScriptString(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '(' || c == ')' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

// The text angle to the nearest degree, halves away from zero; a turn that
// would not fit the I4 field is taken modulo 360 (the same rotation).
long rotationDegrees(float angle) {
  if (!std::isfinite(angle)) return 0;
  long degrees = std::lround(static_cast<double>(std::fmod(angle, 3600000.0f)));
  if (degrees > 9999 || degrees < -999) degrees %= 360;
  return degrees;
}

}  // namespace

bool isPostScript(HardcopyOption option) {
  return option != HardcopyOption::None && option != HardcopyOption::LaserJet;
}
bool isEps(HardcopyOption option) { return option == HardcopyOption::Eps || option == HardcopyOption::ColourEps; }
bool hasColour(HardcopyOption option) {
  return option == HardcopyOption::ColourPostScript || option == HardcopyOption::ColourEps;
}

PageSize pageSizeOf(HardcopyOption option) {
  return option == HardcopyOption::LaserJet ? kLaserJetPage : kPostScriptPage;
}

int colourIndexOf(int programColour) {
  static constexpr int kIndex[7] = {1, 2, 4, 3, 7, 6, 5};
  return programColour >= 1 && programColour <= 7 ? kIndex[programColour - 1] : 1;
}

// ix = (x - x0) * W / xr, evaluated left to right in single precision.
int PageMapping::pageX(float x) const {
  return truncatedToField((x - x0) * static_cast<float>(page.width) / xr);
}
int PageMapping::pageY(float y) const {
  return truncatedToField((y - y0) * static_cast<float>(page.height) / yr);
}

std::string HardcopyLanguage::plotStart() const { return hpgl() ? " IP;SP1;VS;PA;WU0" : ""; }

std::string HardcopyLanguage::penColour(int colourIndex) const {
  if (!hasColour(option_) || colourIndex < 1 || colourIndex > 7) return "";
  const Rgb& rgb = kColourTable[colourIndex - 1];
  return fmtF(rgb.red, 4, 1) + fmtF(rgb.green, 4, 1) + fmtF(rgb.blue, 4, 1) + " srgb";
}

std::string HardcopyLanguage::penWidth(bool thick) const {
  if (hpgl()) return thick ? "WU1;PW0.50,1" : "WU1;PW0.25,1";
  return fmtI(thick ? 6 : 3, 1) + " slw";
}

std::string HardcopyLanguage::penStyle(int style) const {
  if (style < 1 || style > 5) return "";
  return hpgl() ? kHpglStyles[style - 1] : kPostScriptStyles[style - 1];
}

std::string HardcopyLanguage::move(int ix, int iy) const {
  return hpgl() ? " PU" + fmtI(ix, 5) + "," + fmtI(iy, 5) + ";" : "n " + fmtI(ix, 5) + fmtI(iy, 5) + " m";
}

std::string HardcopyLanguage::draw(int ix, int iy) const {
  return hpgl() ? " PD" + fmtI(ix, 5) + "," + fmtI(iy, 5) + ";" : fmtI(ix, 5) + fmtI(iy, 5) + " l";
}

std::string HardcopyLanguage::stroke() const { return hpgl() ? "" : "st"; }

std::string HardcopyLanguage::dot() const { return hpgl() ? "PD;PU;" : " 1 1 rlineto"; }

std::vector<std::string> HardcopyLanguage::text(float height, float angle, std::string_view label,
                                                float xr) const {
  if (hpgl()) {
    // Character width and height in centimetres.
    const float width = height * 17.0f / xr;
    return {"DI" + fmtF(cosDeg(angle), 8, 5) + fmtF(sinDeg(angle), 8, 5),
            "SI" + fmtF(width, 8, 5) + fmtF(width * 1.48f, 8, 5),
            "LB" + std::string(label) + kEndOfLabel};
  }
  std::string shown(label.substr(0, kMaxPostScriptText));
  if (shown.empty()) shown = " ";
  const float size = height * 5530.0f / xr;
  const int fontSize = std::clamp(truncatedToField(size), -999, 9999);  // I4
  const long rotation = rotationDegrees(angle);
  std::vector<std::string> lines{"Cf" + fmtI(fontSize, 4) + " sf"};
  if (rotation != 0) lines.insert(lines.end(), {"gct", fmtI(rotation, 4) + " r"});
  lines.push_back("(" + postScriptString(shown) + ") s");
  if (rotation != 0) lines.push_back("gr");
  return lines;
}

std::string HardcopyLanguage::plotEnd() const { return hpgl() ? " PU 1000,1000;SP0;PG;" : "showpage"; }

std::vector<std::string> HardcopyLanguage::fileHeader(int pageCount, std::string_view title) const {
  if (hpgl()) return {" IN;PS10364,7961"};
  std::vector<std::string> lines;
  const bool eps = isEps(option_);
  if (pageCount == 1) {
    lines.push_back(eps ? "%!PS-Adobe-3.0 EPSF-3.0" : "%!PS-Adobe-3.0");
    lines.push_back("%%Creator: TELK");
    if (eps) {
      lines.push_back("%%Title: " + padRight(title, 80));
      lines.push_back("%%BoundingBox: -1 -1 330 255");
      lines.push_back("%%Pages: 1 1");
    } else {
      lines.push_back("%%Pages: (atend)");
    }
    lines.insert(lines.end(), {"%%DocumentSuppliedResources: procset TELK_plots", "%%EndComments",
                               "%%BeginProlog", "%%BeginResource: procset TELK_plots"});
    lines.insert(lines.end(), std::begin(kProcedures), std::end(kProcedures));
    lines.insert(lines.end(), {"%%EndResource", "%%EndProlog"});
    if (eps) lines.insert(lines.end(), {"%%Page: 1 1", "0.1 0.1 scale"});
  }
  if (!eps) {
    lines.push_back("%%Page: " + fmtI(pageCount, 3) + fmtI(pageCount, 3));
    lines.push_back("0.224 0.224 scale");
    lines.push_back("2550 0 t 90 r 75 -75 t");  // landscape placement
  }
  return lines;
}

std::vector<std::string> HardcopyLanguage::pageTrailer() const {
  if (!hpgl()) return {};
  return {std::string{kEscape} + "%0A" + kEscape + "E"};
}
