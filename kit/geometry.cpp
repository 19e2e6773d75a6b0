#include "kit/geometry.h"

#include <cmath>
#include <cstdlib>

namespace kit {
namespace {
int g_dpi = 96;

// a * b / c rounded half away from zero, in 64 bits.
int MulDivRound(int a, int b, int c) {
  long long num = static_cast<long long>(a) * b;
  long long half = c / 2;
  long long q = num >= 0 ? (num + half) / c : -((-num + half) / c);
  return static_cast<int>(q);
}
}  // namespace

int Dpi() { return g_dpi; }
void SetDpi(int dpi) { g_dpi = dpi > 0 ? dpi : 96; }

int TwipsToPixels(int twips, int dpi) { return MulDivRound(twips, dpi, 1440); }
int TwipsToPixels(double twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
int PixelsToTwips(int pixels, int dpi) { return MulDivRound(pixels, 1440, dpi); }

}  // namespace kit
