#include "kit/bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kit {

Bitmap::Bitmap(int width, int height, Color fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

Color Bitmap::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFFu;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Bitmap::Set(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Bitmap::Fill(Color c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void Bitmap::Line(int x1, int y1, int x2, int y2, Color c) {
  // Bresenham; both ends are drawn so that a zero-length line is one pixel.
  int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Set(x1, y1, c);
    if (x1 == x2 && y1 == y2) break;
    int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x1 += sx; }
    if (e2 <= dx) { err += dx; y1 += sy; }
  }
}

void Bitmap::Circle(double cx, double cy, double radius, Color c) {
  if (radius < 0) return;
  // Plot by angle with a step well under a pixel at the rim, so the outline
  // is closed for any radius the programs use.
  int steps = std::max(8, static_cast<int>(std::ceil(2 * 3.141592653589793 * radius * 2)));
  int last_x = INT32_MIN, last_y = INT32_MIN;
  for (int i = 0; i <= steps; ++i) {
    double a = 2 * 3.141592653589793 * i / steps;
    int x = static_cast<int>(std::lround(cx + radius * std::cos(a)));
    int y = static_cast<int>(std::lround(cy + radius * std::sin(a)));
    if (x != last_x || y != last_y) Set(x, y, c);
    last_x = x;
    last_y = y;
  }
}

void Bitmap::Rectangle(int x, int y, int w, int h, Color c, bool fill) {
  if (w <= 0 || h <= 0) return;
  if (fill) {
    for (int yy = y; yy < y + h; ++yy)
      for (int xx = x; xx < x + w; ++xx) Set(xx, yy, c);
    return;
  }
  Line(x, y, x + w - 1, y, c);
  Line(x, y + h - 1, x + w - 1, y + h - 1, c);
  Line(x, y, x, y + h - 1, c);
  Line(x + w - 1, y, x + w - 1, y + h - 1, c);
}

int Bitmap::CountColor(Color c) const {
  return static_cast<int>(std::count(pixels_.begin(), pixels_.end(), c));
}

}  // namespace kit
