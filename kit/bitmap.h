// A 32-bit pixel buffer with its own line and circle drawing. Picture boxes
// keep their persistent drawing in one, and the backend only blits it, so
// what is drawn is the same pixel for pixel on the host and on Windows.
#pragma once

#include <cstdint>
#include <vector>

#include "kit/color.h"

namespace kit {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, Color fill);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Pixels outside the buffer read as 0xFFFFFFFF and are not written.
  Color At(int x, int y) const;
  void Set(int x, int y, Color c);

  void Fill(Color c);
  // A one-pixel line from (x1, y1) to (x2, y2), both ends included.
  void Line(int x1, int y1, int x2, int y2, Color c);
  // A one-pixel circle outline of the given centre and radius, in pixels.
  void Circle(double cx, double cy, double radius, Color c);
  // An axis-aligned rectangle; `fill` paints the inside, else only the outline.
  void Rectangle(int x, int y, int w, int h, Color c, bool fill);

  // Pixels as 0x00BBGGRR colours, row by row from the top.
  const std::vector<Color>& Pixels() const { return pixels_; }
  int CountColor(Color c) const;

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;
};

}  // namespace kit
