// Geometry of the form toolkit. Every position and size of the models is in
// twips (1440 per inch, 15 per pixel at 96 DPI), as left/top/width/height in
// the parent's client area. Pixels appear only at the edges: the backend and
// the picture box's pixel buffer.
#pragma once

#include <cstdint>

namespace kit {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool Contains(int x, int y) const {
    return x >= left && x < Right() && y >= top && y < Bottom();
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// The DPI the program runs at; 96 until the backend learns the monitor's.
int Dpi();
void SetDpi(int dpi);

// pixels = twips * dpi / 1440, rounded to the nearest pixel (halves away
// from zero, as MulDiv does), so that -45 twips is -3 pixels at 96 DPI.
int TwipsToPixels(int twips, int dpi);
inline int TwipsToPixels(int twips) { return TwipsToPixels(twips, Dpi()); }
// The same rounding for a position that is not a whole number of twips (a
// picture box's drawing).
int TwipsToPixels(double twips, int dpi);
inline int TwipsToPixels(double twips) { return TwipsToPixels(twips, Dpi()); }
// Inverse, for mouse positions reported in pixels.
int PixelsToTwips(int pixels, int dpi);
inline int PixelsToTwips(int pixels) { return PixelsToTwips(pixels, Dpi()); }

}  // namespace kit
