#include "kit/color.h"

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

}  // namespace kit
