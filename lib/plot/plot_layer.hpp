// The graphics layer: device selection, the plot life cycle, screen drawing
// through a PlotScreen and hardcopy recorded in the plot file PLOTFL.TMP, then
// wrapped into an HP-GL/2, PostScript or EPS file when the user wants it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "plot/hardcopy_language.hpp"
#include "plot/plot_screen.hpp"

class PlotLayer {
 public:
  static constexpr const char* kPlotFileName = "PLOTFL.TMP";
  static constexpr int kTitleLength = 80;
  static constexpr int kEpsNameLength = 8;

  PlotLayer();
  ~PlotLayer();

  // The screen used when a screen option is chosen (the plotting library's
  // unless a test hands in its own); must be set before the first plot.
  void useScreen(std::unique_ptr<PlotScreen> screen);

  // Asks for the screen and hardcopy options (once per run).
  void selectDevices(std::string_view programName, int length);
  void beginPlot();
  void setWindow(float xmin, float xmax, float ymin, float ymax);
  void setPen(int style, int thick, int colour);
  void moveTo(float x, float y);
  void drawTo(float x, float y);
  void stroke();
  void text(float x, float y, float height, float angle, std::string_view label, int length);
  void setMarker(int symbol, float size);
  void marker(float x, float y);
  void readCursor(float& x, float& y, char& key);
  void endPlot();
  void close();

  // What the selection chose (for callers and tests).
  const std::string& screenDevice() const { return screenDevice_; }
  HardcopyOption hardcopyOption() const { return hardcopyOption_; }
  const std::string& hardcopyFileName() const { return hardcopyFileName_; }
  bool plotOpen() const { return plotOpen_; }

 private:
  struct Pen {
    int style = 0;  // 0: none written yet
    bool thick = false;
    int colour = 0;
  };

  bool hasScreen() const { return screenDevice_[0] != 'Z'; }
  bool hasHardcopy() const { return hardcopyOption_ != HardcopyOption::None; }
  void askScreenOption();
  void askHardcopyOption();
  void openPlotFile();
  void writePlotLine(const std::string& line);
  int pageX(float x) const { return mapping_.pageX(x); }
  int pageY(float y) const { return mapping_.pageY(y); }
  void drawMarkerShape(float x, float y);
  bool askHardcopyWanted();
  void askEpsTitleAndName();
  void openHardcopyFile();
  void writeHardcopy();
  void writeHardcopyLine(std::string_view line);
  void finishHardcopyFile(bool withTrailer);
  void removePlotFile();

  bool selected_ = false;
  std::string screenDevice_ = "Z       ";
  bool screenOpen_ = false;
  std::unique_ptr<PlotScreen> screen_;
  HardcopyOption hardcopyOption_ = HardcopyOption::None;
  std::string hardcopyFileName_;
  bool plotOpen_ = false;
  int plotUnit_ = 0;
  int hardcopyUnit_ = 0;
  int pageCount_ = 0;
  std::string epsTitle_ = std::string(kTitleLength, ' ');
  PageMapping mapping_;
  Pen pen_;
  Pen writtenPen_;
  int markerSymbol_ = 0;
  float markerSize_ = 0.0f;
  float cursorX_ = 0.0f;
  float cursorY_ = 0.0f;
};

// The process's graphics layer.
PlotLayer& plotLayer();
