// The viewer window's own colours and the look of the captions in its legend
// area, shared by every part that puts controls on the window (the category
// legend, the trend scale, the states' controls, the worksheet's extra line).
#pragma once

#include "kit/color.h"
#include "kit/control.h"
#include "kit/font.h"

namespace viewer {

// The window's title, which its messages and its worksheet files bear too.
inline constexpr wchar_t kWindowTitle[] = L"Периодична система";

inline constexpr kit::Color kBackground = kit::Rgb(0x00, 0xB5, 0xD6);
inline constexpr kit::Color kBandBlue = kit::Rgb(0x4B, 0x83, 0xC0);
inline constexpr kit::Color kWhite = kit::Rgb(0xFF, 0xFF, 0xFF);
// The windows beside the table (the chart, the atom, the molar mass, the
// solubility table, the quiz): black on white, as they print.
inline constexpr kit::Color kPaper = kit::Rgb(0xFF, 0xFF, 0xFF);
inline constexpr kit::Color kInk = kit::Rgb(0x00, 0x00, 0x00);

inline kit::Font Verdana(double points, bool bold) {
  return kit::MakeFont(L"Verdana", points, bold, kit::kCyrillicCharset);
}

// A caption of the legend area: Verdana 8.25 bold, white, on the window.
inline void StyleLegendCaption(kit::Label& label, kit::Rect bounds) {
  label.bounds = bounds;
  label.font = Verdana(8.25, true);
  label.fore_color = kWhite;
  label.transparent = true;
}

}  // namespace viewer
