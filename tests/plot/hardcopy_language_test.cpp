// The command texts of the HP-GL/2 and PostScript writers, line by line.
#include "plot/hardcopy_language.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const HardcopyLanguage kHpgl(HardcopyOption::LaserJet);
const HardcopyLanguage kPostScript(HardcopyOption::PostScript);
const HardcopyLanguage kColourEps(HardcopyOption::ColourEps);

TEST(PageMapping, TruncatesInSinglePrecisionAndClampsToTheField) {
  struct Case {
    HardcopyOption option;
    float x, y;
    int ix, iy;
  };
  const Case cases[] = {
      {HardcopyOption::LaserJet, 5.0f, 3.75f, 5182, 3980},  // 3980.5 truncated
      {HardcopyOption::PostScript, 5.0f, 3.75f, 1649, 1274},
      {HardcopyOption::PostScript, -0.001f, -0.001f, 0, 0},  // toward zero, not down
      {HardcopyOption::PostScript, -40.0f, 1.0e9f, -9999, 99999},
      {HardcopyOption::PostScript, 1.0e30f, -1.0e30f, 99999, -9999},
  };
  for (const Case& c : cases) {
    PageMapping mapping;
    mapping.xr = 10.0f;
    mapping.yr = 7.5f;
    mapping.page = pageSizeOf(c.option);
    EXPECT_EQ(mapping.pageX(c.x), c.ix) << c.x;
    EXPECT_EQ(mapping.pageY(c.y), c.iy) << c.y;
  }
}

TEST(HardcopyLanguage, DrawingCommands) {
  EXPECT_EQ(kHpgl.move(5182, 3980), " PU 5182, 3980;");
  EXPECT_EQ(kHpgl.draw(-9999, 99999), " PD-9999,99999;");
  EXPECT_EQ(kPostScript.move(1649, 1274), "n  1649 1274 m");
  EXPECT_EQ(kPostScript.draw(0, 12), "    0   12 l");
  EXPECT_EQ(kHpgl.stroke(), "");
  EXPECT_EQ(kPostScript.stroke(), "st");
  EXPECT_EQ(kHpgl.dot(), "PD;PU;");
  EXPECT_EQ(kPostScript.dot(), " 1 1 rlineto");
  EXPECT_EQ(kHpgl.plotStart(), " IP;SP1;VS;PA;WU0");
  EXPECT_EQ(kPostScript.plotStart(), "");
  EXPECT_EQ(kHpgl.plotEnd(), " PU 1000,1000;SP0;PG;");
  EXPECT_EQ(kPostScript.plotEnd(), "showpage");
}

TEST(HardcopyLanguage, PenCommands) {
  const Lines hpglStyles{"LT", "LT1,0.5,1", "LA1,1;LT2,2,1", "LA1,1;LT3,4,1", "LA1,1;LT4,4,1"};
  const Lines postScriptStyles{"[] 0 sd", "[8 8] 0 sd", "[32 8] 16 sd", "[16 8] 8 sd", "[32 8 8 8] 16 sd"};
  for (int style = 1; style <= 5; ++style) {
    EXPECT_EQ(kHpgl.penStyle(style), hpglStyles[style - 1]);
    EXPECT_EQ(kPostScript.penStyle(style), postScriptStyles[style - 1]);
  }
  EXPECT_EQ(kHpgl.penWidth(true), "WU1;PW0.50,1");
  EXPECT_EQ(kHpgl.penWidth(false), "WU1;PW0.25,1");
  EXPECT_EQ(kPostScript.penWidth(true), "6 slw");
  EXPECT_EQ(kPostScript.penWidth(false), "3 slw");

  // Colour lines only for the colour options, from the index's table row.
  EXPECT_EQ(kColourEps.penColour(2), " 1.0 0.0 0.0 srgb");
  EXPECT_EQ(kColourEps.penColour(7), " 0.8 0.4 0.0 srgb");
  EXPECT_EQ(kColourEps.penColour(5), " 0.0 0.8 0.8 srgb");
  EXPECT_EQ(kPostScript.penColour(2), "");
  EXPECT_EQ(kHpgl.penColour(2), "");
  const int indices[7] = {1, 2, 4, 3, 7, 6, 5};
  for (int colour = 1; colour <= 7; ++colour) EXPECT_EQ(colourIndexOf(colour), indices[colour - 1]);
}

