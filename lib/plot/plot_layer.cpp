// The graphics layer: device selection, plot life cycle, screen side and the
// recording of hardcopy commands in the plot file.
#include "plot/plot_layer.hpp"

#include <sys/stat.h>

#include <cstdio>

#include "terminal/fortran_format.hpp"  // padRight, trimRight
#include "terminal/run_stop.hpp"        // stopRun, ioErrorReport
#include "terminal/term_input.hpp"
#include "terminal/unit_table.hpp"

namespace {

constexpr int kScreen = UnitTable::kTerminalOut;
constexpr int kFirstHardcopyUnit = 50;

const char* const kScreenMenu[] = {
    " Graphics screen option:",
    "  A    X-window display",
    "  B    Persistent X-window display",
    "  Z    No screen graphics; only hardcopy",
};
const char* const kHardcopyMenu[] = {
    " High resolution hardcopy device:",
    "  A    HP Laserjet printer",
    "  B    PostScript printer",
    "  C    EPS PostScript file",
    "  D    Color PostScript printer",
    "  E    Color EPS PostScript file",
};

void say(std::string_view line) { unitTable().writeLine(kScreen, line); }

// One upper-cased answer character from the item reader; blank by default.
char askLetter(std::string_view prompt, int mode) {
  std::string answer(1, ' ');
  termInput().nextItem(prompt, mode, answer);
  UpperCase(answer, 1);
  return answer[0];
}

// Folding into 1..period for any integer (below 1 as well).
int foldInto(int value, int period) { return ((value - 1) % period + period) % period + 1; }

bool fileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Name under which a hardcopy file is written until it is complete.
std::string partialName(const std::string& name) { return name + ".TMP"; }

}  // namespace

PlotLayer& plotLayer() {
  static PlotLayer layer;
  return layer;
}

// The unit table is made first, so that it outlives the process's layer.
PlotLayer::PlotLayer() { unitTable(); }

// The plot file never outlives the process, whatever ended the run.
PlotLayer::~PlotLayer() {
  if (plotUnit_ != 0) removePlotFile();
}

void PlotLayer::useScreen(std::unique_ptr<PlotScreen> screen) { screen_ = std::move(screen); }

void PlotLayer::selectDevices(std::string_view programName, int length) {
  if (selected_) return;
  selected_ = true;
  askScreenOption();
  bool save = true;
  if (hasScreen()) save = askLetter("Do you want to save graphics output (Y,<N>)?", 1) == 'Y';
  if (save) askHardcopyOption();
  const std::string program(programName.substr(0, static_cast<std::size_t>(length < 0 ? 0 : length)));
  if (hardcopyOption_ == HardcopyOption::LaserJet) hardcopyFileName_ = program + ".HGL";
  if (hardcopyOption_ == HardcopyOption::PostScript || hardcopyOption_ == HardcopyOption::ColourPostScript)
    hardcopyFileName_ = program + ".PS";
}

// The menu follows every answer that sorts before "A" or after "C" as
// 8 blank-padded characters; "C" itself is asked again without it.
void PlotLayer::askScreenOption() {
  const std::string optionA = padRight("A", 8), optionB = padRight("B", 8), optionC = padRight("C", 8),
                    optionZ = padRight("Z", 8);
  std::string answer(8, ' ');
  for (;;) {
    answer.assign(8, ' ');
    termInput().nextItem("Enter graphic screen option (<?>,A,B,Z)", 1, answer);
    UpperCase(answer, 8);
    if (answer < optionA || answer > optionC)
      for (const char* line : kScreenMenu) say(line);
    if (answer == optionA || answer == optionB || answer == optionZ) break;
  }
  if (answer == optionA) screenDevice_ = padRight("/XWIN", 8);
  if (answer == optionB) screenDevice_ = padRight("/XSER", 8);
  if (answer == optionZ) screenDevice_ = optionZ;
  if (hasScreen() && !screen_) screen_ = makeLibraryScreen();
}

