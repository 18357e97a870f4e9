// PLOTCK's figures. All arithmetic is single precision, as every digit of the
// hardcopy shows it.
#include "plotck_figures.hpp"

#include "cryst/cell_metric.hpp"        // cosDeg, sinDeg
#include "plot/plot_layer.hpp"
#include "terminal/fortran_format.hpp"  // fmtI, fmtF, padRight

namespace {

constexpr float kLabelHeight = 0.23f;
constexpr float kCursorLabelHeight = 0.18f;
constexpr int kLabelLength = 20;

// One edge label: position, angle (reading around the figure) and text.
struct EdgeLabel {
  float x, y, angle;
  const char* text;
};
constexpr EdgeLabel kEdgeLabels[4] = {
    {-4.05f, -0.75f, 90.0f, "EDGE 1"},
    {-0.75f, 4.05f, 0.0f, "EDGE 2"},
    {4.05f, 0.75f, -90.0f, "EDGE 3"},
    {0.75f, -4.05f, 180.0f, "EDGE 4"},
};

// One square of half-size s, drawn from its lower left corner up, then
// clockwise.
void drawSquare(PlotLayer& layer, float s) {
  layer.moveTo(-s, -s);
  layer.drawTo(-s, s);
  layer.drawTo(s, s);
  layer.drawTo(s, -s);
  layer.drawTo(-s, -s);
  layer.stroke();
}

}  // namespace

std::string cursorLabel(char key, float x, float y) {
  const int code = static_cast<unsigned char>(key);
  return padRight(fmtI(code, 4) + fmtF(x, 6, 3) + fmtF(y, 6, 3), kLabelLength);
}

void drawEllipses(PlotLayer& layer) {
  layer.beginPlot();
  layer.setWindow(0.0f, 10.0f, 0.0f, 7.5f);
  layer.setPen(1, 0, 1);
  int pen = 0;
  for (int a = 200; a <= 400; a += 5) {
    ++pen;
    const float c = static_cast<float>(a) / 1000.0f;
    layer.setPen(1, 0, pen);
    layer.moveTo(5.0f, (c + 0.5f) * 7.5f);
    for (int d = 1; d <= 360; ++d) {
      const float degrees = static_cast<float>(d);
      layer.drawTo((sinDeg(degrees) * c + 0.5f) * 10.0f, (cosDeg(degrees) * c + 0.5f) * 7.5f);
    }
    layer.stroke();
  }
  layer.endPlot();
}

void drawSquaresWithCursor(PlotLayer& layer) {
  layer.beginPlot();
  layer.setWindow(-7.0f, 7.0f, -5.0f, 5.0f);
  layer.setPen(1, 1, 1);
  for (const EdgeLabel& label : kEdgeLabels) layer.text(label.x, label.y, kLabelHeight, label.angle, label.text, 6);

  // 14 thick squares then 14 thin ones, shrinking by 0.1 each time.
  float s = 4.0f;
  int pen = 0;
  for (int thick : {1, 0}) {
    for (int style = 1; style <= 14; ++style) {
      ++pen;
      layer.setPen(style, thick, pen);
      drawSquare(layer, s);
      s = s - 0.1f;
    }
  }

  layer.setPen(1, 1, 1);
  const float labelX = -7.0f;
  float labelY = 5.0f;
  char key = ' ';
  while (key != 'X') {
    float x = 0.0f, y = 0.0f;
    layer.readCursor(x, y, key);
    labelY = labelY - 0.25f;
    layer.text(labelX, labelY, kCursorLabelHeight, 0.0f, cursorLabel(key, x, y), kLabelLength);
    layer.setMarker(4, 0.2f);
    layer.marker(x, y);
    layer.setMarker(0, 0.0f);
    layer.marker(x, y);
  }
  layer.endPlot();
}
