// What the painter draws, worked out without a device: the lines of a
// hatching, a circle's box, where a label's text goes, the size a caption
// is shrunk to, where the runs of a scripted caption stand, the face that
// stands in for a missing one and the rows of the folder list. The backend
// measures text and draws; every choice between two ways is made here.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kit/appearance.h"
#include "kit/scripted.h"

namespace kit {

// ---- shapes
struct Segment {
  Point from, to;
  friend bool operator==(const Segment&, const Segment&) = default;
};
// Black lines `step` pixels apart over `r`, on a grid fixed to the device's
// coordinates so that neighbouring fills of one hatching line up. The
// diagonals reach a pixel past the box, which the painter clips to.
std::vector<Segment> HatchSegments(const PixelBox& r, Hatch hatch, int step);
// The pen of those lines.
inline int HatchPenWidth(int step) { return step / 6 > 1 ? step / 6 : 1; }
// A circle fits the smaller side of its box and stands centred in it.
PixelBox CircleBox(const PixelBox& r);

// ---- labels
// The frame of a label with a border: a pixel wide in a window; a picture
// at a finer scale asks for a wider one (pen_width).
int FrameWidth(const Appearance& label);
// Some faces ink a pixel past the last glyph's advance (Wine's Tahoma does);
// flush right against an edge without a frame that column would be cut off,
// so such text ends this many pixels short of the edge and may ink the
// label's last column, but nothing outside it.
int InkPastEdge(bool border, Align alignment);
// Where a label's caption is set within `rc`, the label's own pixels.
PixelBox TextArea(const Appearance& label, const PixelBox& rc);
// Whether a caption that would not fit its label's width is shrunk: at any
// scale but 96 DPI (a face's widths need not follow the layout's), and
// always in a picture (`in_picture`); a wrapped caption never.
bool ShrinksToFit(const Appearance& label, int dpi, bool in_picture);
// `points`, or where `width_at(points)` (the text's width in pixels) is over
// `width`, the largest size in quarter points that fits: from the size the
// widths' ratio gives, down a quarter at a time while it still does not.
double FittingPoints(double points, int width, const std::function<int(double points)>& width_at);

// ---- scripted captions
// One run of a scripted caption placed on one line, as DrawText sets a line.
struct PlacedRun {
  std::size_t begin = 0, end = 0;
  bool small = false;   // in the smaller size
  int x = 0;            // its left edge
  int baseline = 0;     // its baseline
  friend bool operator==(const PlacedRun&, const PlacedRun&) = default;
};
// `widths` are the runs' measured widths; `ascent` and `height` the base
// font's. Aligned as the label asks within `box`; a wrapped label's line
// stands at the top, another's is centred upright.
std::vector<PlacedRun> PlaceRuns(const std::vector<ScriptRun>& runs, const std::vector<int>& widths,
                                 const Appearance& label, const PixelBox& box, int ascent, int height);

// ---- fonts
// The face drawn for `face`. Where a face is missing (outside Windows,
// Arial Black and Verdana usually are), the font mapper's stand-in is often
// far wider and cuts the captions; a close sibling keeps them inside their
// labels: Arial in bold for Arial Black, Tahoma (Verdana's narrower twin)
// for Verdana.
struct FaceChoice {
  std::wstring face;
  bool bold = false;
  friend bool operator==(const FaceChoice&, const FaceChoice&) = default;
};
FaceChoice StandIn(const std::wstring& face, bool bold, const std::function<bool(const std::wstring&)>& installed);
// A font's height for CreateFont: negative, the em in pixels at `dpi`.
int FontHeight(double points, int dpi);

// ---- the folder list
// Every row is this high.
constexpr int kFolderRowTwips = 240;
// One row: an open folder for the current folder and its ancestors, a
// closed one for the subfolders, each level indented a little further; the
// root shows as the drive, in lower case, the others by their last name;
// none for a line the list does not have.
struct FolderRow {
  PixelBox body, tab;     // the folder's two rectangles
  bool open = false;
  Point lid[4];           // an open folder's lid
  int text_left = 0;
  std::wstring name;
};
std::optional<FolderRow> FolderRowOf(const FolderList& list, int line, const PixelBox& row);

}  // namespace kit
