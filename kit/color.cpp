#include "kit/color.h"

#include <algorithm>
#include <cmath>

namespace kit {
namespace {

// The classic Windows defaults, for tests and until the backend installs
// the live lookup.
Color DefaultSystemColor(int index) {
  switch (index) {
    case 5: return Rgb(255, 255, 255);   // window
    case 8: return Rgb(0, 0, 0);         // window text
    case 15: return Rgb(240, 240, 240);  // button face
    case 18: return Rgb(0, 0, 0);        // button text
    default: return Rgb(0, 0, 0);
  }
}

SystemColorLookup g_lookup = DefaultSystemColor;
}  // namespace

void SetSystemColorLookup(SystemColorLookup lookup) { g_lookup = lookup ? lookup : DefaultSystemColor; }

Color Resolve(Color c) {
  if (!IsSystemColor(c)) return c & 0x00FFFFFFu;
  return g_lookup(static_cast<int>(c & 0xFF)) & 0x00FFFFFFu;
}

namespace {

// sRGB channel to linear light.
double Linear(int channel) {
  double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(Color c) {
  c = Resolve(c);
  return 0.2126 * Linear(RedOf(c)) + 0.7152 * Linear(GreenOf(c)) + 0.0722 * Linear(BlueOf(c));
}

}  // namespace

double ContrastRatio(Color a, Color b) {
  double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color BlackOrWhiteOn(Color fill) {
  constexpr Color kBlack = Rgb(0, 0, 0), kWhite = Rgb(0xFF, 0xFF, 0xFF);
  return ContrastRatio(kWhite, fill) > ContrastRatio(kBlack, fill) ? kWhite : kBlack;
}

}  // namespace kit
