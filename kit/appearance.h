// What a control looks like at this moment, in pixels and plain colours.
// It is worked out here, once for every kind, and read alike by the painter,
// by the sync that brings real windows up to date and by the accessible
// object, so none of them keeps its own idea of a place, a colour or of
// whether a control shows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"

namespace kit {

// A rectangle in pixels. Each edge is rounded on its own, so neighbours
// that share an edge in twips share it in pixels.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const PixelBox&, const PixelBox&) = default;
};
PixelBox ToPixels(const Rect& twips);
PixelBox ToPixels(const Rect& twips, int dpi);

struct Appearance {
  ControlKind kind = ControlKind::kLabel;
  // Where it lies in the window that shows it: the form's, or its picture
  // box's (inside that box's border).
  PixelBox place;
  bool shown = false;
  bool has_text = false;   // a caption or text of its own (labels, text boxes, option buttons)
  std::wstring text;
  std::vector<Script> scripts;   // one mark a character of `text`, or none

  // The style: everything but the place, the visibility and the text.
  Font font;
  Color fore = 0;   // text; a shape's outline; a line
  Color back = 0;   // background; a shape's fill
  bool border = false;
  Align alignment = Align::kLeft;
  bool transparent = false;
  bool word_wrap = false;
  std::wstring picture;   // an image's resource
  bool stretch = false;
  ShapeKind shape = ShapeKind::kRectangle;
  bool filled = false;
  Hatch hatch = Hatch::kNone;   // black lines over the fill,
  int hatch_step = 0;           // this many pixels apart
  int pen_width = 0;      // a shape's outline (0: none), a line's width
  Point from, to;         // a line's ends, pixels

  friend bool operator==(const Appearance&, const Appearance&) = default;
};

Appearance AppearanceOf(const Control& c);
// The same at `dpi` instead of the screen's (a picture, a printer).
Appearance AppearanceOf(const Control& c, int dpi);

// The ring that shows the keyboard focus on a label-button: `width` pixels
// (two at 96 DPI) just inside its edge, inside its frame if it has one, in
// black or white, whichever stands out more from the fill under it (the
// label's, or the `surface` behind a transparent one).
struct FocusRing {
  PixelBox outer;
  int width = 0;
  Color color = 0;
};
FocusRing FocusRingOf(const Appearance& label, Color surface);
// The colour a form shows under the middle of a control: its own, a filled
// shape's, or an opaque label's beneath the control.
Color SurfaceUnder(const Form& form, const Control& c);
// Whether two appearances differ only in place, visibility or text.
bool SameStyle(const Appearance& a, const Appearance& b);
// A hash of everything an appearance holds; never 0.
std::size_t LookHash(const Appearance& a);

}  // namespace kit
