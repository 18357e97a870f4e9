// The screen side through the installed plotting library, rendered to its PNG
// device: every segment of a polyline must reach the image (the library
// forgets its current point after each draw), and the standard colours apply.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "plot/plot_screen.hpp"

namespace {

struct Image {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  const unsigned char* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

Image readPng(const std::string& path) {
  Image image;
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return image;
  png.format = PNG_FORMAT_RGB;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.rgb.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) image.width = image.height = 0;
  return image;
}

// Fraction of the pixels along a straight run (inclusive) that match.
template <typename Match>
double coverage(const Image& image, int x0, int y0, int x1, int y1, Match match) {
  const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
  int hits = 0;
  for (int i = 0; i <= steps; ++i) {
    const int x = x0 + (x1 - x0) * i / steps, y = y0 + (y1 - y0) * i / steps;
    bool found = false;
    for (int dy = -2; dy <= 2 && !found; ++dy)
      for (int dx = -2; dx <= 2 && !found; ++dx) found = match(image.at(x + dx, y + dy));
    hits += found;
  }
  return static_cast<double>(hits) / (steps + 1);
}

TEST(LibraryScreen, EverySegmentOfASquareIsDrawnInTheStandardColours) {
  const std::filesystem::path png = std::filesystem::temp_directory_path() / "telk_plot_square.png";
  std::filesystem::remove(png);
  std::unique_ptr<PlotScreen> screen = makeLibraryScreen();
  ASSERT_EQ(screen->open(png.string() + "/PNG"), 0);
  screen->erase();
  screen->setWindow(0.0f, 10.0f, 0.0f, 10.0f);
  screen->setPen(1, 1, 4);
  // Outer square in the foreground colour, inner one in index 3 (green).
  screen->moveTo(1.0f, 1.0f);
  for (auto [x, y] : {std::pair{9.0f, 1.0f}, {9.0f, 9.0f}, {1.0f, 9.0f}, {1.0f, 1.0f}}) screen->drawTo(x, y);
  screen->setPen(1, 3, 4);
  screen->moveTo(3.0f, 3.0f);
  for (auto [x, y] : {std::pair{7.0f, 3.0f}, {7.0f, 7.0f}, {3.0f, 7.0f}, {3.0f, 3.0f}}) screen->drawTo(x, y);
  screen->close();

  const Image image = readPng(png.string());
  std::filesystem::remove(png);
  ASSERT_GT(image.width, 100);
  ASSERT_GT(image.height, 100);
  // The window has equal scales and is centred: find the world-to-pixel
  // mapping from the image size as the library lays it out, then look along
  // the sides a little inside their corners.
  const int side = std::min(image.width, image.height);
  const int left = (image.width - side) / 2, top = (image.height - side) / 2;
  auto px = [&](float x) { return left + static_cast<int>(x / 10.0f * side); };
  auto py = [&](float y) { return top + static_cast<int>((10.0f - y) / 10.0f * side); };
  auto dark = [](const unsigned char* p) { return p[0] < 80 && p[1] < 80 && p[2] < 80; };
  auto green = [](const unsigned char* p) { return p[0] < 60 && p[1] > 200 && p[2] < 60; };
  struct Side {
    float x0, y0, x1, y1;
  };
  const Side outer[4] = {{1.5f, 1, 8.5f, 1}, {9, 1.5f, 9, 8.5f}, {8.5f, 9, 1.5f, 9}, {1, 8.5f, 1, 1.5f}};
  const Side inner[4] = {{3.5f, 3, 6.5f, 3}, {7, 3.5f, 7, 6.5f}, {6.5f, 7, 3.5f, 7}, {3, 6.5f, 3, 3.5f}};
  for (int i = 0; i < 4; ++i) {
    const Side& o = outer[i];
    EXPECT_GT(coverage(image, px(o.x0), py(o.y0), px(o.x1), py(o.y1), dark), 0.95) << "outer side " << i + 1;
    const Side& n = inner[i];
    EXPECT_GT(coverage(image, px(n.x0), py(n.y0), px(n.x1), py(n.y1), green), 0.95) << "inner side " << i + 1;
  }
}

}  // namespace
