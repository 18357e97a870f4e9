// The graphics layer end to end on its hardcopy side (screen option Z or a
// recording stand-in for the screen): questions, plot file, written pen,
// page assembly, files of every option, and the failures that end a run.
#include "plot/plot_layer.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../terminal/terminal_fixture.hpp"

namespace {

using Lines = std::vector<std::string>;

// Stands in for the plotting library: records every call, answers the cursor
// from a list of keys.
class RecordingScreen final : public PlotScreen {
 public:
  RecordingScreen(Lines& calls, std::string keys, int openStatus = 0)
      : calls_(calls), keys_(std::move(keys)), openStatus_(openStatus) {}
  int open(std::string_view device) override {
    calls_.push_back("open " + std::string(device));
    return openStatus_;
  }
  void erase() override { calls_.push_back("erase"); }
  void setWindow(float, float, float, float) override { calls_.push_back("window"); }
  void setPen(int style, int colourIndex, int width) override {
    calls_.push_back("pen " + std::to_string(style) + " " + std::to_string(colourIndex) + " " + std::to_string(width));
  }
  void moveTo(float, float) override { calls_.push_back("move"); }
  void drawTo(float, float) override { calls_.push_back("draw"); }
  void text(float, float, float, float, std::string_view label) override {
    calls_.push_back("text " + std::string(label));
  }
  void dot(float, float) override { calls_.push_back("dot"); }
  void readCursor(float& x, float& y, char& key) override {
    calls_.push_back("cursor");
    x = 1.5f;
    y = -2.25f;
    key = keys_.empty() ? 'X' : keys_[0];
    if (!keys_.empty()) keys_.erase(0, 1);
  }
  void waitForKey() override { calls_.push_back("wait"); }
  void close() override { calls_.push_back("close"); }

 private:
  Lines& calls_;
  std::string keys_;
  int openStatus_;
};

class PlotLayerTest : public TerminalTest {
 protected:
  static Lines readLines(const std::string& name) {
    Lines lines;
    std::string text = readFile(name);
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find('\n', start);
      lines.push_back(text.substr(start, end - start));
      start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
  }
  static bool exists(const std::string& name) { return std::filesystem::exists(name); }
  static int count(const Lines& lines, const std::string& line) {
    int n = 0;
    for (const std::string& l : lines) n += l == line;
    return n;
  }
  // Captures what the layer writes on standard output.
  void captureOutput() {
    ::testing::internal::CaptureStdout();
    capturing_ = true;
  }
  std::string output() {
    capturing_ = false;
    return ::testing::internal::GetCapturedStdout();
  }
  void TearDown() override {
    if (capturing_) output();
    TerminalTest::TearDown();
  }
  bool capturing_ = false;