void PlotLayer::askHardcopyOption() {
  for (;;) {
    const char letter = askLetter("Enter hardcopy option (<?>,A,B,C,D,E)", 1);
    if (letter >= 'A' && letter <= 'E') {
      hardcopyOption_ = static_cast<HardcopyOption>(letter);
      return;
    }
    for (const char* line : kHardcopyMenu) say(line);
  }
}

// A second beginPlot while a plot is open is ignored: the open plot goes on.
void PlotLayer::beginPlot() {
  if (plotOpen_ || !selected_) return;
  if (hasScreen()) {
    if (!screenOpen_) {
      if (screen_->open(trimRight(screenDevice_)) != 0) stopRun("Error: cannot set graphics mode", 1);
      screenOpen_ = true;
    }
    screen_->erase();
  }
  plotOpen_ = true;
  if (hasHardcopy()) {
    mapping_.page = pageSizeOf(hardcopyOption_);
    openPlotFile();
  }
  setPen(1, 1, 1);
}

void PlotLayer::openPlotFile() {
  int unit = 0;
  FindFreeUnit(unit);
  const int status = unitTable().open(unit, kPlotFileName, "w+");
  if (status != 0) ioErrorReport(unit, "cannot create the plot file", kPlotFileName);
  plotUnit_ = unit;
  writtenPen_ = Pen{};
  const std::string first = HardcopyLanguage(hardcopyOption_).plotStart();
  if (!first.empty()) writePlotLine(first);
}

void PlotLayer::writePlotLine(const std::string& line) {
  if (plotUnit_ == 0 || line.empty()) return;
  unitTable().writeLine(plotUnit_, line);
  if (std::ferror(unitTable().file(plotUnit_))) ioErrorReport(plotUnit_, "write failed on the plot file");
}

void PlotLayer::setWindow(float xmin, float xmax, float ymin, float ymax) {
  if (!plotOpen_) return;
  if (hasScreen()) screen_->setWindow(xmin, xmax, ymin, ymax);
  if (hasHardcopy()) {
    mapping_.x0 = xmin;
    mapping_.y0 = ymin;
    mapping_.xr = xmax - xmin;
    mapping_.yr = ymax - ymin;
  }
}

// Styles and colours are folded into 1-5 and 1-7 (values below 1 too); only
// what differs from the pen already in the plot file is written, in the order
// colour, thickness, style.
void PlotLayer::setPen(int style, int thick, int colour) {
  if (!plotOpen_) return;
  pen_ = Pen{foldInto(style, 5), thick != 0, foldInto(colour, 7)};
  if (hasScreen()) screen_->setPen(pen_.style, colourIndexOf(pen_.colour), pen_.thick ? 4 : 2);
  if (plotUnit_ == 0) return;
  const HardcopyLanguage language(hardcopyOption_);
  const bool nothingWritten = writtenPen_.style == 0;
  if (nothingWritten || pen_.colour != writtenPen_.colour) writePlotLine(language.penColour(colourIndexOf(pen_.colour)));
  if (nothingWritten || pen_.thick != writtenPen_.thick) writePlotLine(language.penWidth(pen_.thick));
  if (nothingWritten || pen_.style != writtenPen_.style) writePlotLine(language.penStyle(pen_.style));
  writtenPen_ = pen_;
}

void PlotLayer::moveTo(float x, float y) {
  if (!plotOpen_) return;
  if (hasScreen()) screen_->moveTo(x, y);
  writePlotLine(HardcopyLanguage(hardcopyOption_).move(pageX(x), pageY(y)));
}

void PlotLayer::drawTo(float x, float y) {
  if (!plotOpen_) return;
  if (hasScreen()) screen_->drawTo(x, y);
  writePlotLine(HardcopyLanguage(hardcopyOption_).draw(pageX(x), pageY(y)));
}

