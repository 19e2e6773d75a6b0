// Colours as the platform holds them: 0x00BBGGRR, red in the low byte.
// A value with the top bit set names a system colour by its index
// (COLOR_WINDOWTEXT and friends) and is resolved where it is drawn.
#pragma once

#include <cstdint>

namespace kit {

using Color = std::uint32_t;

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Color kSystemColorFlag = 0x80000000u;
constexpr Color SystemColor(int index) { return kSystemColorFlag | static_cast<Color>(index); }
constexpr bool IsSystemColor(Color c) { return (c & kSystemColorFlag) != 0; }

// The system colours the programs name (indexes of GetSysColor).
constexpr Color kWindowText = SystemColor(8);   // COLOR_WINDOWTEXT
constexpr Color kWindowBack = SystemColor(5);   // COLOR_WINDOW
constexpr Color kButtonFace = SystemColor(15);  // COLOR_BTNFACE
constexpr Color kButtonText = SystemColor(18);  // COLOR_BTNTEXT

// A system colour as a plain RGB value. The backend installs the live
// lookup; without it (host tests) the classic Windows defaults apply.
using SystemColorLookup = Color (*)(int index);
void SetSystemColorLookup(SystemColorLookup lookup);
Color Resolve(Color c);

// WCAG's contrast ratio of two colours (1 to 21), from their relative
// luminance in linear light.
double ContrastRatio(Color a, Color b);
// Black or white, whichever contrasts more with `fill`: at least 4.5:1
// whatever the fill. For text and marks drawn over a colour.
Color BlackOrWhiteOn(Color fill);

}  // namespace kit