  // One plot on the window 0..10 x 0..7.5 with pens, a line, a dot and text.
  static void drawSample(PlotLayer& layer) {
    layer.beginPlot();
    layer.setWindow(0.0f, 10.0f, 0.0f, 7.5f);
    layer.setPen(1, 1, 1);  // as the plot started: nothing written
    layer.setPen(1, 0, 1);  // thick to thin: only the width
    layer.moveTo(5.0f, 3.75f);
    layer.drawTo(10.0f, 7.5f);
    layer.stroke();
    layer.setPen(8, 0, 9);  // folded to style 3, colour 2
    layer.setMarker(6, -1.0f);  // a dot of size 0.01
    layer.marker(2.0f, 1.0f);
    layer.text(1.0f, 1.0f, 0.5f, 89.6f, "Label (a)", 9);
    layer.endPlot();
  }
};

const Lines kSampleBody = {
    "6 slw", "[] 0 sd", "3 slw", "n  1649 1274 m", " 3299 2549 l", "st", "[32 8] 16 sd",
    "n   659  339 m", " 1 1 rlineto", "st", "n   659  339 m",
    "n   329  339 m", "Cf 276 sf", "gct", "  90 r", "(Label \\(a\\)) s", "gr", "showpage",
};

TEST_F(PlotLayerTest, PrinterPostScriptWithoutScreenHasOnePagePerPlot) {
  typeAhead("Z\nB\n");
  captureOutput();
  {
    PlotLayer layer;
    layer.selectDevices("Plot_Ck", 7);
    EXPECT_EQ(layer.hardcopyFileName(), "Plot_Ck.PS");
    drawSample(layer);
    EXPECT_FALSE(exists(PlotLayer::kPlotFileName));
    layer.beginPlot();  // a plot that draws nothing still gets its page
    layer.setWindow(0.0f, 1.0f, 0.0f, 1.0f);
    layer.endPlot();
    layer.close();
  }
  Lines expected = HardcopyLanguage(HardcopyOption::PostScript).fileHeader(1, "");
  expected.insert(expected.end(), kSampleBody.begin(), kSampleBody.end());
  expected.insert(expected.end(),
                  {"%%Page:   2  2", "0.224 0.224 scale", "2550 0 t 90 r 75 -75 t", "6 slw", "[] 0 sd", "showpage",
                   "%%Trailer"});
  EXPECT_EQ(readLines("Plot_Ck.PS"), expected);
  EXPECT_FALSE(exists(PlotLayer::kPlotFileName));
  EXPECT_EQ(output().find("hardcopy of this plot"), std::string::npos);  // no question without a screen
}

TEST_F(PlotLayerTest, LaserJetFileHoldsEveryPlotAndEndsWithTheEscapeLine) {
  typeAhead("Z\nA\n");
  captureOutput();
  {
    PlotLayer layer;
    layer.selectDevices("Plot_Ck", 7);
    for (int plot = 0; plot < 3; ++plot) {
      layer.beginPlot();
      layer.setWindow(0.0f, 10.0f, 0.0f, 7.5f);
      layer.setPen(2, 0, 3);
      layer.moveTo(5.0f, 3.75f);
      layer.text(5.0f, 3.75f, 0.5f, 0.0f, "A", 1);
      layer.endPlot();
    }
    layer.close();
  }
  const Lines lines = readLines("Plot_Ck.HGL");
  const Lines onePlot = {" IN;PS10364,7961", " IP;SP1;VS;PA;WU0", "WU1;PW0.50,1", "LT", "WU1;PW0.25,1", "LT1,0.5,1",
                         " PU 5182, 3980;", " PU 5182, 3980;", "DI 1.00000 0.00000", "SI 0.85000 1.25800",
                         "LBA\x03", " PU 1000,1000;SP0;PG;", "\x1b%0A\x1b" "E"};
  ASSERT_EQ(lines.size(), 3 * onePlot.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], onePlot[i % onePlot.size()]) << i;
}

// Plot file lines are copied whole, however long: a long label is not cut.
TEST_F(PlotLayerTest, LongLaserJetLabelIsCopiedWhole) {
  typeAhead("Z\nA\n");
  captureOutput();
  const std::string label(400, 'L');
  {
    PlotLayer layer;
    layer.selectDevices("Long", 4);
    layer.beginPlot();
    layer.setWindow(0.0f, 10.0f, 0.0f, 7.5f);
    layer.text(1.0f, 1.0f, 0.2f, 0.0f, label, 400);
    layer.endPlot();
    layer.close();
  }
  EXPECT_EQ(count(readLines("Long.HGL"), "LB" + label + "\x03"), 1);
}

TEST_F(PlotLayerTest, EpsFilePerPlotWithItsOwnTitleAndName) {
  writeFile("keep.EPS", "not to be written over\n");
  // Names refused: one with a ".", a blank one; keep.EPS exists and is kept.
  typeAhead("Z\nE\nFirst figure\nplot.1\n\none\nSecond\nkeep\nn\ntwo\n");
  captureOutput();
  {
    PlotLayer layer;
    layer.selectDevices("Plot_Ck", 7);
    for (int plot = 0; plot < 2; ++plot) {
      layer.beginPlot();
      layer.setWindow(0.0f, 10.0f, 0.0f, 7.5f);
      layer.setPen(1, 1, 3);
      layer.drawTo(1.0f, 1.0f);
      layer.endPlot();
      EXPECT_FALSE(exists(PlotLayer::kPlotFileName));
    }
    layer.close();
  }
  for (const auto& [name, title] : {std::pair{"one.EPS", "First figure"}, std::pair{"two.EPS", "Second"}}) {
    Lines expected = HardcopyLanguage(HardcopyOption::ColourEps).fileHeader(1, title);
    expected.insert(expected.end(), {" 0.0 0.0 0.0 srgb", "6 slw", "[] 0 sd", " 0.0 0.0 1.0 srgb", "  329  339 l",
                                     "showpage", "%%Trailer"});
    EXPECT_EQ(readLines(name), expected) << name;
  }
  EXPECT_EQ(readFile("keep.EPS"), "not to be written over\n");
  EXPECT_NE(output().find("File exists, overwrite?"), std::string::npos);
}

