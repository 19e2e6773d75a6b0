// What a copied, saved or printed table is made of, as far as it does not
// depend on the target: its title for the view shown, where it lands on a
// page, and the black-and-white fills that stand in for the colours.
// Portable; the drawing itself goes through the kit's painter.
#pragma once

#include <optional>
#include <string>

#include "kit/color.h"
#include "kit/geometry.h"
#include "viewer/property_values.h"
#include "viewer/tile_table.h"

namespace viewer {

// "Периодична система на химичните елементи", followed by what is shown:
// ": електроотрицателност" for a property, ": агрегатно състояние при 25 °C"
// for the states (`states_celsius`); nothing more for the categories.
std::wstring WorksheetTitle(std::optional<Property> property, std::optional<int> states_celsius);

// The largest rectangle of `width` by `height`'s proportions that fits
// `area`, centred in it; in the units of `area`.
kit::Rect FitInside(int width, int height, const kit::Rect& area);

// The picture's content (`width` by `height`) with a white margin on every
// side of `margin_percent` of the larger side, rounded up.
kit::Rect WithMargin(int width, int height, int margin_percent, int* outer_width, int* outer_height);

// Black lines on white that a black-and-white printer keeps apart; the six
// match the system's hatch brushes.
enum class Hatch { kNone, kHorizontal, kVertical, kForwardDiagonal, kBackwardDiagonal, kCross, kDiagonalCross };

struct PrintFill {
  kit::Color back;   // white or a grey under the lines
  Hatch hatch = Hatch::kNone;
  friend bool operator==(const PrintFill&, const PrintFill&) = default;
};

// Each category its own fill: white, a light grey and six hatchings.
PrintFill CategoryPrintFill(Category category);
// A place on a property's scale (0 lowest to 1 highest) in five grey steps
// that darken with the value, every other one hatched so that neighbours
// stay apart; a missing value is white with crossing diagonals.
PrintFill ScalePrintFill(std::optional<double> position);

}  // namespace viewer
