// The screen side of the graphics layer: what the layer asks of a plotting
// device. The layer only ever talks to this interface, so its hardcopy side can
// be exercised with no display and its screen calls can be watched in tests.
#pragma once

#include <memory>
#include <string_view>

class PlotScreen {
 public:
  virtual ~PlotScreen() = default;

  // Opens the device ("/XWIN", "/XSER" or any device name the library knows).
  // 0: opened; 1: the device could not be opened.
  virtual int open(std::string_view device) = 0;
  // Clears the view surface and switches off the library's page prompt.
  virtual void erase() = 0;
  // The whole view surface as viewport, the window with equal scales.
  virtual void setWindow(float xmin, float xmax, float ymin, float ymax) = 0;
  // Line style 1-5, colour index, line width in the library's units.
  virtual void setPen(int style, int colourIndex, int width) = 0;
  virtual void moveTo(float x, float y) = 0;
  virtual void drawTo(float x, float y) = 0;
  // Left-justified roman text, height in data units of y, angle in degrees.
  virtual void text(float x, float y, float height, float angle, std::string_view label) = 0;
  virtual void dot(float x, float y) = 0;
  // Waits for a key or mouse button with the cursor starting at (x, y); the
  // position and the key come back as the library reports them.
  virtual void readCursor(float& x, float& y, char& key) = 0;
  // Waits for a key or mouse button; the result is not used.
  virtual void waitForKey() = 0;
  virtual void close() = 0;
};

// The screen drawn through the plotting library's C binding.
std::unique_ptr<PlotScreen> makeLibraryScreen();