TEST_F(PlotLayerTest, ScreenQuestionsAndMenus) {
  // "?" shows the menu, "C" is asked again without it; "q" is no hardcopy option.
  typeAhead("?\nC\nB\nY\nq\nD\n");
  captureOutput();
  Lines calls;
  PlotLayer layer;
  layer.useScreen(std::make_unique<RecordingScreen>(calls, ""));
  layer.selectDevices("Plot_Ck", 7);
  EXPECT_EQ(layer.screenDevice(), "/XSER   ");
  EXPECT_EQ(layer.hardcopyOption(), HardcopyOption::ColourPostScript);
  const std::string screenPrompt = " Enter graphic screen option (<?>,A,B,Z) >";
  const std::string menu =
      " Graphics screen option:\n  A    X-window display\n  B    Persistent X-window display\n"
      "  Z    No screen graphics; only hardcopy\n";
  const std::string hardcopyPrompt = " Enter hardcopy option (<?>,A,B,C,D,E) >";
  const std::string hardcopyMenu =
      " High resolution hardcopy device:\n  A    HP Laserjet printer\n  B    PostScript printer\n"
      "  C    EPS PostScript file\n  D    Color PostScript printer\n  E    Color EPS PostScript file\n";
  EXPECT_EQ(output(), screenPrompt + menu + screenPrompt + screenPrompt +
                          " Do you want to save graphics output (Y,<N>)? >" + hardcopyPrompt + hardcopyMenu +
                          hardcopyPrompt);
}

TEST_F(PlotLayerTest, ScreenWithoutSavingWritesNoPlotFile) {
  typeAhead("A\nN\n");
  captureOutput();
  Lines calls;
  {
    PlotLayer layer;
    layer.useScreen(std::make_unique<RecordingScreen>(calls, ""));
    layer.selectDevices("Plot_Ck", 7);
    layer.beginPlot();
    layer.setWindow(-7.0f, 7.0f, -5.0f, 5.0f);
    layer.setPen(2, 0, 3);
    layer.drawTo(1.0f, 1.0f);
    EXPECT_FALSE(exists(PlotLayer::kPlotFileName));
    layer.endPlot();
    layer.close();
  }
  EXPECT_EQ(calls, (Lines{"open /XWIN", "erase", "pen 1 1 4", "window", "pen 2 4 2", "draw", "wait", "close"}));
  EXPECT_EQ(output().find("hardcopy"), std::string::npos);
  EXPECT_FALSE(exists("Plot_Ck.PS"));
}

// The hardcopy does not depend on the screen: a run with a screen and the
// answer Y gives the file the run without a screen gives.
TEST_F(PlotLayerTest, HardcopyWithScreenIsTheHardcopyWithoutScreen) {
  typeAhead("Z\nB\n");
  captureOutput();
  {
    PlotLayer layer;
    layer.selectDevices("Plot_Ck", 7);
    drawSample(layer);
    layer.close();
  }
  const std::string withoutScreen = readFile("Plot_Ck.PS");
  std::filesystem::remove("Plot_Ck.PS");

  typeAhead("B Y B\nY\n");
  Lines calls;
  {
    PlotLayer layer;
    layer.useScreen(std::make_unique<RecordingScreen>(calls, ""));
    layer.selectDevices("Plot_Ck", 7);
    drawSample(layer);
    layer.close();
  }
  EXPECT_EQ(readFile("Plot_Ck.PS"), withoutScreen);
  // Screen side of the sample: text after its own pen, the dot, no wait on "/XSER".
  EXPECT_EQ(calls, (Lines{"open /XSER", "erase", "pen 1 1 4", "window", "pen 1 1 4", "pen 1 1 2", "move", "draw",
                          "pen 3 2 2", "move", "dot", "move", "text Label (a)", "move", "close"}));
}

