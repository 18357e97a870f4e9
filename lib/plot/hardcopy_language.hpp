// The hardcopy languages of the graphics layer: the command lines each drawing
// operation adds to the plot file, and the header, page and trailer lines that
// wrap a plot into an HP-GL/2, PostScript or EPS file. Pure text, no files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Hardcopy option letters as the user gives them.
enum class HardcopyOption : char {
  None = ' ',
  LaserJet = 'A',       // HP-GL/2, one file for the run
  PostScript = 'B',     // one page per plot
  Eps = 'C',            // one file per plot
  ColourPostScript = 'D',
  ColourEps = 'E',
};

bool isPostScript(HardcopyOption option);
bool isEps(HardcopyOption option);
bool hasColour(HardcopyOption option);

// Page size in device units: plotter units for HP-GL/2, tenths of a point
// before the page scaling for PostScript.
struct PageSize {
  int width;
  int height;
};
PageSize pageSizeOf(HardcopyOption option);

// Program colours 1-7 are the plotting library's colour indices 1, 2, 4, 3, 7, 6, 5.
int colourIndexOf(int programColour);

// The data window of a plot and the page it fills, each direction separately.
struct PageMapping {
  float x0 = 0.0f, y0 = 0.0f;  // window origin
  float xr = 1.0f, yr = 1.0f;  // window extent
  PageSize page{1, 1};
  // Page units, truncated toward zero; values beyond the 5-column field are
  // clamped to its range.
  int pageX(float x) const;
  int pageY(float y) const;
};

// Command lines of one hardcopy language (HP-GL/2 for option A, PostScript
// for B to E). An empty string means the operation writes nothing.
class HardcopyLanguage {
 public:
  explicit HardcopyLanguage(HardcopyOption option) : option_(option) {}

  std::string plotStart() const;
  std::string penColour(int colourIndex) const;
  std::string penWidth(bool thick) const;
  std::string penStyle(int style) const;
  std::string move(int ix, int iy) const;
  std::string draw(int ix, int iy) const;
  std::string stroke() const;
  std::string dot() const;
  // The lines after the text's move: direction, size and label (HP-GL/2) or
  // font, rotation and string (PostScript). xr is the window's x extent.
  std::vector<std::string> text(float height, float angle, std::string_view label, float xr) const;
  std::string plotEnd() const;

  // Wrapping of one accepted plot in the hardcopy file. pageCount counts the
  // plot's page in its file (1 for the first); title is the EPS title.
  std::vector<std::string> fileHeader(int pageCount, std::string_view title) const;
  std::vector<std::string> pageTrailer() const;
  // The last line of a PostScript or EPS file.
  static std::string fileTrailer() { return "%%Trailer"; }

 private:
  bool hpgl() const { return option_ == HardcopyOption::LaserJet; }
  HardcopyOption option_;
};