void PlotLayer::stroke() {
  if (!plotOpen_) return;
  writePlotLine(HardcopyLanguage(hardcopyOption_).stroke());
}

void PlotLayer::text(float x, float y, float height, float angle, std::string_view label, int length) {
  if (!plotOpen_) return;
  const std::string_view shown = label.substr(0, static_cast<std::size_t>(length < 0 ? 0 : length));
  if (hasScreen()) screen_->text(x, y, height, angle, shown);
  moveTo(x, y);
  if (plotUnit_ == 0) return;
  for (const std::string& line : HardcopyLanguage(hardcopyOption_).text(height, angle, shown, mapping_.xr))
    writePlotLine(line);
}

void PlotLayer::setMarker(int symbol, float size) {
  markerSymbol_ = symbol >= 0 && symbol <= 5 ? symbol : 0;
  markerSize_ = size < 0.0f ? 0.01f : size;
}

void PlotLayer::marker(float x, float y) {
  if (!plotOpen_) return;
  drawMarkerShape(x, y);
  stroke();
  moveTo(x, y);
}

void PlotLayer::drawMarkerShape(float x, float y) {
  const float h = markerSize_ / 2.0f;
  switch (markerSymbol_) {
    case 0:
      moveTo(x, y);
      if (hasScreen()) screen_->dot(x, y);
      writePlotLine(HardcopyLanguage(hardcopyOption_).dot());
      break;
    case 1:
      moveTo(x, y - h);
      drawTo(x, y + h);
      break;
    case 2:
      moveTo(x, y - h);
      drawTo(x, y + h);
      stroke();
      moveTo(x - h, y);
      drawTo(x + h, y);
      break;
    case 3:
      moveTo(x - h, y - h);
      drawTo(x + h, y + h);
      stroke();
      moveTo(x + h, y - h);
      drawTo(x - h, y + h);
      break;
    case 4:
      moveTo(x - h, y - h);
      drawTo(x + h, y - h);
      drawTo(x + h, y + h);
      drawTo(x - h, y + h);
      drawTo(x - h, y - h);
      break;
    default:
      moveTo(x - h, y);
      drawTo(x, y - h);
      drawTo(x + h, y);
      drawTo(x, y + h);
      drawTo(x - h, y);
      break;
  }
}

// Mouse buttons come as "A" (left), "D" (middle) and "X" (right); the layer
// reports the left as "W" and the middle as "H".
void PlotLayer::readCursor(float& x, float& y, char& key) {
  if (!hasScreen() || !screenOpen_) {
    x = 0.0f;
    y = 0.0f;
    key = 'X';
    return;
  }
  x = cursorX_;
  y = cursorY_;
  screen_->readCursor(x, y, key);
  std::string letter(1, key);
  UpperCase(letter, 1);
  key = letter[0];
  if (key == 'A') key = 'W';
  if (key == 'D') key = 'H';
  cursorX_ = x;
  cursorY_ = y;
}

void PlotLayer::endPlot() {
  if (!plotOpen_) return;
  plotOpen_ = false;
  if (screenOpen_ && trimRight(screenDevice_) == "/XWIN") screen_->waitForKey();
  if (plotUnit_ == 0) return;
  writePlotLine(HardcopyLanguage(hardcopyOption_).plotEnd());
  const bool wanted = askHardcopyWanted();
  if (wanted) {
    ++pageCount_;
    if (isEps(hardcopyOption_)) askEpsTitleAndName();
    if (hardcopyUnit_ == 0) openHardcopyFile();
    writeHardcopy();
  }
  removePlotFile();
  if (wanted && isEps(hardcopyOption_)) finishHardcopyFile(true);
}

bool PlotLayer::askHardcopyWanted() {
  if (!hasScreen()) return true;
  return askLetter("Do you want hardcopy of this plot (Y,<N>)", 0) == 'Y';
}

