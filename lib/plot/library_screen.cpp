// The screen side drawn through the plotting library's C binding, with the
// adjustments the library installed here needs (see the notes below).
#include <cpgplot.h>

#include <string>

#include "plot/plot_screen.hpp"

namespace {

// The library's standard palette for colour indices 2 to 7 (red, green, blue,
// cyan, magenta, yellow); the installed library starts with other shades, so
// they are set when the device opens and the screen shows the colours the
// programs mean. Indices 0 and 1 (background and foreground) are the device's
// own, set to white and black on the X-window screens.
struct Rgb {
  float red, green, blue;
};
constexpr Rgb kStandardPalette[8] = {
    {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 0.0f},
};

// The persistent X-window device is "/XSER" to the layer; the installed library
// knows it only by its full name.
std::string libraryDeviceName(std::string_view device) {
  std::string name(device);
  if (name == "/XSER") return "/XSERVE";
  return name;
}

class LibraryScreen final : public PlotScreen {
 public:
  int open(std::string_view device) override {
    const std::string name = libraryDeviceName(device);
    if (cpgopen(name.c_str()) <= 0) return 1;
    for (int index = 2; index <= 7; ++index) setColour(index, kStandardPalette[index]);
    if (device.substr(0, 2) == "/X") {
      cpgscr(0, 1.0f, 1.0f, 1.0f);  // white background
      cpgscr(1, 0.0f, 0.0f, 0.0f);  // black foreground
    }
    return 0;
  }

  void erase() override {
    cpgeras();
    cpgask(0);
  }

  void setWindow(float xmin, float xmax, float ymin, float ymax) override {
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
    cpgqvsz(1, &x1, &x2, &y1, &y2);
    cpgvsiz(x1, x2, y1, y2);
    cpgwnad(xmin, xmax, ymin, ymax);
  }

  void setPen(int style, int colourIndex, int width) override {
    cpgsls(style);
    cpgsci(colourIndex);
    cpgslw(width);
  }

  void moveTo(float x, float y) override {
    cpgmove(x, y);
    penX_ = x;
    penY_ = y;
  }

  // The installed library strokes at every draw and forgets the current point,
  // so only the first draw after a move would show: each segment is drawn from
  // a fresh move to the previous point.
  void drawTo(float x, float y) override {
    cpgmove(penX_, penY_);
    cpgdraw(x, y);
    penX_ = x;
    penY_ = y;
  }

  void text(float x, float y, float height, float angle, std::string_view label) override {
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
    cpgqwin(&x1, &x2, &y1, &y2);
    cpgslw(1);
    cpgscf(2);
    cpgsch(height * 72.0f / (y2 - y1));
    const std::string shown(label);
    cpgptxt(x, y, angle, 0.0f, shown.c_str());
  }

  void dot(float x, float y) override { cpgpt1(x, y, 1); }

  // The installed library returns 0 where the published one returns 1; the
  // status says nothing about the key, so it is not used.
  void readCursor(float& x, float& y, char& key) override {
    key = ' ';
    cpgcurs(&x, &y, &key);
  }

  void waitForKey() override {
    float x = 0.0f, y = 0.0f;
    char key = ' ';
    cpgband(0, 0, 0.0f, 0.0f, &x, &y, &key);
  }

  void close() override { cpgclos(); }

 private:
  static void setColour(int index, const Rgb& rgb) {
    float red = 0.0f, green = 0.0f, blue = 0.0f;
    cpgqcr(index, &red, &green, &blue);
    if (red != rgb.red || green != rgb.green || blue != rgb.blue) cpgscr(index, rgb.red, rgb.green, rgb.blue);
  }

  float penX_ = 0.0f;
  float penY_ = 0.0f;
};

}  // namespace

std::unique_ptr<PlotScreen> makeLibraryScreen() { return std::make_unique<LibraryScreen>(); }
