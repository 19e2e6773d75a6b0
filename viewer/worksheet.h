// What a copied, saved or printed table is made of, as far as it does not
// depend on the target: its title for the view shown, where it lands on a
// page, and the black-and-white fills that stand in for the colours.
// Portable; the drawing itself goes through the kit's painter.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kit/appearance.h"
#include "kit/control.h"

#include "kit/color.h"
#include "kit/geometry.h"
#include "viewer/matter_state.h"
#include "viewer/property_values.h"
#include "viewer/tile_table.h"

namespace viewer {

// "Периодична система на химичните елементи", followed by what is shown:
// ": електроотрицателност" for a property, ": агрегатно състояние при 25 °C"
// for the states (`states_celsius`); nothing more for the categories.
std::wstring WorksheetTitle(std::optional<Property> property, std::optional<int> states_celsius);
// "Радиус на атома" -> "радиус на атома", for a caption inside a sentence.
std::wstring LowerFirst(std::wstring_view text);

// The largest rectangle of `width` by `height`'s proportions that fits
// `area`, centred in it; in the units of `area`.
kit::Rect FitInside(int width, int height, const kit::Rect& area);

// The picture's content (`width` by `height`) with a white margin on every
// side of `margin_percent` of the larger side, rounded up.
kit::Rect WithMargin(int width, int height, int margin_percent, int* outer_width, int* outer_height);

// The fills a black-and-white printer keeps apart, shown instead of the
// colours while the form is set for black and white.
using PrintFill = kit::Monochrome;
using kit::Hatch;

// Each category its own fill: white, a light grey and six hatchings.
PrintFill CategoryPrintFill(Category category);
// A place on a property's scale (0 lowest to 1 highest) in five grey steps
// that darken with the value, every other one hatched so that neighbours
// stay apart; a missing value is white with crossing diagonals.
PrintFill ScalePrintFill(std::optional<double> position);
// The states: solid dark grey, liquid light grey with waves of horizontal
// lines, gas white, and no data as a missing value on a scale.
PrintFill StatePrintFill(MatterState state);

// What the picture shows: the title above the table, the controls of the
// table and its legend as the window shows them (in z-order), and captions
// that stand in for controls that only work in the window.
struct SheetText {
  kit::Rect bounds;   // twips, in the form
  std::wstring text;
  kit::Font font;
};
struct SheetContent {
  std::wstring title;
  std::vector<const kit::Control*> controls;
  std::vector<SheetText> texts;
  kit::Color surface = 0;   // the window's colour, which outlines in it hide
  std::wstring clipboard_text;   // copied beside the picture, when there is some
};

// The picture laid out `width` pixels wide: the content at the scale
// (`dpi`) that fills the width inside a white margin of at least 2 %, on white, its
// text outside the tiles black and the swatches outlined.
struct Sheet {
  int width = 0, height = 0;
  int dpi = 0;
  std::vector<kit::Appearance> items;   // in painting order
};
Sheet LayOutSheet(const SheetContent& content, int width);
// Every item `dx` pixels to the right and `dy` down.
void MoveSheet(Sheet& sheet, int dx, int dy);

// The worksheet's picture on paper: 3508 pixels (A4 landscape at 300 DPI).
constexpr int kSheetWidth = 3508;
constexpr int kSheetDpi = 300;

// Copying, saving and printing the picture; the Win32 program provides it.
class SheetOutput {
 public:
  virtual ~SheetOutput() = default;
  virtual void Copy(const SheetContent& content) = 0;
  virtual void Save(const SheetContent& content) = 0;
  virtual void Print(const SheetContent& content) = 0;
  // Several pages as one set (a quiz and its answers, tables given out
  // together): saved under one chosen name, a file a page ("Тест.png",
  // "Тест-2.png"...: PageFileName), and printed as one job, a page each.
  virtual void SavePages(const std::vector<SheetContent>& pages) = 0;
  virtual void PrintPages(const std::vector<SheetContent>& pages) = 0;
  // Ctrl+C, Ctrl+S or Ctrl+P (`letter`): the picture `content` makes,
  // copied, saved or printed; whether the letter was one of them.
  bool Shortcut(wchar_t letter, const std::function<SheetContent()>& content);
};

}  // namespace viewer
