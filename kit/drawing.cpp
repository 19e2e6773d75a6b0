#include "kit/drawing.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

namespace kit {
namespace {

// The largest multiple of `step` that is not above `v`.
int GridAtOrBelow(int v, int step) { return (v >= 0 ? v : v - step + 1) / step * step; }

}  // namespace

std::vector<Segment> HatchSegments(const PixelBox& r, Hatch hatch, int step) {
  std::vector<Segment> lines;
  if (hatch == Hatch::kNone || step <= 0) return lines;
  const bool across = hatch == Hatch::kHorizontal || hatch == Hatch::kCross;
  const bool down = hatch == Hatch::kVertical || hatch == Hatch::kCross;
  const bool rising = hatch == Hatch::kForwardDiagonal || hatch == Hatch::kDiagonalCross;
  const bool falling = hatch == Hatch::kBackwardDiagonal || hatch == Hatch::kDiagonalCross;
  if (across)
    for (int y = GridAtOrBelow(r.top, step); y < r.bottom; y += step) lines.push_back({{r.left, y}, {r.right, y}});
  if (down)
    for (int x = GridAtOrBelow(r.left, step); x < r.right; x += step) lines.push_back({{x, r.top}, {x, r.bottom}});
  // x + y constant rises to the right; x - y constant falls.
  if (rising)
    for (int c = GridAtOrBelow(r.left + r.top, step); c <= r.right + r.bottom; c += step)
      lines.push_back({{c - r.top + 1, r.top - 1}, {c - r.bottom - 1, r.bottom + 1}});
  if (falling)
    for (int c = GridAtOrBelow(r.left - r.bottom, step); c <= r.right - r.top; c += step)
      lines.push_back({{c + r.top - 1, r.top - 1}, {c + r.bottom + 1, r.bottom + 1}});
  return lines;
}

PixelBox CircleBox(const PixelBox& r) {
  const int w = r.Width(), h = r.Height(), d = std::min(w, h);
  PixelBox c;
  c.left = r.left + (w - d) / 2;
  c.top = r.top + (h - d) / 2;
  c.right = c.left + d;
  c.bottom = c.top + d;
  return c;
}

int FrameWidth(const Appearance& label) { return label.border ? std::max(1, label.pen_width) : 0; }

int InkPastEdge(bool border, Align alignment) { return !border && alignment == Align::kRight ? 1 : 0; }

PixelBox TextArea(const Appearance& label, const PixelBox& rc) {
  const int frame = FrameWidth(label);
  PixelBox text{rc.left + frame, rc.top + frame, rc.right - frame, rc.bottom - frame};
  text.right -= InkPastEdge(label.border, label.alignment);
  return text;
}

bool ShrinksToFit(const Appearance& label, int dpi, bool in_picture) {
  return (in_picture || dpi != 96) && !label.word_wrap;
}

double FittingPoints(double points, int width, const std::function<int(double points)>& width_at) {
  const int wide = width_at(points);
  if (wide <= width || wide <= 0 || width <= 0) return points;
  points = std::floor(points * width / wide * 4) / 4;
  while (points > 1 && width_at(points) > width) points -= 0.25;
  return points;
}

std::vector<PlacedRun> PlaceRuns(const std::vector<ScriptRun>& runs, const std::vector<int>& widths,
                                 const Appearance& label, const PixelBox& box, int ascent, int height) {
  int total = 0;
  for (int w : widths) total += w;
  int x = label.alignment == Align::kLeft    ? box.left
          : label.alignment == Align::kRight ? box.right - total
                                             : (box.left + box.right - total) / 2;
  const int top = label.word_wrap ? box.top : (box.top + box.bottom - height) / 2;
  const int baseline = top + ascent;
  std::vector<PlacedRun> placed;
  for (std::size_t i = 0; i < runs.size() && i < widths.size(); ++i) {
    const ScriptRun& r = runs[i];
    const double shift = r.script == Script::kSuper ? kSuperRise : r.script == Script::kSub ? kSubDrop : 0;
    placed.push_back({r.begin, r.end, r.script != Script::kBase, x,
                      baseline - static_cast<int>(std::lround(ascent * shift))});
    x += widths[i];
  }
  return placed;
}

FaceChoice StandIn(const std::wstring& face, bool bold, const std::function<bool(const std::wstring&)>& installed) {
  if (face == L"Arial Black" && !installed(face)) return {L"Arial", true};
  if (face == L"Verdana" && !installed(face) && installed(L"Tahoma")) return {L"Tahoma", bold};
  return {face, bold};
}

int FontHeight(double points, int dpi) { return -static_cast<int>(points * dpi / 72.0 + 0.5); }

std::optional<FolderRow> FolderRowOf(const FolderList& list, int line, const PixelBox& row) {
  const std::vector<std::wstring> lines = list.Lines();
  if (line < 0 || line >= static_cast<int>(lines.size())) return std::nullopt;
  FolderRow out;
  const int x = row.left + 2 + list.Indent(line) * TwipsToPixels(150);
  const int gw = TwipsToPixels(210), gh = TwipsToPixels(150);
  const int gy = row.top + (row.Height() - gh) / 2;
  out.body = {x, gy + 2, x + gw, gy + gh};
  out.tab = {x, gy, x + gw / 2, gy + 3};
  out.open = line <= list.CurrentLine();
  out.lid[0] = {x + 2, gy + gh};
  out.lid[1] = {x + gw / 3, gy + 5};
  out.lid[2] = {x + gw + 2, gy + 5};
  out.lid[3] = {x + gw - 2, gy + gh};
  out.text_left = x + gw + 4;
  out.name = lines[static_cast<std::size_t>(line)];
  if (line == 0) {
    for (auto& ch : out.name) ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
  } else if (std::size_t slash = out.name.find_last_of(L'\\'); slash != std::wstring::npos) {
    out.name = out.name.substr(slash + 1);
  }
  return out;
}

}  // namespace kit