TEST(HardcopyLanguage, PostScriptTextRotationOnlyWhenTheRoundedAngleIsNotZero) {
  // Height 0.23 on a window 14 wide: 0.23 * 5530 / 14 = 90.85 -> 90.
  EXPECT_EQ(kPostScript.text(0.23f, 0.4f, "EDGE 2", 14.0f), (Lines{"Cf  90 sf", "(EDGE 2) s"}));
  EXPECT_EQ(kPostScript.text(0.23f, 89.6f, "EDGE 1", 14.0f),
            (Lines{"Cf  90 sf", "gct", "  90 r", "(EDGE 1) s", "gr"}));
  EXPECT_EQ(kPostScript.text(0.23f, -0.5f, "x", 14.0f), (Lines{"Cf  90 sf", "gct", "  -1 r", "(x) s", "gr"}));
  // Sizes and turns beyond the I4 fields would give asterisks, an invalid file.
  EXPECT_EQ(kPostScript.text(100.0f, -1470.0f, "x", 1.0f), (Lines{"Cf9999 sf", "gct", " -30 r", "(x) s", "gr"}));
}

TEST(HardcopyLanguage, PostScriptTextIsCutTo128AndEscaped) {
  const std::string longText(200, 'a');
  EXPECT_EQ(kPostScript.text(1.0f, 0.0f, longText, 10.0f)[1], "(" + std::string(128, 'a') + ") s");
  EXPECT_EQ(kPostScript.text(1.0f, 0.0f, "f(x) \\ y", 10.0f)[1], "(f\\(x\\) \\\\ y) s");
  EXPECT_EQ(kPostScript.text(1.0f, 0.0f, "", 10.0f)[1], "( ) s");  // at least one character
}

TEST(HardcopyLanguage, HpglTextDirectionSizeAndLabel) {
  // Width 0.23 * 17 / 14 = 0.27929 cm, height 1.48 times that.
  EXPECT_EQ(kHpgl.text(0.23f, 90.0f, "EDGE 1", 14.0f),
            (Lines{"DI-0.00000 1.00000", "SI 0.27929 0.41334", "LBEDGE 1\x03"}));
  EXPECT_EQ(kHpgl.text(0.23f, 180.0f, "EDGE 4", 14.0f)[0], "DI-1.00000-0.00000");
  const std::string longText(300, 'b');  // written whole
  EXPECT_EQ(kHpgl.text(0.18f, 0.0f, longText, 14.0f)[2], "LB" + longText + "\x03");
}

TEST(HardcopyLanguage, FileHeadersAndTrailers) {
  const Lines printerFirst = kPostScript.fileHeader(1, "");
  ASSERT_EQ(printerFirst.size(), 32u);
  EXPECT_EQ(printerFirst[0], "%!PS-Adobe-3.0");
  EXPECT_EQ(printerFirst[2], "%%Pages: (atend)");
  EXPECT_EQ(printerFirst[7], "/CBf {/Courier-Bold findfont} bind def");
  EXPECT_EQ(printerFirst[26], "/t {translate} bind def");
  EXPECT_EQ(printerFirst[28], "%%EndProlog");
  EXPECT_EQ(printerFirst[29], "%%Page:   1  1");
  EXPECT_EQ(kPostScript.fileHeader(2, ""), (Lines{"%%Page:   2  2", "0.224 0.224 scale", "2550 0 t 90 r 75 -75 t"}));

  const Lines eps = kColourEps.fileHeader(1, "Ellipses");
  ASSERT_EQ(eps.size(), 33u);
  EXPECT_EQ(eps[0], "%!PS-Adobe-3.0 EPSF-3.0");
  EXPECT_EQ(eps[2], "%%Title: Ellipses" + std::string(72, ' '));
  EXPECT_EQ(eps[3], "%%BoundingBox: -1 -1 330 255");
  EXPECT_EQ(eps[4], "%%Pages: 1 1");
  EXPECT_EQ(eps[31], "%%Page: 1 1");
  EXPECT_EQ(eps[32], "0.1 0.1 scale");

  EXPECT_EQ(kHpgl.fileHeader(3, ""), Lines{" IN;PS10364,7961"});
  EXPECT_EQ(kHpgl.pageTrailer(), Lines{"\x1b%0A\x1b" "E"});
  EXPECT_TRUE(kPostScript.pageTrailer().empty());
}

}  // namespace