// A blank name or one with a "." is asked again; an existing file is only
// written over after "Y".
void PlotLayer::askEpsTitleAndName() {
  epsTitle_.assign(kTitleLength, ' ');
  termInput().ask("Enter title: ", epsTitle_);
  pageCount_ = 1;
  for (;;) {
    std::string name(kEpsNameLength, ' ');
    termInput().ask("Enter file name for EPS file (1-8chars. no extension) ", name);
    if (trimRight(name).empty() || name.find('.') != std::string::npos) continue;
    const std::size_t blank = name.find(' ');
    const std::string stem = blank == std::string::npos || blank == 0 ? name : name.substr(0, blank);
    hardcopyFileName_ = stem + ".EPS";
    if (!fileExists(hardcopyFileName_)) return;
    if (askLetter("File exists, overwrite? (Y,<N>)", 0) == 'Y') return;
  }
}

// The file is written under a temporary name and gets its own name only when
// it is complete.
void PlotLayer::openHardcopyFile() {
  int unit = kFirstHardcopyUnit;
  FindFreeUnit(unit);
  const std::string path = partialName(hardcopyFileName_);
  if (unitTable().open(unit, path, "w") != 0) ioErrorReport(unit, "cannot create the hardcopy file", path);
  hardcopyUnit_ = unit;
}

void PlotLayer::writeHardcopyLine(std::string_view line) {
  unitTable().writeLine(hardcopyUnit_, line);
  if (std::ferror(unitTable().file(hardcopyUnit_))) ioErrorReport(hardcopyUnit_, "write failed on the hardcopy file");
}

// Header, the plot file's lines (trailing blanks removed, an all-blank line
// kept as one blank; lines of any length are copied whole), page trailer.
void PlotLayer::writeHardcopy() {
  const HardcopyLanguage language(hardcopyOption_);
  for (const std::string& line : language.fileHeader(pageCount_, epsTitle_)) writeHardcopyLine(line);
  std::FILE* plotFile = unitTable().file(plotUnit_);
  if (std::fflush(plotFile) != 0) ioErrorReport(plotUnit_, "write failed on the plot file");
  std::rewind(plotFile);
  std::string line;
  for (;;) {
    const int status = unitTable().readLine(plotUnit_, line);
    if (status == -1) break;
    if (status != 0) ioErrorReport(plotUnit_, "read failed on the plot file");
    const std::string_view kept = trimRight(line);
    writeHardcopyLine(kept.empty() ? std::string_view(" ") : kept);
  }
  for (const std::string& trailerLine : language.pageTrailer()) writeHardcopyLine(trailerLine);
}

void PlotLayer::finishHardcopyFile(bool withTrailer) {
  if (hardcopyUnit_ == 0) return;
  if (withTrailer) writeHardcopyLine(HardcopyLanguage::fileTrailer());
  std::FILE* file = unitTable().file(hardcopyUnit_);
  if (std::fflush(file) != 0 || std::ferror(file)) ioErrorReport(hardcopyUnit_, "write failed on the hardcopy file");
  const std::string path = unitTable().name(hardcopyUnit_);
  unitTable().close(hardcopyUnit_);
  hardcopyUnit_ = 0;
  if (std::rename(path.c_str(), hardcopyFileName_.c_str()) != 0)
    ioErrorReport(0, "cannot rename the hardcopy file to " + hardcopyFileName_, path);
}

void PlotLayer::removePlotFile() {
  unitTable().close(plotUnit_);
  plotUnit_ = 0;
  std::remove(kPlotFileName);
}

// A plot still open is ended without hardcopy; the screen is closed; the
// printer files get their trailer and, like the LaserJet file, their name.
void PlotLayer::close() {
  if (plotOpen_) {
    plotOpen_ = false;
    if (plotUnit_ != 0) removePlotFile();
  }
  if (screenOpen_) {
    screen_->close();
    screenOpen_ = false;
  }
  if (hardcopyUnit_ != 0) finishHardcopyFile(isPostScript(hardcopyOption_));
}
