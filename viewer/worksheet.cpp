#include "viewer/worksheet.h"

#include <algorithm>
#include <cmath>

namespace viewer {

std::wstring WorksheetTitle(std::optional<Property> property, std::optional<int> states_celsius) {
  std::wstring title = L"Периодична система на химичните елементи";
  if (states_celsius) return title + L": агрегатно състояние при " + std::to_wstring(*states_celsius) + L" °C";
  if (!property) return title;
  std::wstring name(CaptionOf(*property));
  // Cyrillic capitals lie at U+0410..U+042F, their small letters 0x20 above.
  if (!name.empty() && name[0] >= L'\u0410' && name[0] <= L'\u042F') name[0] = static_cast<wchar_t>(name[0] + 0x20);
  return title + L": " + name;
}

kit::Rect FitInside(int width, int height, const kit::Rect& area) {
  if (width <= 0 || height <= 0 || area.width <= 0 || area.height <= 0) return {area.left, area.top, 0, 0};
  const double scale = std::min(static_cast<double>(area.width) / width, static_cast<double>(area.height) / height);
  const int w = std::min(area.width, static_cast<int>(std::lround(width * scale)));
  const int h = std::min(area.height, static_cast<int>(std::lround(height * scale)));
  return {area.left + (area.width - w) / 2, area.top + (area.height - h) / 2, w, h};
}

kit::Rect WithMargin(int width, int height, int margin_percent, int* outer_width, int* outer_height) {
  const int margin = (std::max(width, height) * margin_percent + 99) / 100;
  *outer_width = width + 2 * margin;
  *outer_height = height + 2 * margin;
  return {margin, margin, width, height};
}

PrintFill CategoryPrintFill(Category category) {
  constexpr kit::Color kWhite = kit::Rgb(0xFF, 0xFF, 0xFF);
  switch (category) {
    case Category::kAlkaliMetal: return {kWhite, Hatch::kForwardDiagonal};
    case Category::kAlkalineEarthMetal: return {kWhite, Hatch::kBackwardDiagonal};
    case Category::kLanthanide: return {kWhite, Hatch::kHorizontal};
    case Category::kActinide: return {kWhite, Hatch::kVertical};
    case Category::kTransitionMetal: return {kit::Rgb(0xD9, 0xD9, 0xD9), Hatch::kNone};
    case Category::kOtherMetal: return {kWhite, Hatch::kCross};
    case Category::kNonmetal: return {kWhite, Hatch::kNone};
    case Category::kNobleGas: return {kWhite, Hatch::kDiagonalCross};
  }
  return {kWhite, Hatch::kNone};
}

PrintFill ScalePrintFill(std::optional<double> position) {
  if (!position) return {kit::Rgb(0xFF, 0xFF, 0xFF), Hatch::kDiagonalCross};
  // Lightest for the lowest values; the darkest step still leaves a black
  // symbol above 4.5:1.
  static constexpr int kGreys[] = {0xFF, 0xE6, 0xCC, 0xB3, 0x99};
  const int step = std::clamp(static_cast<int>(*position * 5), 0, 4);
  return {kit::Rgb(kGreys[step], kGreys[step], kGreys[step]), step % 2 ? Hatch::kHorizontal : Hatch::kNone};
}

}  // namespace viewer