TEST_F(PlotLayerTest, DeclinedHardcopyLeavesNoFiles) {
  typeAhead("A\nY\nB\nN\n");
  captureOutput();
  Lines calls;
  {
    PlotLayer layer;
    layer.useScreen(std::make_unique<RecordingScreen>(calls, ""));
    layer.selectDevices("Plot_Ck", 7);
    drawSample(layer);
    EXPECT_FALSE(exists(PlotLayer::kPlotFileName));
    layer.close();
  }
  EXPECT_FALSE(exists("Plot_Ck.PS"));
  EXPECT_FALSE(exists("Plot_Ck.PS.TMP"));
}

TEST_F(PlotLayerTest, CursorKeysAndMarkers) {
  typeAhead("A\nN\n");
  captureOutput();
  Lines calls;
  PlotLayer layer;
  layer.useScreen(std::make_unique<RecordingScreen>(calls, "ADqX"));
  layer.selectDevices("Plot_Ck", 7);
  layer.beginPlot();
  std::string keys;
  for (int i = 0; i < 4; ++i) {
    float x = 0.0f, y = 0.0f;
    char key = ' ';
    layer.readCursor(x, y, key);
    keys += key;
    EXPECT_EQ(x, 1.5f);
    EXPECT_EQ(y, -2.25f);
  }
  EXPECT_EQ(keys, "WHQX");  // left button, middle button, a typed key, right button

  // Square: four sides from the lower left corner, then back to the centre.
  calls.clear();
  layer.setMarker(4, 0.2f);
  layer.marker(1.0f, 1.0f);
  EXPECT_EQ(calls, (Lines{"move", "draw", "draw", "draw", "draw", "move"}));
  layer.endPlot();

  Lines noScreenCalls;
  PlotLayer withoutScreen;
  float x = 3.0f, y = 3.0f;
  char key = ' ';
  withoutScreen.readCursor(x, y, key);
  EXPECT_EQ(x, 0.0f);
  EXPECT_EQ(y, 0.0f);
  EXPECT_EQ(key, 'X');
}

TEST_F(PlotLayerTest, DrawingOutsideAPlotAndASecondBeginAreIgnored) {
  typeAhead("Z\nB\n");
  captureOutput();
  {
    PlotLayer layer;
    layer.moveTo(1.0f, 1.0f);  // before selection: nothing
    layer.selectDevices("Plot_Ck", 7);
    layer.drawTo(1.0f, 1.0f);
    layer.text(0.0f, 0.0f, 1.0f, 0.0f, "x", 1);
    layer.endPlot();
    EXPECT_FALSE(exists(PlotLayer::kPlotFileName));
    layer.beginPlot();
    layer.setWindow(0.0f, 10.0f, 0.0f, 7.5f);
    layer.beginPlot();
    layer.drawTo(10.0f, 7.5f);
    layer.endPlot();
    layer.drawTo(1.0f, 1.0f);
    layer.close();
    layer.close();
  }
  Lines expected = HardcopyLanguage(HardcopyOption::PostScript).fileHeader(1, "");
  expected.insert(expected.end(), {"6 slw", "[] 0 sd", " 3299 2549 l", "showpage", "%%Trailer"});
  EXPECT_EQ(readLines("Plot_Ck.PS"), expected);
}

TEST_F(PlotLayerTest, ScreenThatCannotOpenStopsTheRun) {
  typeAhead("A\nN\n");
  Lines calls;
  PlotLayer layer;
  layer.useScreen(std::make_unique<RecordingScreen>(calls, "", 1));
  layer.selectDevices("Plot_Ck", 7);
  EXPECT_EXIT(layer.beginPlot(), ::testing::ExitedWithCode(1),
              "STOP Error: cannot set graphics mode statement executed");
}

TEST_F(PlotLayerTest, PlotFileWriteFailureEndsTheRun) {
  std::filesystem::create_symlink("/dev/full", PlotLayer::kPlotFileName);
  typeAhead("Z\nB\n");
  PlotLayer layer;
  layer.selectDevices("Plot_Ck", 7);
  EXPECT_EXIT(
      {
        layer.beginPlot();
        layer.setWindow(0.0f, 10.0f, 0.0f, 7.5f);
        layer.drawTo(1.0f, 1.0f);
        layer.endPlot();
      },
      ::testing::ExitedWithCode(2), "PLOTFL.TMP");
  EXPECT_FALSE(exists("Plot_Ck.PS"));
}

}  // namespace
